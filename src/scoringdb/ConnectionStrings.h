// The connection strings of the scoring database and the player database, as the terminal server's
// platform writes them; the database layer takes the file's path from "Data Source=".
#pragma once

#include <QString>

namespace kibic {

// Creating a new file.
[[nodiscard]] QString CreationConnectionString(const QString& path);
// Running the CREATE TABLE statements.
[[nodiscard]] QString StatementConnectionString(const QString& path);
// Every later opening of a table or query (also the player database).
[[nodiscard]] QString ScoringConnectionString(const QString& path);

// The path after "Data Source=" in any of the three forms above, whatever characters the path holds.
[[nodiscard]] QString DataSourceOf(const QString& connectionString);

} // namespace kibic
