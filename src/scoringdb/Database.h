// One connection to a scoring database (or the player database): the backend is chosen by the file.
#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <memory>

class QSqlQuery;

namespace kibic {

// What a database file is, by its first bytes.
enum class DatabaseFormat {
    Missing,  // no such file
    Sqlite,   // "SQLite format 3" (or an empty file, which SQLite takes as an empty database)
    Jet,      // an Access file: "Standard Jet DB" or "Standard ACE DB" at byte 4
    Unknown   // anything else
};

[[nodiscard]] DatabaseFormat DetectDatabaseFormat(const QString& path);

// How the SQL of a connection is spoken.
enum class SqlDialect { Sqlite, Access };

// The backend that serves a file: SQLite directly, SQLite through ODBC (the test path that exercises the
// ODBC code), or an Access file through the Access ODBC driver. KIBIC_DB_BACKEND=odbc selects the second
// for SQLite files.
enum class DatabaseBackend { Sqlite, OdbcSqlite, OdbcAccess };

// An open connection for one operation. Closing (or destroying) it releases the file. Busy waits: when
// the other program holds the file, a statement waits up to the busy timeout before it fails.
class DbConnection
{
public:
    // Opens the file named by "Data Source=" of the connection string. A missing file, a file of an
    // unknown kind, or an Access file without the Access driver raise KibicError naming the file.
    explicit DbConnection(const QString& connectionString);
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    // Creates a new SQLite file (or, where the Access driver exists, an Access file). The file must not
    // exist. Raises KibicError with the provider's text on failure.
    static void CreateDatabaseFile(const QString& path);

    [[nodiscard]] QSqlDatabase& Database() { return m_database; }
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

    // The new row's rowid after an INSERT (SQLite dialect).
    [[nodiscard]] qint64 LastInsertRowId();

    // A write transaction that takes the write lock at once (so that it never deadlocks with the
    // other program) and commits at CommitTransaction.
    void BeginTransaction();
    void CommitTransaction();
    void RollbackTransaction();
    [[nodiscard]] bool InTransaction() const { return m_inTransaction; }

    // A Jet statement in the form this backend runs.
    [[nodiscard]] QString Translate(const QString& jetStatement) const;

    // "[operation] file: provider text" for KibicError messages.
    [[nodiscard]] QString Failure(const QString& operation, const QString& providerText) const;

    // Prepares and executes a query, raising KibicError naming the file on failure.
    void Run(QSqlQuery& query, const QString& sql, const QVariantList& values, const QString& operation);

    // Executes a statement prepared once per connection (the same text again reuses it). The caller
    // reads what it needs and calls finish() on the result at once, so that no statement stays active
    // between operations and the other program is never kept waiting. operation names what failed in
    // the error's message; empty names the statement itself.
    [[nodiscard]] QSqlQuery& RunPrepared(
        const QString& sql, const QVariantList& values, const QString& operation = QString());

private:
    QString m_fileName;
    QString m_connectionName;
    QSqlDatabase m_database;
    SqlDialect m_dialect = SqlDialect::Sqlite;
    DatabaseBackend m_backend = DatabaseBackend::Sqlite;
    bool m_inTransaction = false;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_statements; // prepared statements by their text
};

// Whether the Access ODBC driver is installed (on Windows, where the terminal server runs).
[[nodiscard]] bool AccessDriverAvailable();

// Removes a database file with what SQLite may have left beside it (a rollback journal that would
// otherwise be played into a later file of the same name). False when the file itself stays.
[[nodiscard]] bool RemoveDatabaseFile(const QString& path);

// How long a statement waits for the other program's lock before it fails.
inline constexpr int kBusyTimeoutMs = 10000;

} // namespace kibic
