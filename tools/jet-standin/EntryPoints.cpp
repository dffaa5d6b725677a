// The driver's entry points, which unixODBC's driver manager calls: each ANSI function and its wide
// (W, UTF-16) form share one implementation. Every call first clears the handle's diagnostics, as
// "Diagnostic Messages" (ODBC Programmer's Reference) requires of every function but the diagnostic
// ones; the entry points call only the driver's own functions, never their exported names.
#include "DriverInfo.h"
#include "Faults.h"
#include "Handles.h"
#include "Text.h"
#include "Trace.h"
#include "Values.h"

#include <sqlucode.h>

#include <cstdint>
#include <cstring>
#include <unistd.h>

using namespace jetstandin;

namespace jetstandin {

SQLRETURN Handle::Fail(JetFailure failure, const std::string& detail)
{
    const JetErrorText& text = ErrorText(failure);
    Diagnostics.push_back({ text.SqlState, text.Native, ErrorMessage(failure, detail) });
    TraceLine({ "error", std::to_string(::getpid()), text.SqlState, std::to_string(text.Native) });
    return SQL_ERROR;
}

void Handle::Warn(const char* sqlState, const std::string& text)
{
    Diagnostics.push_back({ sqlState, 0, text });
}

Environment* AsEnvironment(SQLHANDLE handle)
{
    auto* base = static_cast<Handle*>(handle);
    return base != nullptr && base->Type == SQL_HANDLE_ENV ? static_cast<Environment*>(base) : nullptr;
}

Connection* AsConnection(SQLHANDLE handle)
{
    auto* base = static_cast<Handle*>(handle);
    return base != nullptr && base->Type == SQL_HANDLE_DBC ? static_cast<Connection*>(base) : nullptr;
}

Statement* AsStatement(SQLHANDLE handle)
{
    auto* base = static_cast<Handle*>(handle);
    return base != nullptr && base->Type == SQL_HANDLE_STMT ? static_cast<Statement*>(base) : nullptr;
}

} // namespace jetstandin

namespace {

std::string Pid()
{
    return std::to_string(::getpid());
}

std::size_t WideLength(const SQLWCHAR* text)
{
    std::size_t n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}

// An argument text: length in characters (wide) or bytes, or SQL_NTS.
std::string FromWide(const SQLWCHAR* text, SQLINTEGER length)
{
    if (text == nullptr)
        return {};
    const std::size_t count = length == SQL_NTS ? WideLength(text) : static_cast<std::size_t>(length < 0 ? 0 : length);
    return ToUtf8(reinterpret_cast<const char16_t*>(text), count);
}

std::string FromNarrow(const SQLCHAR* text, SQLINTEGER length)
{
    if (text == nullptr)
        return {};
    const auto* chars = reinterpret_cast<const char*>(text);
    return length == SQL_NTS ? std::string(chars)
                             : std::string(chars, static_cast<std::size_t>(length < 0 ? 0 : length));
}

// The connection of a statement or connection handle whose link was lost.
bool LinkLost(Connection& connection)
{
    return connection.Lost;
}

SQLRETURN AllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output)
{
    if (output == nullptr)
        return SQL_ERROR;
    *output = SQL_NULL_HANDLE;
    if (type == SQL_HANDLE_ENV) {
        *output = new Environment();
        return SQL_SUCCESS;
    }
    if (type == SQL_HANDLE_DBC) {
        Environment* environment = AsEnvironment(input);
        if (environment == nullptr)
            return SQL_INVALID_HANDLE;
        auto* connection = new Connection(environment);
        environment->Connections.insert(connection);
        *output = connection;
        return SQL_SUCCESS;
    }
    if (type == SQL_HANDLE_STMT) {
        Connection* connection = AsConnection(input);
        if (connection == nullptr)
            return SQL_INVALID_HANDLE;
        connection->Diagnostics.clear();
        if (connection->Db == nullptr)
            return connection->Fail(JetFailure::FunctionSequence);
        if (LinkLost(*connection))
            return connection->Fail(JetFailure::CommunicationLink);
        auto* statement = new Statement(connection);
        connection->Statements.insert(statement);
        *output = statement;
        return SQL_SUCCESS;
    }
    return SQL_ERROR;
}

SQLRETURN FreeHandle(SQLSMALLINT type, SQLHANDLE handle)
{
    if (type == SQL_HANDLE_ENV) {
        Environment* environment = AsEnvironment(handle);
        if (environment == nullptr)
            return SQL_INVALID_HANDLE;
        delete environment;
        return SQL_SUCCESS;
    }
    if (type == SQL_HANDLE_DBC) {
        Connection* connection = AsConnection(handle);
        if (connection == nullptr)
            return SQL_INVALID_HANDLE;
        if (connection->Db != nullptr)
            Disconnect(*connection);
        connection->Env->Connections.erase(connection);
        delete connection;
        return SQL_SUCCESS;
    }
    if (type == SQL_HANDLE_STMT) {
        Statement* statement = AsStatement(handle);
        if (statement == nullptr)
            return SQL_INVALID_HANDLE;
        ReleaseStatement(*statement);
        return SQL_SUCCESS;
    }
    return SQL_ERROR;
}

