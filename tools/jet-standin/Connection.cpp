// Connections of the Jet stand-in: opening the file at DBQ, transactions, and waiting out locks.
#include "ConnectionString.h"
#include "Faults.h"
#include "Handles.h"
#include "LockWait.h"
#include "Text.h"
#include "Trace.h"

#include <odbcinst.h>

#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace jetstandin {
namespace {

std::string Pid()
{
    return std::to_string(::getpid());
}

// @@IDENTITY: the last COUNTER value this connection made.
void IdentityFunction(sqlite3_context* context, int, sqlite3_value**)
{
    const auto* connection = static_cast<const Connection*>(sqlite3_user_data(context));
    sqlite3_result_int64(context, connection->LastIdentity);
}

// LEN(): every character, a NUL too (SQLite's length() stops at the first NUL).
void LenFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    const int bytes = sqlite3_value_bytes(arguments[0]);
    sqlite3_result_int64(
        context, static_cast<sqlite3_int64>(CharacterCount(std::string(text, static_cast<std::size_t>(bytes)))));
}

int JetCollation(void*, int leftBytes, const void* left, int rightBytes, const void* right)
{
    return CompareIgnoringCase(left, leftBytes, right, rightBytes);
}

bool IsSqliteFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    char header[16] = {};
    file.read(header, sizeof header);
    return file.gcount() == sizeof header && std::memcmp(header, "SQLite format 3", 16) == 0;
}

std::string ParentFolder(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool IsFolder(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0;
}

// "SQLDriverConnect (Access driver)": the file is DBQ's; a path that is not a file of this format fails
// as Jet fails it (JetErrors.cpp names each failure's source).
SQLRETURN OpenDatabase(Connection& connection, const std::string& path, bool extendedAnsiSql)
{
    if (path.empty() || path.front() == '"' || IsFolder(path))
        return connection.Fail(JetFailure::NotValidFileName);
    if (!Exists(path))
        return connection.Fail(IsFolder(ParentFolder(path)) ? JetFailure::FileNotFound : JetFailure::InvalidPath, path);
    if (!IsSqliteFile(path))
        return connection.Fail(JetFailure::UnrecognizedFormat, path);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return connection.Fail(JetFailure::DiskOrNetwork);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 0);
    sqlite3_create_function(db, "jet_identity", 0, SQLITE_UTF8, &connection, IdentityFunction, nullptr, nullptr);
    sqlite3_create_function(
        db, "jet_len", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, LenFunction, nullptr, nullptr);
    sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, JetCollation);
    connection.Db = db;
    connection.Path = path;
    connection.ExtendedAnsiSql = extendedAnsiSql;
    connection.Autocommit = true;
    connection.InTransaction = false;
    connection.Lost = false;
    connection.LastIdentity = 0;
    return SQL_SUCCESS;
}

bool FlagOn(const std::optional<std::string>& value)
{
    return value && std::strtol(value->c_str(), nullptr, 10) != 0;
}

std::string ProfileValue(const std::string& dataSource, const char* key)
{
    char buffer[4096] = {};
    SQLGetPrivateProfileString(dataSource.c_str(), key, "", buffer, sizeof buffer, "odbc.ini");
    return buffer;
}

std::string AfterColon(const char* message)
{
    const char* colon = std::strrchr(message, ':');
    std::string text = colon ? colon + 1 : message;
    while (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    return text;
}

} // namespace

SQLRETURN Connect(Connection& connection, const std::string& connectionString)
{
    const ConnectionString attributes(connectionString);
    if (Faults::Process().NextConnectRefused())
        return connection.Fail(JetFailure::PlacedInState);
    std::optional<std::string> path = attributes.Value("DBQ");
    std::optional<std::string> extended = attributes.Value("EXTENDEDANSISQL");
    if (const auto dataSource = attributes.Value("DSN"); dataSource && !path) {
        path = ProfileValue(*dataSource, "DBQ");
        if (!extended)
            extended = ProfileValue(*dataSource, "ExtendedAnsiSQL");
    }
    return OpenDatabase(connection, path.value_or(std::string()), FlagOn(extended));
}

SQLRETURN ConnectDataSource(Connection& connection, const std::string& dataSourceName)
{
    if (Faults::Process().NextConnectRefused())
        return connection.Fail(JetFailure::PlacedInState);
    const std::string path = ProfileValue(dataSourceName, "DBQ");
    if (path.empty())
        return connection.Fail(JetFailure::NoDataSource, dataSourceName);
    return OpenDatabase(connection, path, FlagOn(ProfileValue(dataSourceName, "ExtendedAnsiSQL")));
}

