// Statements of the Jet stand-in: prepared once, executed again, read row by row.
#include "Faults.h"
#include "Handles.h"
#include "LockWait.h"
#include "Text.h"
#include "Trace.h"
#include "Values.h"

#include <cstdlib>
#include <cstring>
#include <thread>
#include <unistd.h>

namespace jetstandin {
namespace {

std::string Pid()
{
    return std::to_string(::getpid());
}

int PrepareWaitingForLock(sqlite3* db, const std::string& sql, sqlite3_stmt** out)
{
    const LockWait& wait = LockWait::Process();
    for (int attempt = 0;; ++attempt) {
        const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), out, nullptr);
        if ((rc & 0xFF) != SQLITE_BUSY && (rc & 0xFF) != SQLITE_LOCKED)
            return rc;
        if (attempt >= wait.Retries)
            return SQLITE_BUSY;
        std::this_thread::sleep_for(wait.Delay);
    }
}

void DescribeColumns(Statement& statement)
{
    statement.Columns.clear();
    sqlite3_stmt* stmt = statement.Stmt;
    const int count = sqlite3_column_count(stmt);
    int unnamed = 0;
    for (int i = 0; i < count; ++i) {
        ResultColumn column;
        column.Name = sqlite3_column_name(stmt, i) ? sqlite3_column_name(stmt, i) : "";
        // Jet names an expression without an alias Expr1000, Expr1001, ... (Access SQL: "the field
        // name ExprN").
        if (sqlite3_column_origin_name(stmt, i) == nullptr && column.Name.find_first_of("( ") != std::string::npos)
            column.Name = "Expr" + std::to_string(1000 + unnamed++);
        const char* table = sqlite3_column_table_name(stmt, i);
        const char* origin = sqlite3_column_origin_name(stmt, i);
        const char* declared = sqlite3_column_decltype(stmt, i);
        column.Table = table ? table : "";
        column.BaseName = origin ? origin : "";
        if (declared != nullptr) {
            bool counter = false;
            if (table != nullptr && origin != nullptr && DeclaredType(*statement.Conn, table, origin, &counter).empty())
                counter = false;
            column.Type = DescribeDeclaredType(declared, counter);
        } else {
            column.Type = DescribeValueType(SQLITE_NULL);
        }
        if (column.Type.SqlType == SQL_TYPE_TIMESTAMP && statement.Conn->Env->OdbcVersion == SQL_OV_ODBC2)
            column.Type.SqlType = SQL_TIMESTAMP;
        statement.Columns.push_back(std::move(column));
    }
}

// A computed column takes the type of its first value, since SQLite has no declared type for it.
void DescribeComputedColumns(Statement& statement)
{
    for (std::size_t i = 0; i < statement.Columns.size(); ++i) {
        const int index = static_cast<int>(i);
        if (sqlite3_column_decltype(statement.Stmt, index) == nullptr)
            statement.Columns[i].Type = DescribeValueType(sqlite3_column_type(statement.Stmt, index));
    }
}

// Checks a text against the TEXT(n) column it is written to. "Data Truncation Detection Enabled Using
// ExtendedAnsiSQL": with the flag on, a text longer than its column is refused (22001); with it off "the
// data is truncated without warning, as it was in previous versions of the ODBC Desktop Database Drivers".
SQLRETURN FitToColumn(Statement& statement, const std::string& column, SqlValue& value)
{
    if (column.empty() || value.Kind != SqlValue::Kind::Text)
        return SQL_SUCCESS;
    const std::string& table = statement.Translated.Table;
    const std::size_t limit = TextLimit(DeclaredType(*statement.Conn, table, column));
    if (limit == 0 || CharacterCount(value.Bytes) <= limit)
        return SQL_SUCCESS;
    if (statement.Conn->ExtendedAnsiSql)
        return statement.Fail(JetFailure::FieldTooSmall, table + "." + column);
    value.Bytes = FirstCharacters(value.Bytes, limit);
    return SQL_SUCCESS;
}

