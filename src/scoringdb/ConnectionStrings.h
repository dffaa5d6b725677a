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

// The connection strings handed to ADOX and ADO, whose provider parses them: the creation form with the
// Jet 4.0 file format asked for ("Jet OLEDB:Engine Type=5", the Jet provider's JET_ENGINETYPE_JET4X) and
// the statement form, each with the path as an OLE DB value (OleDbPathValue).
[[nodiscard]] QString AdoxCreationConnectionString(const QString& path);
[[nodiscard]] QString AdoStatementConnectionString(const QString& path);

// A path as a value of an OLE DB connection string: with the system's separators, and in double quotes
// when it holds a ";" or begins or ends with a space or a quote, which the provider would otherwise take
// for the value's end or trim (a Windows path never holds a double quote).
[[nodiscard]] QString OleDbPathValue(const QString& path);

// The path after "Data Source=" in any of the three forms above, whatever characters the path holds.
[[nodiscard]] QString DataSourceOf(const QString& connectionString);

} // namespace kibic
