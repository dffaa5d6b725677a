// Connections to the scoring database (or the player database): the backend is chosen by the file.
#pragma once

#include "common/KibicError.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>
#include <functional>
#include <memory>

class QSqlError;

namespace kibic {

namespace odbc {
class Connection;
} // namespace odbc

// What a database file is, by its first bytes.
enum class DatabaseFormat {
    Missing,  // no such file
    Sqlite,   // "SQLite format 3" (or an empty file, which SQLite takes as an empty database)
    Jet,      // an Access file: "Standard Jet DB" or "Standard ACE DB" at byte 4
    Unreadable, // the file exists but cannot be opened for reading (no right to it, locked, a folder)
    Unknown   // anything else
};

[[nodiscard]] DatabaseFormat DetectDatabaseFormat(const QString& path);

// How the SQL of a connection is spoken.
enum class SqlDialect { Sqlite, Access };

// A statement written in Jet SQL as the given dialect runs it: unchanged on Access; on SQLite the
// auto-numbered COUNTER becomes an INTEGER PRIMARY KEY AUTOINCREMENT.
[[nodiscard]] QString TranslateStatement(const QString& jetStatement, SqlDialect dialect);

// The backend that serves a file: SQLite directly, SQLite through ODBC (the test path of the ODBC layer),
// or an Access file through the Access ODBC driver. KIBIC_DB_BACKEND=odbc selects the second for SQLite
// files; KIBIC_DB_BACKEND=access the third for every file, through whatever driver is registered under the
// Access driver's name (on Linux the Jet stand-in of the tests), and new files are then made through that
// driver; KIBIC_DB_BACKEND=sqlite makes new files SQLite on Windows too (tests, rehearsal).
enum class DatabaseBackend { Sqlite, OdbcSqlite, OdbcAccess };

// The two Access ODBC drivers: Jet 4.0, which every Windows carries (32-bit), and ACE, which comes with
// Office or its redistributable.
inline constexpr QStringView kJetOdbcDriver = u"Microsoft Access Driver (*.mdb)";
inline constexpr QStringView kAceOdbcDriver = u"Microsoft Access Driver (*.mdb, *.accdb)";

// The Access driver to use among the installed ODBC drivers: Jet, else ACE, else empty.
[[nodiscard]] QString ChooseAccessDriver(const QStringList& installedDrivers);

// The names of the installed ODBC drivers, as the driver manager lists them (empty when it lists none).
[[nodiscard]] QStringList InstalledOdbcDrivers();

// The Access driver of this computer (ChooseAccessDriver of the installed ones); empty when there is none.
[[nodiscard]] QString AccessDriver();

// The attributes of SQLConfigDataSource that make a new Jet 4.0 file: CREATE_DBV4="path" General, ended
// by two NUL characters.
[[nodiscard]] QString AccessCreationAttributes(const QString& path);

// The ODBC connection string of an Access file: the path in braces with the system's separators (a folder
// may hold a ";"), and the Jet 4.0 SQL syntax (DEFAULT in CREATE TABLE) switched on.
[[nodiscard]] QString AccessConnectionString(const QString& driver, const QString& path);

// How long a statement waits for the other program's lock, in all, before it fails: about a second, so
// that the window never freezes for long.
inline constexpr int kBusyTimeoutMs = 1000;

// The pauses between the tries of a locked statement: short (a few milliseconds) and jittered, so that a
// writer that takes the lock again within a millisecond cannot starve the waiting side, and bounded by
// limitMs in all.
class LockRetry
{
public:
    explicit LockRetry(int limitMs = kBusyTimeoutMs, quint32 seed = 0);

    // The pause before the next try when the first try failed elapsedMs ago; -1 when the limit is spent.
    [[nodiscard]] int NextPauseMs(qint64 elapsedMs);

