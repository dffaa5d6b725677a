// What the main window does when it is created: the instance number, the pattern folder and the paths
// of ZyRT's names database and of the terminal server program.
#pragma once

#include "tournament/TournamentModel.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace kibic {

// The registry key (HKEY_LOCAL_MACHINE) that names ZyRT's configuration file and BMPro.exe.
inline constexpr QStringView GawotnikKey = u"Software\\Trevik\\Gawotnik";

// The handled-mark column of this instance from the command line (arguments without the program):
// the first argument when it is a whole number 1..4, otherwise 0.
[[nodiscard]] qint32 ProcessedColumnFromArguments(const QStringList& arguments);

// The pattern folder "<programDirectory>/BMT", created with every missing parent. Its path is returned
// also when it cannot be created: the file dialogs then simply start elsewhere.
QString PreparePatternFolder(const QString& programDirectory);

// The names database named in ZyRT's configuration file: the whole line after the first line that,
// trimmed and upper-cased, starts with "[NAZWISKA]". Empty when the file cannot be read, has no such
// line, or names no existing file. The file is Windows-1250 text.
[[nodiscard]] QString NamesDatabaseFromConfiguration(const QString& configurationPath);

// The paths the model starts with, from the registry key and ZyRT's configuration file. Each is empty
// when the key, the value, the configuration file or the named file is missing.
struct CompanionPaths
{
    QString NamesDatabasePath;
    QString BMProPath;
};

[[nodiscard]] CompanionPaths ReadCompanionPaths();

// The main window's start: sets the model's start values (instance number from the arguments, scoring
// kind 2, polling off, not busy, cell click armed) and its two paths, and prepares the pattern folder
// beside the program. Returns the pattern folder, the initial folder of the pattern file dialogs.
QString StartMainWindow(TournamentModel& model, const QStringList& arguments, const QString& programDirectory);

} // namespace kibic