SQLRETURN DriverConnect(Connection& connection, const std::string& text, SQLINTEGER lengthAsGiven, SQLPOINTER out,
    SQLSMALLINT outCapacity, SQLSMALLINT* outLength, bool wide)
{
    connection.Diagnostics.clear();
    TraceLine({ "connect", Pid(), TraceLength(lengthAsGiven), EscapeForTrace(text) });
    if (connection.Db != nullptr)
        return connection.Fail(JetFailure::FunctionSequence);
    const SQLRETURN rc = Connect(connection, text);
    if (rc != SQL_SUCCESS)
        return rc;
    SQLLEN full = 0;
    PutText(text, wide, out, outCapacity, false, &full, false);
    if (outLength != nullptr)
        *outLength = static_cast<SQLSMALLINT>(full);
    return SQL_SUCCESS;
}

SQLRETURN SetConnectAttr(Connection& connection, SQLINTEGER attribute, SQLPOINTER value)
{
    connection.Diagnostics.clear();
    if (LinkLost(connection))
        return connection.Fail(JetFailure::CommunicationLink);
    const auto number = static_cast<SQLULEN>(reinterpret_cast<std::uintptr_t>(value));
    if (attribute == SQL_ATTR_AUTOCOMMIT)
        return SetAutocommit(connection, number == SQL_AUTOCOMMIT_ON);
    connection.Attributes[attribute] = number;
    return SQL_SUCCESS;
}

SQLRETURN GetConnectAttr(Connection& connection, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER bufferLength,
    SQLINTEGER* length, bool wide)
{
    connection.Diagnostics.clear();
    if (attribute == SQL_ATTR_CURRENT_CATALOG) {
        SQLLEN full = 0;
        PutText(connection.Path, wide, value, bufferLength, true, &full, true);
        if (length != nullptr)
            *length = static_cast<SQLINTEGER>(full);
        return SQL_SUCCESS;
    }
    SQLUINTEGER result = 0;
    switch (attribute) {
    case SQL_ATTR_AUTOCOMMIT:
        result = connection.Autocommit ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
        break;
    case SQL_ATTR_TXN_ISOLATION:
        result = SQL_TXN_READ_COMMITTED;
        break;
    case SQL_ATTR_ACCESS_MODE:
        result = SQL_MODE_READ_WRITE;
        break;
    case SQL_ATTR_CONNECTION_DEAD:
        result = (connection.Lost || connection.Db == nullptr) ? SQL_CD_TRUE : SQL_CD_FALSE;
        break;
    default: {
        const auto kept = connection.Attributes.find(attribute);
        result = kept == connection.Attributes.end() ? 0 : static_cast<SQLUINTEGER>(kept->second);
    }
    }
    if (value != nullptr)
        *static_cast<SQLUINTEGER*>(value) = result;
    if (length != nullptr)
        *length = sizeof(SQLUINTEGER);
    return SQL_SUCCESS;
}

// Entry of every statement function: diagnostics cleared, a lost link refused.
bool StatementUsable(Statement& statement, SQLRETURN& rc)
{
    statement.Diagnostics.clear();
    if (LinkLost(*statement.Conn)) {
        rc = statement.Fail(JetFailure::CommunicationLink);
        return false;
    }
    return true;
}

SQLRETURN PrepareText(Statement& statement, const std::string& text, SQLINTEGER lengthAsGiven, const char* traceVerb)
{
    TraceLine({ traceVerb, Pid(), TraceLength(lengthAsGiven), EscapeForTrace(text) });
    SQLRETURN rc = SQL_SUCCESS;
    if (!StatementUsable(statement, rc))
        return rc;
    return Prepare(statement, text);
}

SQLRETURN ExecDirectText(Statement& statement, const std::string& text, SQLINTEGER lengthAsGiven)
{
    const SQLRETURN rc = PrepareText(statement, text, lengthAsGiven, "execdirect");
    if (rc != SQL_SUCCESS)
        return rc;
    return Execute(statement);
}

std::string IndicatorText(const SQLLEN* indicator)
{
    if (indicator == nullptr)
        return "none";
    if (*indicator == SQL_NULL_DATA)
        return "null";
    if (*indicator == SQL_NTS)
        return "nts";
    return std::to_string(*indicator);
}

SQLRETURN DescribeCol(Statement& statement, SQLUSMALLINT column, SQLPOINTER name, SQLSMALLINT capacity,
    SQLSMALLINT* nameLength, SQLSMALLINT* dataType, SQLULEN* columnSize, SQLSMALLINT* digits, SQLSMALLINT* nullable,
    bool wide)
{
    SQLRETURN rc = SQL_SUCCESS;
    if (!StatementUsable(statement, rc))
        return rc;
    if (statement.Stmt == nullptr)
        return statement.Fail(JetFailure::FunctionSequence);
    if (column < 1 || column > statement.Columns.size())
        return statement.Fail(JetFailure::InvalidDescriptorIndex);
    const ResultColumn& described = statement.Columns[column - 1];
    SQLLEN full = 0;
    const bool cut = PutText(described.Name, wide, name, capacity, false, &full, false);
    if (nameLength != nullptr)
        *nameLength = static_cast<SQLSMALLINT>(full);
    if (dataType != nullptr)
        *dataType = described.Type.SqlType;
    if (columnSize != nullptr)
        *columnSize = described.Type.Size;
    if (digits != nullptr)
        *digits = described.Type.Digits;
    if (nullable != nullptr)
        *nullable = SQL_NULLABLE;
    if (cut && name != nullptr) {
        statement.Warn(
            kStringTruncatedState, "[Microsoft][Sterownik ODBC Microsoft Access] Dane ciągu, obcięcie prawostronne");
        return SQL_SUCCESS_WITH_INFO;
    }
    return SQL_SUCCESS;
}

