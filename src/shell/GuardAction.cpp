// Catching a failed user action at its edge and reporting it in the standard error box.
#include "shell/GuardAction.h"

#include "common/KibicError.h"

#include <QtGlobal>
#include <exception>
#include <new>

namespace kibic {

namespace {

void Report(Operator& op, const QString& message)
{
    try {
        op.SetBusyCursor(false);
        op.ShowError(message);
    } catch (...) {
        // The error box itself failed: there is no other place to show the message.
        qWarning("%s", qUtf8Printable(message));
    }
}

} // namespace

bool GuardAction(Operator& op, const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const KibicError& error) {
        Report(op, error.Message());
    } catch (const std::bad_alloc&) {
        Report(op, QStringLiteral("Brak pamięci: działanie przerwano."));
    } catch (const std::exception& error) {
        Report(op, QStringLiteral("Błąd programu: ") + QString::fromUtf8(error.what()));
    } catch (...) {
        Report(op, QStringLiteral("Nieznany błąd: działanie przerwano."));
    }
    return false;
}

} // namespace kibic