SQLRETURN Disconnect(Connection& connection)
{
    TraceLine({ "disconnect", Pid() });
    for (Statement* statement : std::set<Statement*>(connection.Statements))
        ReleaseStatement(*statement);
    if (connection.Db != nullptr) {
        if (connection.InTransaction)
            sqlite3_exec(connection.Db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(connection.Db);
    }
    connection.Db = nullptr;
    connection.InTransaction = false;
    connection.Lost = false;
    return SQL_SUCCESS;
}

SQLRETURN SetAutocommit(Connection& connection, bool on)
{
    TraceLine({ "autocommit", Pid(), on ? "on" : "off" });
    // "SQLSetConnectAttr": turning autocommit on commits the open transaction.
    if (on && connection.InTransaction) {
        CloseCursors(connection);
        const int rc = ExecuteWaitingForLock(connection.Db, "COMMIT");
        if (rc != SQLITE_OK)
            return FailFromSqlite(connection, connection, rc, StatementKind::Other);
        connection.InTransaction = false;
    }
    connection.Autocommit = on;
    return SQL_SUCCESS;
}

// "SQLTransact (Access Driver)": SQL_COMMIT and SQL_ROLLBACK end the transaction. "TN068": the Access
// driver's cursor commit and rollback behaviour is SQL_CB_CLOSE, so every cursor of the connection is
// closed while its prepared statements stay executable.
SQLRETURN EndTransaction(Connection& connection, bool commit)
{
    TraceLine({ "endtran", Pid(), commit ? "commit" : "rollback" });
    CloseCursors(connection);
    if (commit && Faults::Process().NextCommitFails()) {
        if (connection.InTransaction)
            sqlite3_exec(connection.Db, "ROLLBACK", nullptr, nullptr, nullptr);
        connection.InTransaction = false;
        return connection.Fail(JetFailure::DiskOrNetwork);
    }
    if (!connection.InTransaction)
        return SQL_SUCCESS;
    const int rc = commit ? ExecuteWaitingForLock(connection.Db, "COMMIT")
                          : sqlite3_exec(connection.Db, "ROLLBACK", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return FailFromSqlite(connection, connection, rc, StatementKind::Other);
    connection.InTransaction = false;
    return SQL_SUCCESS;
}

SQLRETURN BeginIfNeeded(Handle& reporter, Connection& connection)
{
    if (connection.Autocommit || connection.InTransaction)
        return SQL_SUCCESS;
    const int rc = sqlite3_exec(connection.Db, "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return FailFromSqlite(reporter, connection, rc, StatementKind::Other);
    connection.InTransaction = true;
    return SQL_SUCCESS;
}

int StepWaitingForLock(sqlite3_stmt* statement, bool injectedLock)
{
    const LockWait& wait = LockWait::Process();
    for (int attempt = 0;; ++attempt) {
        const bool injected = injectedLock && Faults::Process().InjectedLockHolds();
        const int rc = injected ? SQLITE_BUSY : sqlite3_step(statement);
        if ((rc & 0xFF) != SQLITE_BUSY && (rc & 0xFF) != SQLITE_LOCKED)
            return rc;
        sqlite3_reset(statement);
        if (attempt >= wait.Retries)
            return SQLITE_BUSY;
        std::this_thread::sleep_for(wait.Delay);
    }
}

int ExecuteWaitingForLock(sqlite3* db, const std::string& sql)
{
    const LockWait& wait = LockWait::Process();
    for (int attempt = 0;; ++attempt) {
        const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
        if ((rc & 0xFF) != SQLITE_BUSY && (rc & 0xFF) != SQLITE_LOCKED)
            return rc;
        if (attempt >= wait.Retries)
            return SQLITE_BUSY;
        std::this_thread::sleep_for(wait.Delay);
    }
}

SQLRETURN FailFromSqlite(Handle& reporter, Connection& connection, int rc, StatementKind kind)
{
    const char* message = connection.Db ? sqlite3_errmsg(connection.Db) : "";
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return reporter.Fail(JetFailure::Lock);
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
        return reporter.Fail(JetFailure::DiskOrNetwork);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return reporter.Fail(JetFailure::UnrecognizedFormat, connection.Path);
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_NOTNULL)
            return reporter.Fail(JetFailure::NullNotAllowed, AfterColon(message));
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
            return reporter.Fail(JetFailure::DuplicateKey, AfterColon(message));
        break;
    case SQLITE_ERROR:
        if (std::strncmp(message, "no such table: ", 15) == 0)
            return reporter.Fail(JetFailure::TableNotFound, message + 15);
        if (std::strncmp(message, "table ", 6) == 0 && std::strstr(message, " already exists")) {
            std::string name = message + 6;
            name.erase(name.find(" already exists"));
            if (name.size() >= 2 && name.front() == '"')
                name = name.substr(1, name.size() - 2);
            return reporter.Fail(JetFailure::TableExists, name);
        }
        if (std::strncmp(message, "no such column: ", 16) == 0)
            return reporter.Fail(JetFailure::TooFewParameters, "1");
        if (std::strstr(message, "syntax error") || std::strstr(message, "incomplete input")) {
            if (kind == StatementKind::CreateTable)
                return reporter.Fail(JetFailure::SyntaxCreateTable);
            if (kind == StatementKind::Insert)
                return reporter.Fail(JetFailure::SyntaxInsert);
            return reporter.Fail(JetFailure::SyntaxMissingOperator, message);
        }
        break;
    default:
        break;
    }
    return reporter.Fail(JetFailure::ReservedError, message);
}

void CloseCursors(Connection& connection)
{
    for (Statement* statement : connection.Statements)
        CloseCursor(*statement);
}

std::string DeclaredType(Connection& connection, const std::string& table, const std::string& column, bool* counter)
{
    const char* declared = nullptr;
    const char* collation = nullptr;
    int notNull = 0;
    int primaryKey = 0;
    int autoIncrement = 0;
    if (sqlite3_table_column_metadata(connection.Db, "main", table.c_str(), column.c_str(), &declared, &collation,
            &notNull, &primaryKey, &autoIncrement)
        != SQLITE_OK)
        return {};
    if (counter != nullptr)
        *counter = autoIncrement != 0;
    return declared ? declared : "";
}

} // namespace jetstandin
