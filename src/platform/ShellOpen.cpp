// Shell "open": ShellExecute on Windows, a detached process elsewhere.
#include "platform/ShellOpen.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#endif

namespace kibic {

int ShellOpenProgram(const QString& program, const QStringList& arguments)
{
    // A missing folder or program is told apart here, the same on every system: shells do not agree
    // on it (wine's, for one, calls a missing folder a missing file).
    const QFileInfo info(program);
    if (!info.absoluteDir().exists())
        return static_cast<int>(ShellResult::PathNotFound);
    if (!info.exists())
        return static_cast<int>(ShellResult::FileNotFound);
    // The program starts in its own folder, as it does from its shortcut in the Start menu, and not in
    // Kibic's: the terminal server is given the scoring database by its full path (/f:[...]), nothing
    // in its manual ties it to the folder of the scoring program that starts it, and a program started
    // elsewhere than its own folder may miss the files it keeps beside itself.
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
#ifdef Q_OS_WIN
    const QString parameters = arguments.join(QLatin1Char(' '));
    const QString native = QDir::toNativeSeparators(info.absoluteFilePath());
    const auto code = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", reinterpret_cast<LPCWSTR>(native.utf16()),
        reinterpret_cast<LPCWSTR>(parameters.utf16()), reinterpret_cast<LPCWSTR>(folder.utf16()), SW_SHOW));
    return static_cast<int>(code);
#else
    if (info.isDir() || !info.isExecutable())
        return static_cast<int>(ShellResult::AccessDenied);
    if (!QProcess::startDetached(info.absoluteFilePath(), arguments, folder))
        return static_cast<int>(ShellResult::BadFormat);
    return static_cast<int>(ShellResult::Started);
#endif
}

int ShellOpenDocument(const QString& target)
{
#ifdef Q_OS_WIN
    const auto code = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", reinterpret_cast<LPCWSTR>(target.utf16()), nullptr, nullptr, SW_SHOW));
    return static_cast<int>(code);
#elif defined(Q_OS_MACOS)
    return QProcess::startDetached(QStringLiteral("open"), {target}) ? static_cast<int>(ShellResult::Started)
                                                                     : static_cast<int>(ShellResult::FileNotFound);
#else
    return QProcess::startDetached(QStringLiteral("xdg-open"), {target}) ? static_cast<int>(ShellResult::Started)
                                                                         : static_cast<int>(ShellResult::FileNotFound);
#endif
}

} // namespace kibic
