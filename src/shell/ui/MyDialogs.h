// The program's message dialog: every message and yes/no question goes through it.
#pragma once

#include "common/DialogTypes.h"
#include "shell/MessageDialogLayout.h"

#include <QDialog>
#include <QString>
#include <array>
#include <optional>

class QLabel;
class QPushButton;

namespace kibic {

class TMyDlgForm : public QDialog
{
    Q_OBJECT

public:
    explicit TMyDlgForm(QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2; // caption "UWAGA!"
    QLabel* Label3; // caption "BŁĄD!"
    QLabel* Label4; // caption "INFO!"
    QLabel* Label5; // caption "POTWIERDŻ!"
    QPushButton* BitBtn1; // "&Tak", Yes (6)
    QPushButton* BitBtn2; // "&Nie", No (7); Esc presses it when it is shown
    QPushButton* BitBtn3; // "OK", OK (1)
    QPushButton* BitBtn4; // "&Popraw", Retry (4)
    QPushButton* BitBtn5; // "&Ignoruj", Ignore (5)

    // The five buttons in tab order.
    [[nodiscard]] std::array<QPushButton*, MessageButtonCount> Buttons() const;

    // The button that has the focus when the window opens: the first shown in tab order.
    [[nodiscard]] QPushButton* FirstShownButton() const;

    // The button that has the focus when the window opens: the one given by FocusOn when it is shown,
    // else the first shown.
    [[nodiscard]] QPushButton* OpeningFocus() const;
    void FocusOn(DialogButton button) { m_focused = button; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

public slots:
    // The close box (and Esc without "&Nie"): Cancel (2).
    void reject() override;

private:
    std::optional<DialogButton> m_focused;
};

// Makes the window for the message, with the caption and icon of kind and the buttons of the mask, laid
// out and not yet shown; focused, when it is one of them, has the focus, else the first button. The caller
// owns it.
[[nodiscard]] TMyDlgForm* BuildMessageDialog(
    const QString& text, DialogKind kind, DialogButtons buttons, std::optional<DialogButton> focused = {});

// Shows the message in the centre of the screen and returns the modal result of the button pressed
// (Cancel when the window is closed by its close box).
ModalResult ShowMessageDialog(
    const QString& text, DialogKind kind, DialogButtons buttons, std::optional<DialogButton> focused = {});

// An information with an OK button.
void ShowInfo(const QString& text);

// The caption of DialogKind 4: the application's title.
[[nodiscard]] QString ApplicationTitle();

} // namespace kibic
