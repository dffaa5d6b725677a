// WindowOperator: TMyDlgForm for every message, the application's override cursor for the hourglass.
#include "shell/ui/WindowOperator.h"

#include "shell/ui/MyDialogs.h"

#include <QApplication>

namespace kibic {

WindowOperator::~WindowOperator()
{
    SetBusyCursor(false);
}

ModalResult WindowOperator::ShowMessageDialog(const QString& text, DialogKind kind, DialogButtons buttons)
{
    return ShowWithFocus(text, kind, buttons, std::nullopt);
}

void WindowOperator::ShowNote(const QString& text)
{
    if (m_notePlace)
        m_notePlace(text);
    else
        ShowInfo(text);
}

ModalResult WindowOperator::Ask(Question question, const QString& text)
{
    return ShowWithFocus(text, DialogKind::Confirm, YesNoQuestion, FocusedAnswer(question));
}

ModalResult WindowOperator::ShowWithFocus(
    const QString& text, DialogKind kind, DialogButtons buttons, std::optional<DialogButton> focused)
{
    // The operator answers with the ordinary pointer even in the middle of a long action.
    struct PointerWhileAsking
    {
        explicit PointerWhileAsking(bool busy)
            : Active(busy)
        {
            if (Active)
                QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
        ~PointerWhileAsking()
        {
            if (Active)
                QApplication::restoreOverrideCursor();
        }
        PointerWhileAsking(const PointerWhileAsking&) = delete;
        PointerWhileAsking& operator=(const PointerWhileAsking&) = delete;
        bool Active;
    } pointer(m_busy);
    return kibic::ShowMessageDialog(text, kind, buttons, focused);
}

void WindowOperator::ShowError(const QString& text)
{
    ShowMessageDialog(text, DialogKind::Error, DialogButton::Ok);
}

void WindowOperator::SetBusyCursor(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace kibic