    static constexpr int kShortestPauseMs = 1;
    static constexpr int kLongestPauseMs = 4;

private:
    int m_limitMs;
    quint32 m_state;
};

// How long a connection leaves the write lock free between two of its transactions: longer than a
// waiting connection's longest pause, so that a writer going flat out cannot starve the other side.
inline constexpr int kLockBreathMs = LockRetry::kLongestPauseMs + 1;

// The rows of a statement just executed, read forward once. They stay valid until the same statement of
// the connection runs again; Finish releases them at once, so that the other program is never kept waiting.
class DbRows
{
public:
    virtual ~DbRows() = default;
    [[nodiscard]] virtual int ColumnCount() const = 0;
    [[nodiscard]] virtual QString ColumnName(int column) const = 0;
    // Moves to the next row; false after the last. A failure while reading raises KibicError.
    [[nodiscard]] virtual bool Next() = 0;
    [[nodiscard]] virtual QVariant Value(int column) const = 0;
    // The rows an INSERT, UPDATE or DELETE changed (-1 when the backend cannot tell).
    [[nodiscard]] virtual int RowsAffected() const = 0;
    // The new row's number after an INSERT where the backend knows it without a statement (SQLite's
    // rowid); invalid elsewhere.
    [[nodiscard]] virtual QVariant InsertedId() const { return {}; }
    virtual void Finish() = 0;
};

// A connection to a database file. Busy waits: when the other program holds the file, a statement (and
// the opening) is tried again after short pauses for about a second (kBusyTimeoutMs) before it fails.
// Through ODBC a connection the driver reports lost is opened again, once, outside a transaction.
class DbConnection
{
public:
    // Opens the file named by "Data Source=" of the connection string. A missing file, a file of an
    // unknown kind, or an Access file without the Access driver raise KibicError naming the file.
    explicit DbConnection(const QString& connectionString);
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    // Creates a new database file, which must not exist: a Jet 4.0 file through the Access driver where
    // new files are Access files (CreatesAccessFiles; no driver is an error naming the driver and the file,
    // never a SQLite file in its place), elsewhere a SQLite file. Raises KibicError with the driver's or the
    // system's text on failure.
    static void CreateDatabaseFile(const QString& path);

    [[nodiscard]] const QString& FileName() const { return m_fileName; }
    [[nodiscard]] SqlDialect Dialect() const { return m_dialect; }
    [[nodiscard]] DatabaseBackend Backend() const { return m_backend; }

    // Runs a statement without rows; values are bound in order. Returns the number of rows it changed
    // (-1 when the backend cannot tell). Raises KibicError on failure.
    int Execute(const QString& sql, const QVariantList& values = {});

    // Runs an INSERT and returns the new row's rowid (SQLite) or auto-number (Access).
    [[nodiscard]] qint64 ExecuteInsert(const QString& sql, const QVariantList& values);

    // The first column of the first row as an integer (NULL and no row read as 0).
    [[nodiscard]] qint64 ScalarInteger(const QString& sql, const QVariantList& values = {});

    // The new row's number after an INSERT: rowid on SQLite, @@IDENTITY (the last COUNTER) on Access.
    [[nodiscard]] qint64 LastInsertRowId();

    // What serves the file, for the operator: "SQLite 3.40.1", or the ODBC driver's name and version.
    [[nodiscard]] QString DriverDescription();

    // A write transaction that takes the write lock at once (so that it never deadlocks with the
    // other program) and commits at CommitTransaction. A transaction begun within kLockBreathMs of this
    // program's last commit on the file first waits out the rest of that time.
    void BeginTransaction();
    void CommitTransaction();
    void RollbackTransaction();
    [[nodiscard]] bool InTransaction() const { return m_inTransaction; }

    // A Jet statement in the form this backend runs.
    [[nodiscard]] QString Translate(const QString& jetStatement) const;

    // "[operation] file: provider text" for KibicError messages.
    [[nodiscard]] QString Failure(const QString& operation, const QString& providerText) const;