SQLRETURN ColAttribute(Statement& statement, SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
    SQLSMALLINT bufferLength, SQLSMALLINT* length, SQLLEN* number, bool wide)
{
    SQLRETURN rc = SQL_SUCCESS;
    if (!StatementUsable(statement, rc))
        return rc;
    if (statement.Stmt == nullptr)
        return statement.Fail(JetFailure::FunctionSequence);
    if (field == SQL_DESC_COUNT || field == SQL_COLUMN_COUNT) {
        if (number != nullptr)
            *number = static_cast<SQLLEN>(statement.Columns.size());
        return SQL_SUCCESS;
    }
    if (column < 1 || column > statement.Columns.size())
        return statement.Fail(JetFailure::InvalidDescriptorIndex);
    const ResultColumn& c = statement.Columns[column - 1];
    auto putText = [&](const std::string& value) {
        SQLLEN full = 0;
        PutText(value, wide, text, bufferLength, true, &full, true);
        if (length != nullptr)
            *length = static_cast<SQLSMALLINT>(full);
        return SQL_SUCCESS;
    };
    auto putNumber = [&](SQLLEN value) {
        if (number != nullptr)
            *number = value;
        return SQL_SUCCESS;
    };
    const bool textual = c.Type.SqlType == SQL_WVARCHAR || c.Type.SqlType == SQL_WLONGVARCHAR;
    switch (field) {
    case SQL_DESC_NAME:
    case SQL_DESC_LABEL:
    case SQL_COLUMN_NAME:
        return putText(c.Name);
    case SQL_DESC_BASE_COLUMN_NAME:
        return putText(c.BaseName);
    case SQL_DESC_TABLE_NAME:
    case SQL_DESC_BASE_TABLE_NAME:
        return putText(c.Table);
    case SQL_DESC_TYPE_NAME:
    case SQL_DESC_LOCAL_TYPE_NAME:
        return putText(c.Type.TypeName);
    case SQL_DESC_CATALOG_NAME:
    case SQL_DESC_SCHEMA_NAME:
    case SQL_DESC_LITERAL_PREFIX:
    case SQL_DESC_LITERAL_SUFFIX:
        return putText(textual ? "'" : "");
    case SQL_DESC_CONCISE_TYPE:
        return putNumber(c.Type.SqlType);
    case SQL_DESC_TYPE:
        return putNumber(c.Type.SqlType == SQL_TYPE_TIMESTAMP ? SQL_DATETIME : c.Type.SqlType);
    case SQL_DESC_LENGTH:
    case SQL_DESC_PRECISION:
    case SQL_COLUMN_LENGTH:
    case SQL_COLUMN_PRECISION:
        return putNumber(static_cast<SQLLEN>(c.Type.Size));
    case SQL_DESC_OCTET_LENGTH:
        return putNumber(static_cast<SQLLEN>(textual ? c.Type.Size * 2 : c.Type.Size));
    case SQL_DESC_DISPLAY_SIZE:
        return putNumber(static_cast<SQLLEN>(c.Type.Size));
    case SQL_DESC_SCALE:
    case SQL_COLUMN_SCALE:
        return putNumber(c.Type.Digits);
    case SQL_DESC_NULLABLE:
    case SQL_COLUMN_NULLABLE:
        return putNumber(SQL_NULLABLE);
    case SQL_DESC_UNSIGNED:
        return putNumber(textual || c.Type.SqlType == SQL_BIT ? SQL_TRUE : SQL_FALSE);
    case SQL_DESC_AUTO_UNIQUE_VALUE:
        return putNumber(c.Type.TypeName == "COUNTER" ? SQL_TRUE : SQL_FALSE);
    case SQL_DESC_CASE_SENSITIVE:
        return putNumber(SQL_FALSE);
    case SQL_DESC_SEARCHABLE:
        return putNumber(textual ? SQL_PRED_SEARCHABLE : SQL_PRED_BASIC);
    case SQL_DESC_UPDATABLE:
        return putNumber(SQL_ATTR_READWRITE_UNKNOWN);
    case SQL_DESC_FIXED_PREC_SCALE:
        return putNumber(c.Type.TypeName == "CURRENCY" ? SQL_TRUE : SQL_FALSE);
    case SQL_DESC_NUM_PREC_RADIX:
        return putNumber(textual ? 0 : 10);
    case SQL_DESC_UNNAMED:
        return putNumber(c.BaseName.empty() ? SQL_UNNAMED : SQL_NAMED);
    default:
        return statement.Fail(JetFailure::InvalidAttribute);
    }
}

