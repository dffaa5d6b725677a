// The driver's environment, connection and statement handles and the diagnostics they keep.
#pragma once

#include "ColumnTypes.h"
#include "JetErrors.h"
#include "JetSql.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace jetstandin {

struct DiagRecord
{
    std::string SqlState;
    SQLINTEGER Native = 0;
    std::string Message; // UTF-8
};

struct Handle
{
    explicit Handle(SQLSMALLINT type)
        : Type(type)
    {
    }
    virtual ~Handle() = default;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    SQLSMALLINT Type;
    std::vector<DiagRecord> Diagnostics;

    // Records the failure (and traces it) and returns SQL_ERROR.
    SQLRETURN Fail(JetFailure failure, const std::string& detail = {});
    // Records a warning; the caller returns SQL_SUCCESS_WITH_INFO.
    void Warn(const char* sqlState, const std::string& text);
};

struct Connection;
struct Statement;

struct Environment : Handle
{
    Environment()
        : Handle(SQL_HANDLE_ENV)
    {
    }
    SQLINTEGER OdbcVersion = SQL_OV_ODBC3;
    std::set<Connection*> Connections;
};

struct Connection : Handle
{
    explicit Connection(Environment* environment)
        : Handle(SQL_HANDLE_DBC)
        , Env(environment)
    {
    }
    Environment* Env;
    sqlite3* Db = nullptr;
    std::string Path;
    bool ExtendedAnsiSql = false;
    bool Autocommit = true;
    bool InTransaction = false;
    bool Lost = false; // the link failed: every call fails until SQLDisconnect
    sqlite3_int64 LastIdentity = 0;
    std::set<Statement*> Statements;
    std::map<SQLINTEGER, SQLULEN> Attributes; // accepted and kept, without effect
};

struct BoundParameter
{
    SQLSMALLINT ValueType = SQL_C_DEFAULT;
    SQLSMALLINT ParameterType = SQL_VARCHAR;
    SQLULEN ColumnSize = 0;
    SQLSMALLINT DecimalDigits = 0;
    SQLPOINTER Value = nullptr;
    SQLLEN BufferLength = 0;
    SQLLEN* Indicator = nullptr;
};

struct ResultColumn
{
    std::string Name;
    std::string Table;
    std::string BaseName;
    ColumnType Type;
    bool Nullable = true;
};

struct Statement : Handle
{
    explicit Statement(Connection* connection)
        : Handle(SQL_HANDLE_STMT)
        , Conn(connection)
    {
    }
    ~Statement() override;
    Connection* Conn;
    TranslatedStatement Translated;
    sqlite3_stmt* Stmt = nullptr;
    std::map<SQLUSMALLINT, BoundParameter> Parameters;
    std::vector<ResultColumn> Columns;
    bool Executed = false;
    bool CursorOpen = false; // a SELECT's result set is open
    bool RowPending = false; // a row was stepped to and not yet fetched
    bool OnRow = false; // SQLFetch positioned on a row
    SQLLEN RowCount = -1;
    SQLUSMALLINT GetDataColumn = 0; // the column SQLGetData last read, and how far
    std::size_t GetDataOffset = 0;
    bool GetDataDone = false;
    std::map<SQLINTEGER, SQLULEN> Attributes;
};

// The handle behind an ODBC handle, or nullptr when it is not one of that type.
[[nodiscard]] Environment* AsEnvironment(SQLHANDLE handle);
[[nodiscard]] Connection* AsConnection(SQLHANDLE handle);
[[nodiscard]] Statement* AsStatement(SQLHANDLE handle);

// Connection.cpp
SQLRETURN Connect(Connection& connection, const std::string& connectionString);
SQLRETURN ConnectDataSource(Connection& connection, const std::string& dataSourceName);
SQLRETURN Disconnect(Connection& connection);
SQLRETURN SetAutocommit(Connection& connection, bool on);
SQLRETURN EndTransaction(Connection& connection, bool commit);
// Starts the transaction that autocommit off asks for, before a statement runs.
SQLRETURN BeginIfNeeded(Handle& reporter, Connection& connection);
// sqlite3_step, waiting out a locked file as Jet does (LockWait.h); injectedLock: the write met
// KIBIC_JET_LOCK_WRITE's lock.
int StepWaitingForLock(sqlite3_stmt* statement, bool injectedLock);
int ExecuteWaitingForLock(sqlite3* db, const std::string& sql);
// Reports SQLite's failure rc as Jet reports the same condition.
SQLRETURN FailFromSqlite(Handle& reporter, Connection& connection, int rc, StatementKind kind);
void CloseCursors(Connection& connection);
// The declared type of table.column as the file keeps it; empty when there is no such column.
[[nodiscard]] std::string DeclaredType(
    Connection& connection, const std::string& table, const std::string& column, bool* counter = nullptr);

// Statement.cpp
SQLRETURN Prepare(Statement& statement, const std::string& text);
SQLRETURN Execute(Statement& statement);
SQLRETURN Fetch(Statement& statement);
SQLRETURN CloseCursor(Statement& statement);
void ReleaseStatement(Statement& statement);

} // namespace jetstandin
