// Waiting a moment for a file that another program holds.
#include "common/HeldFiles.h"

#include "common/KibicError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace kibic {

namespace {

constexpr unsigned long kHoldPauseMs = 10;

} // namespace

bool HeldByAnotherProgram(const QString& fileName)
{
#ifdef Q_OS_WIN
    const std::wstring name = QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()).toStdWString();
    const HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
#else
    Q_UNUSED(fileName);
    return false;
#endif
}

bool OpenWaitingForHold(const QString& fileName, const std::function<bool()>& open, bool& busy,
    const std::function<bool(const QString&)>& held, int limitMs)
{
    QElapsedTimer waiting;
    for (;;) {
        busy = false;
        if (open())
            return true;
        busy = held(fileName);
        if (!busy)
            return false;
        if (!waiting.isValid())
            waiting.start();
        else if (waiting.elapsed() >= limitMs)
            return false;
        QThread::msleep(kHoldPauseMs);
    }
}

KibicError FileHeldError(const QString& fileName)
{
    return KibicError(
        QStringLiteral("Plik %1 jest zajęty przez inny program (na przykład czyta go ZyRT).").arg(fileName),
        FailureKind::FileBusy, fileName);
}

} // namespace kibic
