// Computer name and program locations.
#include "platform/System.h"

#include <QCoreApplication>
#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace kibic {

QString ComputerName()
{
    const QString fromEnvironment = qEnvironmentVariable("KIBIC_COMPUTER_NAME");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment.left(255);
#ifdef Q_OS_WIN
    // The NetBIOS name ("ADAM-PC": upper case, at most 15 characters), which is what the terminal
    // server records in Clients; the DNS host name ("adam-pc") would make Kibic a second computer.
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (GetComputerNameW(name, &length))
        return QString::fromWCharArray(name, static_cast<qsizetype>(length));
#endif
    return QSysInfo::machineHostName().left(255);
}

QString ProgramFilesDirectory()
{
    return qEnvironmentVariable("ProgramFiles");
}

QString RehearsalTerminalServerPath()
{
    QString name = QStringLiteral("kibic-terminals");
#ifdef Q_OS_WIN
    name += QStringLiteral(".exe");
#endif
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}

} // namespace kibic