    // Executes a statement prepared once per connection (the same text again reuses it). Values are bound
    // in order, a flag as the file keeps it (Jet -1/0, SQLite 1/0). The caller reads what it needs and calls
    // Finish() on the rows at once. operation names what failed in the error's message; empty names the
    // statement itself.
    [[nodiscard]] DbRows& RunPrepared(
        const QString& sql, const QVariantList& values, const QString& operation = QString());

    // Whether waits for a busy SQLite file go through Kibic's own short, jittered retries.
    [[nodiscard]] bool HasOwnBusyHandler() const;

    // The table and query objects that use the connection now. When the last of them lets it go, a
    // transaction still open (its operation failed before the commit) is rolled back, so that a kept
    // connection never holds the other program's lock.
    void Enter() { ++m_users; }
    void Leave();

    // How many connections this program has opened so far (opened again after a lost one included): for
    // the tests and the bench, which count what a pass costs.
    [[nodiscard]] static int OpenedCount();

    class Prepared;

private:
    void Open();
    void OpenOdbc();
    void InstallBusyHandler();
    [[nodiscard]] std::shared_ptr<Prepared> PreparedFor(const QString& sql);
    [[nodiscard]] KibicError ProviderFailure(const QString& operation, const QSqlError& error) const;
    [[nodiscard]] KibicError DriverFailure(
        const QString& operation, const QList<DriverDiagnostic>& records, const QString& text) const;
    [[nodiscard]] bool Lost(const KibicError& error) const;

    QString m_fileName;
    QString m_connectionName;
    QString m_odbcDriver; // the Access driver's name, or empty
    QSqlDatabase m_database;
    std::unique_ptr<odbc::Connection> m_odbc;
    SqlDialect m_dialect = SqlDialect::Sqlite;
    DatabaseBackend m_backend = DatabaseBackend::Sqlite;
    bool m_inTransaction = false;
    int m_users = 0;
    // The busy handler's state on a SQLite handle; it lives as long as the connection.
    struct BusyWait;
    std::unique_ptr<BusyWait> m_busyWait;
    QHash<QString, std::shared_ptr<Prepared>> m_statements; // prepared statements by their text
};

// The connection of this thread to a database file: every table and query object on the file uses it
// while it is open, so an open scoring database costs one connection and not one per operation. It is
// opened at the first use and closed when its last user lets it go, unless a DatabaseHold keeps it. A file
// replaced since (built again under the same name) gets a connection of its own.
[[nodiscard]] std::shared_ptr<DbConnection> ConnectionTo(const QString& connectionString);

// Keeps the connection to one database file open while it lives: the window while its tournament is open,
// a command that watches a database for the length of its run. Nothing is opened until the file is used.
class DatabaseHold
{
public:
    explicit DatabaseHold(const QString& connectionString);
    ~DatabaseHold();
    DatabaseHold(const DatabaseHold&) = delete;
    DatabaseHold& operator=(const DatabaseHold&) = delete;

private:
    QString m_key;
};

// Whether an Access ODBC driver is installed (on Windows, where the terminal server runs).
[[nodiscard]] bool AccessDriverAvailable();

// Why an Access file cannot be read on this computer: no Access ODBC driver (names the file and the drivers).
[[nodiscard]] QString AccessFileUnreadableText(const QString& path);

// Whether new scoring databases are Access files: on Windows unless KIBIC_DB_BACKEND=sqlite, and wherever
// KIBIC_DB_BACKEND=access.
[[nodiscard]] bool CreatesAccessFiles();

// Every statement text that any connection runs, before it runs (also each try again of a locked one);
// for tests that check what reaches the database. An empty function stops the observing.
void SetStatementObserver(std::function<void(const QString& sql)> observer);

// Removes a database file with what SQLite may have left beside it (a rollback journal that would
// otherwise be played into a later file of the same name). False when the file itself stays.
[[nodiscard]] bool RemoveDatabaseFile(const QString& path);

} // namespace kibic