int Bind(sqlite3_stmt* stmt, int index, const SqlValue& value)
{
    switch (value.Kind) {
    case SqlValue::Kind::Null:
        return sqlite3_bind_null(stmt, index);
    case SqlValue::Kind::Integer:
        return sqlite3_bind_int64(stmt, index, value.Integer);
    case SqlValue::Kind::Real:
        return sqlite3_bind_double(stmt, index, value.Real);
    case SqlValue::Kind::Text:
        return sqlite3_bind_text(
            stmt, index, value.Bytes.data(), static_cast<int>(value.Bytes.size()), SQLITE_TRANSIENT);
    case SqlValue::Kind::Blob:
        return sqlite3_bind_blob(
            stmt, index, value.Bytes.data(), static_cast<int>(value.Bytes.size()), SQLITE_TRANSIENT);
    }
    return SQLITE_MISUSE;
}

// Binds the application's parameters (the markers, in order) and the driver's own :jetlitN literals.
SQLRETURN BindParameters(Statement& statement)
{
    sqlite3_stmt* stmt = statement.Stmt;
    sqlite3_clear_bindings(stmt);
    const TranslatedStatement& translated = statement.Translated;
    const std::size_t markers = translated.ParameterColumns.size();
    std::size_t marker = 0;
    for (int index = 1; index <= sqlite3_bind_parameter_count(stmt); ++index) {
        SqlValue value;
        std::string column;
        const char* name = sqlite3_bind_parameter_name(stmt, index);
        if (name != nullptr && std::strncmp(name, ":jetlit", 7) == 0) {
            const LiteralValue& literal = translated.Literals.at(std::strtoul(name + 7, nullptr, 10));
            value = { SqlValue::Kind::Text, 0, 0, literal.Text };
            column = literal.Column;
        } else {
            const auto bound = statement.Parameters.find(static_cast<SQLUSMALLINT>(++marker));
            if (bound == statement.Parameters.end())
                return statement.Fail(JetFailure::TooFewParameters, std::to_string(markers));
            if (ReadParameter(statement, bound->second, value) != SQL_SUCCESS)
                return SQL_ERROR;
            column = marker <= markers ? translated.ParameterColumns[marker - 1] : std::string();
        }
        if (FitToColumn(statement, column, value) != SQL_SUCCESS)
            return SQL_ERROR;
        if (Bind(stmt, index, value) != SQLITE_OK)
            return FailFromSqlite(statement, *statement.Conn, sqlite3_errcode(statement.Conn->Db), translated.Kind);
    }
    return SQL_SUCCESS;
}

bool TableHasCounter(Connection& connection, const std::string& table)
{
    sqlite3_stmt* stmt = nullptr;
    bool counter = false;
    if (sqlite3_prepare_v2(connection.Db,
            "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE", -1, &stmt, nullptr)
        == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, table.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto* sql = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            counter = sql != nullptr && Upper(sql).find("AUTOINCREMENT") != std::string::npos;
        }
    }
    sqlite3_finalize(stmt);
    return counter;
}

// What a finished statement leaves: the rows it changed, the COUNTER value it made, the Yes/No
// triggers of a new table.
SQLRETURN Finish(Statement& statement)
{
    Connection& connection = *statement.Conn;
    const TranslatedStatement& translated = statement.Translated;
    statement.RowCount = translated.IsWrite() ? sqlite3_changes(connection.Db) : -1;
    if (translated.Kind == StatementKind::Insert && statement.RowCount > 0
        && TableHasCounter(connection, translated.Table))
        connection.LastIdentity = sqlite3_last_insert_rowid(connection.Db);
    if (translated.Kind == StatementKind::CreateTable && !translated.YesNoColumns.empty()) {
        const int rc = ExecuteWaitingForLock(connection.Db, YesNoTriggers(translated.Table, translated.YesNoColumns));
        if (rc != SQLITE_OK)
            return FailFromSqlite(statement, connection, rc, translated.Kind);
    }
    return SQL_SUCCESS;
}

} // namespace

Statement::~Statement()
{
    if (Stmt != nullptr)
        sqlite3_finalize(Stmt);
}

