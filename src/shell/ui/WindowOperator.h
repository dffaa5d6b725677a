// The operator of the windowed program: messages and questions through the program's message dialog.
#pragma once

#include "common/Operator.h"

#include <functional>
#include <optional>

namespace kibic {

class WindowOperator : public Operator
{
public:
    WindowOperator() = default;
    WindowOperator(const WindowOperator&) = delete;
    WindowOperator& operator=(const WindowOperator&) = delete;
    ~WindowOperator() override;

    ModalResult ShowMessageDialog(const QString& text, DialogKind kind, DialogButtons buttons) override;

    // The question in the message dialog with its answer's button in focus (FocusedAnswer).
    ModalResult Ask(Question question, const QString& text) override;

    // Kind 1, "BŁĄD!", with an OK button.
    void ShowError(const QString& text) override;

    // The hourglass over every window of the program, or back to the normal cursor.
    void SetBusyCursor(bool busy) override;

    // Through the place the main window gives (its line under the status); before it gives one, in the
    // message dialog.
    void ShowNote(const QString& text) override;
    void SetNotePlace(std::function<void(const QString&)> place) { m_notePlace = std::move(place); }

private:
    ModalResult ShowWithFocus(
        const QString& text, DialogKind kind, DialogButtons buttons, std::optional<DialogButton> focused);

    bool m_busy = false;
    std::function<void(const QString&)> m_notePlace;
};

} // namespace kibic
