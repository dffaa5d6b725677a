// The main window's start: command line, pattern folder, registry and ZyRT's configuration file.
#include "shell/MainWindowStartup.h"

#include "platform/Registry.h"
#include "tournament/Cp1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kibic {

namespace {

// ZyRT's configuration file is a Windows-1250 text file; lines end in CR LF, LF or CR.
//   ...
//   [NAZWISKA]            the section line (any case, blanks around it, anything after it)
//   C:\ZYRT\NAZWISKA.BAZ  the names database, the whole next line
//   ...
class ConfigurationLines
{
public:
    explicit ConfigurationLines(QByteArray text)
        : m_text(std::move(text))
    {
    }

    [[nodiscard]] bool AtEnd() const { return m_position >= m_text.size(); }

    // The next line without its line end; empty at the end of the file.
    QByteArray ReadLine()
    {
        const qsizetype start = m_position;
        while (m_position < m_text.size() && m_text[m_position] != '\r' && m_text[m_position] != '\n')
            ++m_position;
        const QByteArray line = m_text.mid(start, m_position - start);
        if (m_position < m_text.size() && m_text[m_position] == '\r')
            ++m_position;
        if (m_position < m_text.size() && m_text[m_position] == '\n')
            ++m_position;
        return line;
    }

private:
    QByteArray m_text;
    qsizetype m_position = 0;
};

// Blanks and control characters off both ends, as ZyRT's own files are trimmed.
QByteArray Trimmed(const QByteArray& line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && static_cast<unsigned char>(line[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(line[end - 1]) <= ' ')
        --end;
    return line.mid(begin, end - begin);
}

bool IsExistingFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace

qint32 ProcessedColumnFromArguments(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return 0;
    bool ok = false;
    const int value = arguments.first().trimmed().toInt(&ok);
    return ok && value >= 1 && value <= 4 ? value : 0;
}

QString PreparePatternFolder(const QString& programDirectory)
{
    const QString folder = QDir(programDirectory).filePath(QStringLiteral("BMT"));
    QDir().mkpath(folder);
    return folder;
}

QString NamesDatabaseFromConfiguration(const QString& configurationPath)
{
    QFile file(configurationPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    ConfigurationLines lines(file.readAll());
    file.close();
    QString path;
    while (path.isEmpty() && !lines.AtEnd()) {
        const QString line = FromCp1250(Trimmed(lines.ReadLine())).toUpper();
        if (line.left(10) == QStringLiteral("[NAZWISKA]"))
            path = FromCp1250(lines.ReadLine());
    }
    return IsExistingFile(path) ? path : QString();
}

CompanionPaths ReadCompanionPaths()
{
    CompanionPaths paths;
    const std::optional<RegistryKey> key = RegistryKey::Open(RegistryHive::LocalMachine, GawotnikKey.toString(), false);
    if (!key)
        return paths;
    const QString configurationPath = key->ReadString(QStringLiteral("ZyRT"));
    paths.BMProPath = key->ReadString(QStringLiteral("BMPro"));
    if (!IsExistingFile(paths.BMProPath))
        paths.BMProPath.clear();
    if (!configurationPath.isEmpty())
        paths.NamesDatabasePath = NamesDatabaseFromConfiguration(configurationPath);
    return paths;
}

QString StartMainWindow(TournamentModel& model, const QStringList& arguments, const QString& programDirectory)
{
    model.ProcessedColumnNo = ProcessedColumnFromArguments(arguments);
    model.ScoringKind = 2;
    model.PollingOn = false;
    model.Busy = false;
    const QString patternFolder = PreparePatternFolder(programDirectory);
    const CompanionPaths paths = ReadCompanionPaths();
    model.NamesDatabasePath = paths.NamesDatabasePath;
    model.BMProPath = paths.BMProPath;
    model.CellClicked = true;
    return patternFolder;
}

} // namespace kibic
