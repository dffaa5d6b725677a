// Which way a new scoring database was made (ADOX and the Jet OLE DB provider, the Access ODBC driver's
// CREATE_DBV4, or SQLite), and what format its header gives it.
#pragma once

#include <QString>
#include <QStringList>

namespace kibic {

enum class CreationWay {
    Sqlite, // a SQLite file: off Windows, or KIBIC_DB_BACKEND=sqlite
    Adox,   // ADOX.Catalog Create, the statements through ADODB.Connection
    Odbc    // the Access ODBC driver, because ADOX.Catalog is not registered
};

struct CreationRoute
{
    CreationWay Way = CreationWay::Sqlite;
    QString AdoxAnswer; // Odbc: what asking COM for ADOX.Catalog answered
    QString Driver;     // Odbc: the Access ODBC driver that made the file
    QString Failure;    // the creation's error text; empty when the file and its tables were made
};

// The line the build shows about the file it made: "Bazę ... utworzono przez ADOX ...".
[[nodiscard]] QString CreationRouteText(const CreationRoute& route, const QString& file);

// The route of the database CreateBWS made, or tried to make, last in this program: the pre-flight check
// reports it for its scratch database after the build.
[[nodiscard]] CreationRoute LastCreationRoute();
void RememberCreationRoute(const CreationRoute& route);

// A database file's format by its header. An Access file (Jet or ACE) holds the engine's version at
// offset 0x14, as the layout of the .mdb header that MDB Tools documents gives it:
//   OFFSET SIZE  FIELD
//      0     4   magic            00 01 00 00
//      4    16   file format id   "Standard Jet DB\0" (or "Standard ACE DB\0")
//   0x14     4   version          0 Jet 3 (Access 97), 1 Jet 4 (Access 2000-2003), 2 and up ACE (.accdb)
enum class DatabaseHeader { Missing, Jet3, Jet4, Ace, Sqlite, Unknown };

struct DatabaseHeaderReading
{
    DatabaseHeader Format = DatabaseHeader::Missing;
    int VersionByte = -1; // the byte at 0x14 of an Access file, else -1
};

[[nodiscard]] DatabaseHeaderReading ReadDatabaseHeader(const QString& path);

// "Jet 4", "Jet 3", "ACE (wersja 2)", "SQLite", ...
[[nodiscard]] QString DatabaseHeaderText(const DatabaseHeaderReading& header);

// The pre-flight check's line about its scratch database file: the route that made it and the format its
// header gives, or, when the build failed, the route it took and what the build showed (the provider's or
// the driver's own answer). It passes
// when the file was made and is Jet 4 (or SQLite, which the SQLite route and the Jet stand-in of the
// tests write); a Jet 3 or ACE file is not what the creation asked for.
struct CreatedDatabaseCheck
{
    bool Passed = false;
    QString Text;
};

[[nodiscard]] CreatedDatabaseCheck CheckCreatedDatabase(
    const QString& file, bool built, const QStringList& buildMessages = {});

} // namespace kibic
