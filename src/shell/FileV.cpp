// Version numbers of the running program and the version texts of the shell's windows.
#include "shell/FileV.h"

#include "common/uNapisy.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

namespace kibic {

bool ReadVersionNumbers(quint16& major, quint16& minor, quint16& release, quint16& build)
{
    major = minor = release = build = 0;
    const std::optional<VersionNumbers> version = ProgramVersion();
    if (!version)
        return false;
    major = version->Major;
    minor = version->Minor;
    release = version->Release;
    build = version->Build;
    return true;
}

QString ExecutableName()
{
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationFilePath();
    // Before the application object exists (or in a program without one) the system still knows.
    return RunningProgramFile();
}

QString ProgramName(const QString& executablePath)
{
    QString name = executablePath;
    const qsizetype slash = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    name.remove(0, slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    return name;
}

QString SplashVersionLine(const QString& programName, const std::optional<VersionNumbers>& version)
{
    if (!version)
        return programName;
    return programName + QStringLiteral(", ") + VersionWord + QLatin1Char(' ')
        + QStringLiteral("%1.%2.%3").arg(version->Major).arg(version->Minor).arg(version->Build);
}

AboutLabels AboutLabelTexts(const QString& programName, const std::optional<VersionNumbers>& version)
{
    if (!version)
        return { programName, QString() };
    return { programName + QLatin1Char('\n') + uNapisy::Wersja
            + QStringLiteral("%1.%2").arg(version->Major).arg(version->Minor),
        uNapisy::Kompilacja + QString::number(version->Build) };
}

std::optional<VersionNumbers> RunningProgramVersion()
{
    VersionNumbers version;
    if (!ReadVersionNumbers(version.Major, version.Minor, version.Release, version.Build))
        return std::nullopt;
    return version;
}

} // namespace kibic