SQLRETURN DiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record, SQLPOINTER state, SQLINTEGER* native,
    SQLPOINTER message, SQLSMALLINT capacity, SQLSMALLINT* length, bool wide)
{
    auto* base = static_cast<Handle*>(handle);
    if (base == nullptr || base->Type != type)
        return SQL_INVALID_HANDLE;
    if (record < 1)
        return SQL_ERROR;
    if (static_cast<std::size_t>(record) > base->Diagnostics.size())
        return SQL_NO_DATA;
    const DiagRecord& diag = base->Diagnostics[static_cast<std::size_t>(record) - 1];
    PutText(diag.SqlState, wide, state, 6, false, nullptr, false);
    if (native != nullptr)
        *native = diag.Native;
    SQLLEN full = 0;
    const bool cut = PutText(diag.Message, wide, message, capacity, false, &full, false);
    if (length != nullptr)
        *length = static_cast<SQLSMALLINT>(full);
    return cut && message != nullptr ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

SQLRETURN DiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record, SQLSMALLINT field, SQLPOINTER value,
    SQLSMALLINT capacity, SQLSMALLINT* length, bool wide)
{
    auto* base = static_cast<Handle*>(handle);
    if (base == nullptr || base->Type != type)
        return SQL_INVALID_HANDLE;
    auto putText = [&](const std::string& text) {
        SQLLEN full = 0;
        PutText(text, wide, value, capacity, true, &full, true);
        if (length != nullptr)
            *length = static_cast<SQLSMALLINT>(full);
        return SQL_SUCCESS;
    };
    if (field == SQL_DIAG_NUMBER) {
        if (value != nullptr)
            *static_cast<SQLINTEGER*>(value) = static_cast<SQLINTEGER>(base->Diagnostics.size());
        return SQL_SUCCESS;
    }
    if (field == SQL_DIAG_ROW_COUNT) {
        const Statement* statement = AsStatement(handle);
        if (value != nullptr)
            *static_cast<SQLLEN*>(value) = statement ? statement->RowCount : 0;
        return SQL_SUCCESS;
    }
    if (field == SQL_DIAG_RETURNCODE || field == SQL_DIAG_CURSOR_ROW_COUNT || field == SQL_DIAG_DYNAMIC_FUNCTION_CODE)
        return SQL_ERROR;
    if (field == SQL_DIAG_DYNAMIC_FUNCTION)
        return putText("");
    if (record < 1 || static_cast<std::size_t>(record) > base->Diagnostics.size())
        return SQL_NO_DATA;
    const DiagRecord& diag = base->Diagnostics[static_cast<std::size_t>(record) - 1];
    switch (field) {
    case SQL_DIAG_SQLSTATE:
        return putText(diag.SqlState);
    case SQL_DIAG_MESSAGE_TEXT:
        return putText(diag.Message);
    case SQL_DIAG_CLASS_ORIGIN:
    case SQL_DIAG_SUBCLASS_ORIGIN:
        return putText("ODBC 3.0");
    case SQL_DIAG_CONNECTION_NAME:
    case SQL_DIAG_SERVER_NAME:
        return putText("");
    case SQL_DIAG_NATIVE:
        if (value != nullptr)
            *static_cast<SQLINTEGER*>(value) = diag.Native;
        return SQL_SUCCESS;
    case SQL_DIAG_COLUMN_NUMBER:
        if (value != nullptr)
            *static_cast<SQLINTEGER*>(value) = SQL_NO_COLUMN_NUMBER;
        return SQL_SUCCESS;
    case SQL_DIAG_ROW_NUMBER:
        if (value != nullptr)
            *static_cast<SQLLEN*>(value) = SQL_NO_ROW_NUMBER;
        return SQL_SUCCESS;
    default:
        return SQL_ERROR;
    }
}

SQLRETURN SetStmtAttr(Statement& statement, SQLINTEGER attribute, SQLPOINTER value)
{
    SQLRETURN rc = SQL_SUCCESS;
    if (!StatementUsable(statement, rc))
        return rc;
    const auto number = static_cast<SQLULEN>(reinterpret_cast<std::uintptr_t>(value));
    // Forward-only, read-only cursors and one row per fetch are what this driver keeps; another
    // choice is recorded with 01S02 "Option value changed", as ODBC lets a driver substitute one.
    if ((attribute == SQL_ATTR_CURSOR_TYPE && number != SQL_CURSOR_FORWARD_ONLY)
        || (attribute == SQL_ATTR_CONCURRENCY && number != SQL_CONCUR_READ_ONLY)
        || (attribute == SQL_ATTR_ROW_ARRAY_SIZE && number != 1)
        || (attribute == SQL_ATTR_PARAMSET_SIZE && number != 1)) {
        statement.Warn("01S02", "[Microsoft][Sterownik ODBC Microsoft Access] Zmieniono wartość opcji");
        return SQL_SUCCESS_WITH_INFO;
    }
    statement.Attributes[attribute] = number;
    return SQL_SUCCESS;
}

