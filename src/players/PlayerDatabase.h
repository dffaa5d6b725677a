// The player database of Pelikar, the maker's player-database program: a separate program's file,
// found through the per-user registry value "DatabaseName", of which Kibic only reads the table players.
#pragma once

#include <QString>
#include <QtGlobal>

namespace kibic {

// The per-user registry key whose value "DatabaseName" names the player database.
inline constexpr QStringView PlayerDatabaseKey = u"\\Software\\Trevik\\Pelikar";
inline constexpr QStringView PlayerDatabaseValue = u"DatabaseName";

// The registered player database's path; empty when the key cannot be opened (it is created when
// missing) or has no "DatabaseName".
[[nodiscard]] QString PlayerDatabaseName();

// The connection string of the player database at databaseName.
[[nodiscard]] QString PlayerDatabaseConnection(const QString& databaseName);

// The table of the player database that Kibic reads.
inline constexpr QStringView PlayersTableName = u"players";

// The rows of the table players (SELECT COUNT(*)). A database or table that cannot be read raises
// KibicError.
[[nodiscard]] qint64 CountPlayers(const QString& databaseName);

// The information shown when the player database cannot be opened: "Sortel musi być zainstalowana!",
// followed, for an Access file on a computer without the Access driver, by that reason.
[[nodiscard]] QString PlayerDatabaseUnreadableText(const QString& databaseName);

// Whether identifiers can be looked up in the registered player database, as the terminal settings
// window asks before the terminals ask for them: empty when it has players; otherwise the information
// "Brak bazy .BAN/.BAI lub\nSortel nie jest zainstalowana" (nothing registered, no players, or a database
// that cannot be read), followed, for an Access file on a computer without the Access driver, by that
// reason. Never raises.
[[nodiscard]] QString PlayersMissingText();

} // namespace kibic