SQLRETURN Prepare(Statement& statement, const std::string& text)
{
    Connection& connection = *statement.Conn;
    if (statement.Stmt != nullptr) {
        sqlite3_finalize(statement.Stmt);
        statement.Stmt = nullptr;
    }
    statement.Columns.clear();
    statement.Executed = false;
    statement.CursorOpen = statement.RowPending = statement.OnRow = false;
    statement.RowCount = -1;
    if (connection.Lost)
        return statement.Fail(JetFailure::CommunicationLink);
    // A statement's text ends at its first NUL, as a C string does: a length that counts the
    // terminator changes nothing. (The documentation is silent on a NUL inside TextLength.)
    statement.Translated = TranslateJetSql(text.substr(0, text.find('\0')), connection.ExtendedAnsiSql);
    if (statement.Translated.Refusal)
        return statement.Fail(*statement.Translated.Refusal, statement.Translated.RefusalDetail);
    const int rc = PrepareWaitingForLock(connection.Db, statement.Translated.Sql, &statement.Stmt);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement.Stmt);
        statement.Stmt = nullptr;
        return FailFromSqlite(statement, connection, rc, statement.Translated.Kind);
    }
    if (statement.Stmt == nullptr)
        return statement.Fail(JetFailure::SyntaxMissingOperator, text);
    DescribeColumns(statement);
    return SQL_SUCCESS;
}

SQLRETURN Execute(Statement& statement)
{
    Connection& connection = *statement.Conn;
    if (connection.Lost)
        return statement.Fail(JetFailure::CommunicationLink);
    if (statement.Stmt == nullptr)
        return statement.Fail(JetFailure::FunctionSequence);
    if (statement.CursorOpen)
        return statement.Fail(JetFailure::InvalidCursorState);
    Faults& faults = Faults::Process();
    if (faults.NextExecutionLosesConnection()) {
        connection.Lost = true;
        return statement.Fail(JetFailure::CommunicationLink);
    }
    const TranslatedStatement& translated = statement.Translated;
    bool injectedLock = false;
    if (translated.IsWrite()) {
        const WriteFault fault = faults.NextWrite();
        if (fault == WriteFault::Fails)
            return statement.Fail(JetFailure::DiskOrNetwork);
        injectedLock = fault == WriteFault::Locked;
    }
    if (BeginIfNeeded(statement, connection) != SQL_SUCCESS)
        return SQL_ERROR;
    sqlite3_reset(statement.Stmt);
    if (BindParameters(statement) != SQL_SUCCESS)
        return SQL_ERROR;
    const int rc = StepWaitingForLock(statement.Stmt, injectedLock);
    statement.Executed = true;
    statement.GetDataColumn = 0;
    if (rc == SQLITE_ROW) {
        statement.CursorOpen = true;
        statement.RowPending = true;
        DescribeComputedColumns(statement);
        statement.RowCount = -1;
    } else if (rc == SQLITE_DONE) {
        statement.CursorOpen = statement.Columns.size() > 0;
        if (Finish(statement) != SQL_SUCCESS) {
            sqlite3_reset(statement.Stmt);
            return SQL_ERROR;
        }
        sqlite3_reset(statement.Stmt);
    } else {
        sqlite3_reset(statement.Stmt);
        return FailFromSqlite(statement, connection, rc, translated.Kind);
    }
    TraceLine({ "execute", Pid(), std::to_string(statement.RowCount) });
    return SQL_SUCCESS;
}

SQLRETURN Fetch(Statement& statement)
{
    if (statement.Conn->Lost)
        return statement.Fail(JetFailure::CommunicationLink);
    if (!statement.CursorOpen)
        return statement.Fail(JetFailure::InvalidCursorState);
    statement.GetDataColumn = 0;
    if (statement.RowPending) {
        statement.RowPending = false;
        statement.OnRow = true;
        return SQL_SUCCESS;
    }
    if (!statement.OnRow)
        return SQL_NO_DATA;
    const int rc = StepWaitingForLock(statement.Stmt, false);
    if (rc == SQLITE_ROW)
        return SQL_SUCCESS;
    statement.OnRow = false;
    sqlite3_reset(statement.Stmt);
    if (rc == SQLITE_DONE)
        return SQL_NO_DATA;
    return FailFromSqlite(statement, *statement.Conn, rc, statement.Translated.Kind);
}

SQLRETURN CloseCursor(Statement& statement)
{
    if (statement.Stmt != nullptr)
        sqlite3_reset(statement.Stmt);
    statement.CursorOpen = statement.RowPending = statement.OnRow = false;
    statement.GetDataColumn = 0;
    return SQL_SUCCESS;
}

void ReleaseStatement(Statement& statement)
{
    statement.Conn->Statements.erase(&statement);
    delete &statement;
}

} // namespace jetstandin