SQLRETURN GetStmtAttr(Statement& statement, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER* length)
{
    statement.Diagnostics.clear();
    SQLULEN result = 0;
    switch (attribute) {
    case SQL_ATTR_APP_ROW_DESC:
    case SQL_ATTR_APP_PARAM_DESC:
    case SQL_ATTR_IMP_ROW_DESC:
    case SQL_ATTR_IMP_PARAM_DESC:
        // This stand-in has no descriptor functions, so no descriptor handle is given. The driver
        // manager asks for the four at every SQLAllocHandle and keeps its own when refused, so the
        // refusal is recorded without a trace line (it is not a failure the application met).
        if (value != nullptr)
            *static_cast<SQLPOINTER*>(value) = nullptr;
        statement.Diagnostics.push_back({ ErrorText(JetFailure::OptionalFeature).SqlState,
            ErrorText(JetFailure::OptionalFeature).Native, ErrorMessage(JetFailure::OptionalFeature) });
        return SQL_ERROR;
    case SQL_ATTR_CURSOR_TYPE:
        result = SQL_CURSOR_FORWARD_ONLY;
        break;
    case SQL_ATTR_CONCURRENCY:
        result = SQL_CONCUR_READ_ONLY;
        break;
    case SQL_ATTR_ROW_ARRAY_SIZE:
    case SQL_ATTR_PARAMSET_SIZE:
        result = 1;
        break;
    case SQL_ATTR_ROW_NUMBER:
        result = statement.OnRow ? 1 : 0;
        break;
    default: {
        const auto kept = statement.Attributes.find(attribute);
        result = kept == statement.Attributes.end() ? 0 : kept->second;
    }
    }
    if (value != nullptr)
        *static_cast<SQLULEN*>(value) = result;
    if (length != nullptr)
        *length = sizeof(SQLULEN);
    return SQL_SUCCESS;
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT HandleType, SQLHANDLE InputHandle, SQLHANDLE* OutputHandle)
{
    return AllocHandle(HandleType, InputHandle, OutputHandle);
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT HandleType, SQLHANDLE Handle)
{
    return FreeHandle(HandleType, Handle);
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV EnvironmentHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER)
{
    Environment* environment = AsEnvironment(EnvironmentHandle);
    if (environment == nullptr)
        return SQL_INVALID_HANDLE;
    environment->Diagnostics.clear();
    if (Attribute == SQL_ATTR_ODBC_VERSION)
        environment->OdbcVersion = static_cast<SQLINTEGER>(reinterpret_cast<std::intptr_t>(Value));
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetEnvAttr(
    SQLHENV EnvironmentHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER, SQLINTEGER* StringLength)
{
    Environment* environment = AsEnvironment(EnvironmentHandle);
    if (environment == nullptr)
        return SQL_INVALID_HANDLE;
    SQLINTEGER result = 0;
    if (Attribute == SQL_ATTR_ODBC_VERSION)
        result = environment->OdbcVersion;
    else if (Attribute == SQL_ATTR_OUTPUT_NTS)
        result = SQL_TRUE;
    if (Value != nullptr)
        *static_cast<SQLINTEGER*>(Value) = result;
    if (StringLength != nullptr)
        *StringLength = sizeof(SQLINTEGER);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLConnect(SQLHDBC ConnectionHandle, SQLCHAR* ServerName, SQLSMALLINT NameLength1, SQLCHAR*,
    SQLSMALLINT, SQLCHAR*, SQLSMALLINT)
{
    Connection* connection = AsConnection(ConnectionHandle);
    if (connection == nullptr)
        return SQL_INVALID_HANDLE;
    connection->Diagnostics.clear();
    const std::string name = FromNarrow(ServerName, NameLength1);
    TraceLine({ "connect", Pid(), TraceLength(NameLength1), EscapeForTrace("DSN=" + name) });
    return ConnectDataSource(*connection, name);
}

SQLRETURN SQL_API SQLConnectW(SQLHDBC ConnectionHandle, SQLWCHAR* ServerName, SQLSMALLINT NameLength1, SQLWCHAR*,
    SQLSMALLINT, SQLWCHAR*, SQLSMALLINT)
{
    Connection* connection = AsConnection(ConnectionHandle);
    if (connection == nullptr)
        return SQL_INVALID_HANDLE;
    connection->Diagnostics.clear();
    const std::string name = FromWide(ServerName, NameLength1);
    TraceLine({ "connect", Pid(), TraceLength(NameLength1), EscapeForTrace("DSN=" + name) });
    return ConnectDataSource(*connection, name);
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC ConnectionHandle, SQLHWND, SQLCHAR* InConnectionString,
    SQLSMALLINT StringLength1, SQLCHAR* OutConnectionString, SQLSMALLINT BufferLength, SQLSMALLINT* StringLength2Ptr,
    SQLUSMALLINT)
{
    Connection* connection = AsConnection(ConnectionHandle);
    if (connection == nullptr)
        return SQL_INVALID_HANDLE;
    return DriverConnect(*connection, FromNarrow(InConnectionString, StringLength1), StringLength1, OutConnectionString,
        BufferLength, StringLength2Ptr, false);
}

SQLRETURN SQL_API SQLDriverConnectW(SQLHDBC ConnectionHandle, SQLHWND, SQLWCHAR* InConnectionString,
    SQLSMALLINT StringLength1, SQLWCHAR* OutConnectionString, SQLSMALLINT BufferLength, SQLSMALLINT* StringLength2Ptr,
    SQLUSMALLINT)
{
    Connection* connection = AsConnection(ConnectionHandle);
    if (connection == nullptr)
        return SQL_INVALID_HANDLE;
    return DriverConnect(*connection, FromWide(InConnectionString, StringLength1), StringLength1, OutConnectionString,
        BufferLength, StringLength2Ptr, true);
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC ConnectionHandle)
{
    Connection* connection = AsConnection(ConnectionHandle);
    if (connection == nullptr)
        return SQL_INVALID_HANDLE;
    connection->Diagnostics.clear();
    return Disconnect(*connection);
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC ConnectionHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER)
{
    Connection* connection = AsConnection(ConnectionHandle);
    return connection == nullptr ? SQL_INVALID_HANDLE : SetConnectAttr(*connection, Attribute, Value);
}

SQLRETURN SQL_API SQLSetConnectAttrW(SQLHDBC ConnectionHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER)
{
    Connection* connection = AsConnection(ConnectionHandle);
    return connection == nullptr ? SQL_INVALID_HANDLE : SetConnectAttr(*connection, Attribute, Value);
}

SQLRETURN SQL_API SQLGetConnectAttr(
    SQLHDBC ConnectionHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER BufferLength, SQLINTEGER* StringLength)
{
    Connection* connection = AsConnection(ConnectionHandle);
    return connection == nullptr ? SQL_INVALID_HANDLE
                                 : GetConnectAttr(*connection, Attribute, Value, BufferLength, StringLength, false);
}

SQLRETURN SQL_API SQLGetConnectAttrW(
    SQLHDBC ConnectionHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER BufferLength, SQLINTEGER* StringLength)
{
    Connection* connection = AsConnection(ConnectionHandle);
    return connection == nullptr ? SQL_INVALID_HANDLE
                                 : GetConnectAttr(*connection, Attribute, Value, BufferLength, StringLength, true);
}

SQLRETURN SQL_API SQLGetInfo(SQLHDBC ConnectionHandle, SQLUSMALLINT InfoType, SQLPOINTER InfoValue,
    SQLSMALLINT BufferLength, SQLSMALLINT* StringLength)
{
    Connection* connection = AsConnection(ConnectionHandle);
    if (connection == nullptr)
        return SQL_INVALID_HANDLE;
    connection->Diagnostics.clear();
    return GetInfo(*connection, InfoType, InfoValue, BufferLength, StringLength, false);
}

SQLRETURN SQL_API SQLGetInfoW(SQLHDBC ConnectionHandle, SQLUSMALLINT InfoType, SQLPOINTER InfoValue,
    SQLSMALLINT BufferLength, SQLSMALLINT* StringLength)
{
    Connection* connection = AsConnection(ConnectionHandle);
    if (connection == nullptr)
        return SQL_INVALID_HANDLE;
    connection->Diagnostics.clear();
    return GetInfo(*connection, InfoType, InfoValue, BufferLength, StringLength, true);
}

SQLRETURN SQL_API SQLGetFunctions(SQLHDBC ConnectionHandle, SQLUSMALLINT FunctionId, SQLUSMALLINT* Supported)
{
    if (AsConnection(ConnectionHandle) == nullptr || Supported == nullptr)
        return SQL_INVALID_HANDLE;
    return GetFunctions(FunctionId, Supported);
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT CompletionType)
{
    const bool commit = CompletionType == SQL_COMMIT;
    if (HandleType == SQL_HANDLE_DBC) {
        Connection* connection = AsConnection(Handle);
        if (connection == nullptr)
            return SQL_INVALID_HANDLE;
        connection->Diagnostics.clear();
        if (LinkLost(*connection))
            return connection->Fail(JetFailure::CommunicationLink);
        return EndTransaction(*connection, commit);
    }
    Environment* environment = AsEnvironment(Handle);
    if (environment == nullptr)
        return SQL_INVALID_HANDLE;
    SQLRETURN result = SQL_SUCCESS;
    for (Connection* connection : environment->Connections) {
        if (connection->Db != nullptr && EndTransaction(*connection, commit) != SQL_SUCCESS)
            result = SQL_ERROR;
    }
    return result;
}

SQLRETURN SQL_API SQLPrepare(SQLHSTMT StatementHandle, SQLCHAR* StatementText, SQLINTEGER TextLength)
{
    Statement* statement = AsStatement(StatementHandle);
    return statement == nullptr ? SQL_INVALID_HANDLE
                                : PrepareText(*statement, FromNarrow(StatementText, TextLength), TextLength, "prepare");
}

SQLRETURN SQL_API SQLPrepareW(SQLHSTMT StatementHandle, SQLWCHAR* StatementText, SQLINTEGER TextLength)
{
    Statement* statement = AsStatement(StatementHandle);
    return statement == nullptr ? SQL_INVALID_HANDLE
                                : PrepareText(*statement, FromWide(StatementText, TextLength), TextLength, "prepare");
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT StatementHandle, SQLCHAR* StatementText, SQLINTEGER TextLength)
{
    Statement* statement = AsStatement(StatementHandle);
    return statement == nullptr ? SQL_INVALID_HANDLE
                                : ExecDirectText(*statement, FromNarrow(StatementText, TextLength), TextLength);
}

SQLRETURN SQL_API SQLExecDirectW(SQLHSTMT StatementHandle, SQLWCHAR* StatementText, SQLINTEGER TextLength)
{
    Statement* statement = AsStatement(StatementHandle);
    return statement == nullptr ? SQL_INVALID_HANDLE
                                : ExecDirectText(*statement, FromWide(StatementText, TextLength), TextLength);
}

// "SQLBindParameter": the buffers are read at SQLExecute. A 64-bit whole number is refused here as the
// Jet driver refuses it (HYC00, mkleehammer/pyodbc#509); the report shows SQL_C_SBIGINT with SQL_BIGINT,
// and the documentation is silent on either alone, so each alone is refused too.
SQLRETURN SQL_API SQLBindParameter(SQLHSTMT StatementHandle, SQLUSMALLINT ParameterNumber, SQLSMALLINT InputOutputType,
    SQLSMALLINT ValueType, SQLSMALLINT ParameterType, SQLULEN ColumnSize, SQLSMALLINT DecimalDigits,
    SQLPOINTER ParameterValuePtr, SQLLEN BufferLength, SQLLEN* StrLen_or_IndPtr)
{
    Statement* statement = AsStatement(StatementHandle);
    if (statement == nullptr)
        return SQL_INVALID_HANDLE;
    TraceLine(
        { "bind", Pid(), std::to_string(ParameterNumber), std::to_string(ValueType), std::to_string(ParameterType),
            std::to_string(ColumnSize), std::to_string(BufferLength), IndicatorText(StrLen_or_IndPtr) });
    SQLRETURN rc = SQL_SUCCESS;
    if (!StatementUsable(*statement, rc))
        return rc;
    if (ParameterNumber < 1)
        return statement->Fail(JetFailure::InvalidDescriptorIndex);
    if (InputOutputType != SQL_PARAM_INPUT || ParameterType == SQL_BIGINT || ValueType == SQL_C_SBIGINT
        || ValueType == SQL_C_UBIGINT)
        return statement->Fail(JetFailure::OptionalFeature);
    statement->Parameters[ParameterNumber]
        = { ValueType, ParameterType, ColumnSize, DecimalDigits, ParameterValuePtr, BufferLength, StrLen_or_IndPtr };
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLNumParams(SQLHSTMT StatementHandle, SQLSMALLINT* ParameterCount)
{
    Statement* statement = AsStatement(StatementHandle);
    if (statement == nullptr)
        return SQL_INVALID_HANDLE;
    SQLRETURN rc = SQL_SUCCESS;
    if (!StatementUsable(*statement, rc))
        return rc;
    if (statement->Stmt == nullptr)
        return statement->Fail(JetFailure::FunctionSequence);
    if (ParameterCount != nullptr)
        *ParameterCount = static_cast<SQLSMALLINT>(statement->Translated.ParameterColumns.size());
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT StatementHandle)
{
    Statement* statement = AsStatement(StatementHandle);
    if (statement == nullptr)
        return SQL_INVALID_HANDLE;
    statement->Diagnostics.clear();
    return Execute(*statement);
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT StatementHandle, SQLSMALLINT* ColumnCount)
{
    Statement* statement = AsStatement(StatementHandle);
    if (statement == nullptr)
        return SQL_INVALID_HANDLE;
    SQLRETURN rc = SQL_SUCCESS;
    if (!StatementUsable(*statement, rc))
        return rc;
    if (statement->Stmt == nullptr)
        return statement->Fail(JetFailure::FunctionSequence);
    if (ColumnCount != nullptr)
        *ColumnCount = static_cast<SQLSMALLINT>(statement->Columns.size());
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber, SQLCHAR* ColumnName,
    SQLSMALLINT BufferLength, SQLSMALLINT* NameLength, SQLSMALLINT* DataType, SQLULEN* ColumnSize,
    SQLSMALLINT* DecimalDigits, SQLSMALLINT* Nullable)
{
    Statement* statement = AsStatement(StatementHandle);
    return statement == nullptr ? SQL_INVALID_HANDLE
                                : DescribeCol(*statement, ColumnNumber, ColumnName, BufferLength, NameLength, DataType,
                                    ColumnSize, DecimalDigits, Nullable, false);
}

SQLRETURN SQL_API SQLDescribeColW(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber, SQLWCHAR* ColumnName,
    SQLSMALLINT BufferLength, SQLSMALLINT* NameLength, SQLSMALLINT* DataType, SQLULEN* ColumnSize,
    SQLSMALLINT* DecimalDigits, SQLSMALLINT* Nullable)
{
    Statement* statement = AsStatement(StatementHandle);
    return statement == nullptr ? SQL_INVALID_HANDLE
                                : DescribeCol(*statement, ColumnNumber, ColumnName, BufferLength, NameLength, DataType,
                                    ColumnSize, DecimalDigits, Nullable, true);
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber, SQLUSMALLINT FieldIdentifier,
    SQLPOINTER CharacterAttribute, SQLSMALLINT BufferLength, SQLSMALLINT* StringLength, SQLLEN* NumericAttribute)
{
    Statement* statement = AsStatement(StatementHandle);
    return statement == nullptr ? SQL_INVALID_HANDLE
                                : ColAttribute(*statement, ColumnNumber, FieldIdentifier, CharacterAttribute,
                                    BufferLength, StringLength, NumericAttribute, false);
}

SQLRETURN SQL_API SQLColAttributeW(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber, SQLUSMALLINT FieldIdentifier,
    SQLPOINTER CharacterAttribute, SQLSMALLINT BufferLength, SQLSMALLINT* StringLength, SQLLEN* NumericAttribute)
{
    Statement* statement = AsStatement(StatementHandle);
    return statement == nullptr ? SQL_INVALID_HANDLE
                                : ColAttribute(*statement, ColumnNumber, FieldIdentifier, CharacterAttribute,
                                    BufferLength, StringLength, NumericAttribute, true);
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT StatementHandle)
{
    Statement* statement = AsStatement(StatementHandle);
    if (statement == nullptr)
        return SQL_INVALID_HANDLE;
    statement->Diagnostics.clear();
    return Fetch(*statement);
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber, SQLSMALLINT TargetType,
    SQLPOINTER TargetValue, SQLLEN BufferLength, SQLLEN* StrLen_or_Ind)
{
    Statement* statement = AsStatement(StatementHandle);
    if (statement == nullptr)
        return SQL_INVALID_HANDLE;
    SQLRETURN rc = SQL_SUCCESS;
    if (!StatementUsable(*statement, rc))
        return rc;
    if (!statement->OnRow)
        return statement->Fail(JetFailure::InvalidCursorState);
    if (ColumnNumber < 1 || ColumnNumber > statement->Columns.size())
        return statement->Fail(JetFailure::InvalidDescriptorIndex);
    return DeliverColumn(*statement, ColumnNumber, TargetType, TargetValue, BufferLength, StrLen_or_Ind);
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT StatementHandle, SQLLEN* RowCount)
{
    Statement* statement = AsStatement(StatementHandle);
    if (statement == nullptr)
        return SQL_INVALID_HANDLE;
    SQLRETURN rc = SQL_SUCCESS;
    if (!StatementUsable(*statement, rc))
        return rc;
    if (!statement->Executed)
        return statement->Fail(JetFailure::FunctionSequence);
    if (RowCount != nullptr)
        *RowCount = statement->RowCount;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT StatementHandle, SQLUSMALLINT Option)
{
    Statement* statement = AsStatement(StatementHandle);
    if (statement == nullptr)
        return SQL_INVALID_HANDLE;
    statement->Diagnostics.clear();
    switch (Option) {
    case SQL_CLOSE:
        return CloseCursor(*statement);
    case SQL_RESET_PARAMS:
        statement->Parameters.clear();
        return SQL_SUCCESS;
    case SQL_UNBIND:
        return SQL_SUCCESS; // no columns are bound: the driver offers SQLGetData only
    case SQL_DROP:
        ReleaseStatement(*statement);
        return SQL_SUCCESS;
    default:
        return statement->Fail(JetFailure::InvalidAttribute);
    }
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT StatementHandle)
{
    Statement* statement = AsStatement(StatementHandle);
    if (statement == nullptr)
        return SQL_INVALID_HANDLE;
    SQLRETURN rc = SQL_SUCCESS;
    if (!StatementUsable(*statement, rc))
        return rc;
    if (!statement->CursorOpen)
        return statement->Fail(JetFailure::InvalidCursorState);
    return CloseCursor(*statement);
}

SQLRETURN SQL_API SQLCancel(SQLHSTMT StatementHandle)
{
    // Statements run to their end within the call that started them, so there is never one to cancel;
    // "SQLCancel": with nothing running on the statement, the call has no effect.
    Statement* statement = AsStatement(StatementHandle);
    if (statement == nullptr)
        return SQL_INVALID_HANDLE;
    statement->Diagnostics.clear();
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT StatementHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER)
{
    Statement* statement = AsStatement(StatementHandle);
    return statement == nullptr ? SQL_INVALID_HANDLE : SetStmtAttr(*statement, Attribute, Value);
}

SQLRETURN SQL_API SQLSetStmtAttrW(SQLHSTMT StatementHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER)
{
    Statement* statement = AsStatement(StatementHandle);
    return statement == nullptr ? SQL_INVALID_HANDLE : SetStmtAttr(*statement, Attribute, Value);
}

SQLRETURN SQL_API SQLGetStmtAttr(
    SQLHSTMT StatementHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER, SQLINTEGER* StringLength)
{
    Statement* statement = AsStatement(StatementHandle);
    return statement == nullptr ? SQL_INVALID_HANDLE : GetStmtAttr(*statement, Attribute, Value, StringLength);
}

SQLRETURN SQL_API SQLGetStmtAttrW(
    SQLHSTMT StatementHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER, SQLINTEGER* StringLength)
{
    Statement* statement = AsStatement(StatementHandle);
    return statement == nullptr ? SQL_INVALID_HANDLE : GetStmtAttr(*statement, Attribute, Value, StringLength);
}

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT RecNumber, SQLCHAR* Sqlstate,
    SQLINTEGER* NativeError, SQLCHAR* MessageText, SQLSMALLINT BufferLength, SQLSMALLINT* TextLength)
{
    return DiagRec(HandleType, Handle, RecNumber, Sqlstate, NativeError, MessageText, BufferLength, TextLength, false);
}

SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT RecNumber, SQLWCHAR* Sqlstate,
    SQLINTEGER* NativeError, SQLWCHAR* MessageText, SQLSMALLINT BufferLength, SQLSMALLINT* TextLength)
{
    return DiagRec(HandleType, Handle, RecNumber, Sqlstate, NativeError, MessageText, BufferLength, TextLength, true);
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT RecNumber,
    SQLSMALLINT DiagIdentifier, SQLPOINTER DiagInfo, SQLSMALLINT BufferLength, SQLSMALLINT* StringLength)
{
    return DiagField(HandleType, Handle, RecNumber, DiagIdentifier, DiagInfo, BufferLength, StringLength, false);
}

SQLRETURN SQL_API SQLGetDiagFieldW(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT RecNumber,
    SQLSMALLINT DiagIdentifier, SQLPOINTER DiagInfo, SQLSMALLINT BufferLength, SQLSMALLINT* StringLength)
{
    return DiagField(HandleType, Handle, RecNumber, DiagIdentifier, DiagInfo, BufferLength, StringLength, true);
}

} // extern "C"
