// Computer name and program locations.
#include "platform/System.h"

#include <QCoreApplication>
#include <QSysInfo>

namespace kibic {

QString ComputerName()
{
    const QString fromEnvironment = qEnvironmentVariable("KIBIC_COMPUTER_NAME");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment.left(255);
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
