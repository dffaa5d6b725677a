// SQLGetInfo and SQLGetFunctions of the Jet stand-in.
//
// The values are the Jet 4.0 ODBC driver's: "SQLGetInfo (Access Driver)" (ODBC Desktop Database
// Drivers) gives SQL_DBMS_VER 04.00.0000 for Access 4.0 files, SQL_FILE_USAGE SQL_FILE_QUALIFIER, the
// conversions, functions, keywords, outer joins, scroll options and subqueries below; the driver's
// name, version and ODBC version are what RODBC's odbcGetInfo documentation shows the Access driver
// return (Driver_Name "odbcjt32.dll", Driver_Ver "04.00.6305", Driver_ODBC_Ver "03.51", DBMS_Name
// "ACCESS"); "SQLSetConnectOption (Access Driver)": the isolation is always SQL_TXN_READ_COMMITTED and
// transactions are supported (the documentation does not say whether they may hold DDL; Jet's engine
// allows it, so SQL_TC_ALL); "TN068": commit and rollback close cursors (SQL_CB_CLOSE), prepared
// statements stay.
#include "DriverInfo.h"

#include "Text.h"

#include <cstring>
#include <variant>

namespace jetstandin {
namespace {

using InfoValue = std::variant<std::string, SQLUSMALLINT, SQLUINTEGER>;

constexpr SQLUINTEGER kConversions = SQL_CVT_DOUBLE | SQL_CVT_FLOAT | SQL_CVT_INTEGER | SQL_CVT_NUMERIC | SQL_CVT_REAL
    | SQL_CVT_SMALLINT | SQL_CVT_VARCHAR | SQL_CVT_WVARCHAR;

const char kKeywords[]
    = "ALPHANUMERIC,AUTOINCREMENT,BINARY,BOOLEAN,BYTE,COUNTER,CURRENCY,DATABASE,DATABASENAME,"
      "DATETIME,DISALLOW,DISTINCTROW,DOUBLEFLOAT,FLOAT4,FLOAT8,GENERAL,IEEEDOUBLE,IEEESINGLE,IGNORE,"
      "IMAGE,INTEGER1,INTEGER2,INTEGER4,LOGICAL,LOGICAL1,LONG,LONGBINARY,LONGCHAR,LONGTEXT,MEMO,MONEY,"
      "NOTE,NUMBER,OLEOBJECT,OWNERACCESS,PARAMETERS,PERCENT,PIVOT,SHORT,SINGLE,SINGLEFLOAT,STDEV,STDEVP,"
      "STRING,TABLEID,TEXT,TOP,TRANSFORM,UNSIGNEDBYTE,VAR,VARBINARY,VARP,YESNO";

std::string DatabaseName(const std::string& path)
{
    std::string name = path.substr(path.find_last_of('/') + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool Lookup(const Connection& connection, SQLUSMALLINT type, InfoValue& value)
{
    switch (type) {
    case SQL_DRIVER_NAME:
        value = std::string("odbcjt32.dll");
        return true;
    case SQL_DRIVER_VER:
        value = std::string("04.00.6305");
        return true;
    case SQL_DRIVER_ODBC_VER:
        value = std::string("03.51");
        return true;
    case SQL_DBMS_NAME:
        value = std::string("ACCESS");
        return true;
    case SQL_DBMS_VER:
        value = std::string("04.00.0000");
        return true;
    case SQL_SERVER_NAME:
        value = std::string("ACCESS");
        return true;
    case SQL_DATA_SOURCE_NAME:
        value = std::string();
        return true;
    case SQL_DATABASE_NAME:
        value = DatabaseName(connection.Path);
        return true;
    case SQL_USER_NAME:
        value = std::string("admin");
        return true;
    case SQL_DATA_SOURCE_READ_ONLY:
        value = std::string("N");
        return true;
    case SQL_MULT_RESULT_SETS:
        value = std::string("N");
        return true;
    case SQL_MULTIPLE_ACTIVE_TXN:
        value = std::string("Y");
        return true;
    case SQL_NEED_LONG_DATA_LEN:
        value = std::string("N");
        return true;
    case SQL_ACCESSIBLE_TABLES:
        value = std::string("Y");
        return true;
    case SQL_ACCESSIBLE_PROCEDURES:
        value = std::string("N");
        return true;
    case SQL_PROCEDURES:
        value = std::string("Y");
        return true;
    case SQL_ROW_UPDATES:
        value = std::string("N");
        return true;
    case SQL_COLUMN_ALIAS:
        value = std::string("Y");
        return true;
    case SQL_ORDER_BY_COLUMNS_IN_SELECT:
        value = std::string("N");
        return true;
    case SQL_EXPRESSIONS_IN_ORDERBY:
        value = std::string("Y");
        return true;
    case SQL_LIKE_ESCAPE_CLAUSE:
        value = std::string("N");
        return true;
    case SQL_IDENTIFIER_QUOTE_CHAR:
        value = std::string("`");
        return true;
    case SQL_CATALOG_NAME_SEPARATOR:
        value = std::string(".");
        return true;
    case SQL_CATALOG_TERM:
        value = std::string("DATABASE");
        return true;
    case SQL_CATALOG_NAME:
        value = std::string("Y");
        return true;
    case SQL_SCHEMA_TERM:
        value = std::string("OWNER");
        return true;
    case SQL_TABLE_TERM:
        value = std::string("TABLE");
        return true;
    case SQL_PROCEDURE_TERM:
        value = std::string("QUERY");
        return true;
    case SQL_SEARCH_PATTERN_ESCAPE:
        value = std::string("\\");
        return true;
    case SQL_SPECIAL_CHARACTERS:
        value = std::string("~@#$%^&*_-+=\\}{\"';:?/><,.![]|");
        return true;
    case SQL_KEYWORDS:
        value = std::string(kKeywords);
        return true;
    case SQL_INTEGRITY:
        value = std::string("N");
        return true;
    case SQL_MAX_ROW_SIZE_INCLUDES_LONG:
        value = std::string("N");
        return true;
    case SQL_DESCRIBE_PARAMETER:
        value = std::string("N");
        return true;
    case SQL_ODBC_VER:
        value = std::string("03.52.0000");
        return true;
    case SQL_TXN_CAPABLE:
        value = SQLUSMALLINT { SQL_TC_ALL };
        return true;
    case SQL_CURSOR_COMMIT_BEHAVIOR:
    case SQL_CURSOR_ROLLBACK_BEHAVIOR:
        value = SQLUSMALLINT { SQL_CB_CLOSE };
        return true;
    case SQL_DEFAULT_TXN_ISOLATION:
    case SQL_TXN_ISOLATION_OPTION:
        value = SQLUINTEGER { SQL_TXN_READ_COMMITTED };
        return true;
    case SQL_FILE_USAGE:
        value = SQLUSMALLINT { SQL_FILE_QUALIFIER };
        return true;
    case SQL_ACTIVE_ENVIRONMENTS:
    case SQL_MAX_DRIVER_CONNECTIONS:
    case SQL_MAX_CONCURRENT_ACTIVITIES:
        value = SQLUSMALLINT { 0 };
        return true;
    case SQL_ODBC_API_CONFORMANCE:
        value = SQLUSMALLINT { SQL_OAC_LEVEL1 };
        return true;
    case SQL_ODBC_SQL_CONFORMANCE:
        value = SQLUSMALLINT { SQL_OSC_MINIMUM };
        return true;
    case SQL_ODBC_INTERFACE_CONFORMANCE:
        value = SQLUINTEGER { SQL_OIC_CORE };
        return true;
    case SQL_SQL_CONFORMANCE:
        value = SQLUINTEGER { SQL_SC_SQL92_ENTRY };
        return true;
    case SQL_CONCAT_NULL_BEHAVIOR:
        value = SQLUSMALLINT { SQL_CB_NON_NULL };
        return true;
    case SQL_NULL_COLLATION:
        value = SQLUSMALLINT { SQL_NC_LOW };
        return true;
    case SQL_IDENTIFIER_CASE:
    case SQL_QUOTED_IDENTIFIER_CASE:
        value = SQLUSMALLINT { SQL_IC_MIXED };
        return true;
    case SQL_CORRELATION_NAME:
        value = SQLUSMALLINT { SQL_CN_ANY };
        return true;
    case SQL_NON_NULLABLE_COLUMNS:
        value = SQLUSMALLINT { SQL_NNC_NON_NULL };
        return true;
    case SQL_GROUP_BY:
        value = SQLUSMALLINT { SQL_GB_GROUP_BY_CONTAINS_SELECT };
        return true;
    case SQL_CATALOG_LOCATION:
        value = SQLUSMALLINT { SQL_CL_START };
        return true;
    case SQL_MAX_COLUMN_NAME_LEN:
    case SQL_MAX_TABLE_NAME_LEN:
    case SQL_MAX_CURSOR_NAME_LEN:
        value = SQLUSMALLINT { 64 };
        return true;
    case SQL_MAX_COLUMNS_IN_TABLE:
        value = SQLUSMALLINT { 255 };
        return true;
    case SQL_MAX_IDENTIFIER_LEN:
        value = SQLUSMALLINT { 64 };
        return true;
    case SQL_MAX_STATEMENT_LEN:
        value = SQLUINTEGER { 65000 };
        return true;
    case SQL_MAX_CHAR_LITERAL_LEN:
        value = SQLUINTEGER { 255 };
        return true;
    case SQL_GETDATA_EXTENSIONS:
        value = SQLUINTEGER { SQL_GD_ANY_ORDER | SQL_GD_ANY_COLUMN | SQL_GD_BLOCK | SQL_GD_BOUND };
        return true;
    case SQL_BOOKMARK_PERSISTENCE:
        value = SQLUINTEGER { SQL_BP_SCROLL | SQL_BP_UPDATE };
        return true;
    case SQL_SCROLL_OPTIONS:
        value = SQLUINTEGER { SQL_SO_FORWARD_ONLY | SQL_SO_STATIC | SQL_SO_KEYSET_DRIVEN };
        return true;
    case SQL_UNION:
        value = SQLUINTEGER { SQL_U_UNION | SQL_U_UNION_ALL };
        return true;
    case SQL_OJ_CAPABILITIES:
        value = SQLUINTEGER { SQL_OJ_LEFT | SQL_OJ_RIGHT | SQL_OJ_NOT_ORDERED | SQL_OJ_INNER
            | SQL_OJ_ALL_COMPARISON_OPS };
        return true;
    case SQL_CATALOG_USAGE:
        value = SQLUINTEGER { SQL_CU_DML_STATEMENTS | SQL_CU_TABLE_DEFINITION | SQL_CU_INDEX_DEFINITION
            | SQL_CU_PROCEDURE_INVOCATION };
        return true;
    case SQL_SCHEMA_USAGE:
        value = SQLUINTEGER { 0 };
        return true;
    case SQL_SUBQUERIES:
        value = SQLUINTEGER { SQL_SQ_COMPARISON | SQL_SQ_EXISTS | SQL_SQ_IN | SQL_SQ_QUANTIFIED
            | SQL_SQ_CORRELATED_SUBQUERIES };
        return true;
    case SQL_DDL_INDEX:
        value = SQLUINTEGER { SQL_DI_CREATE_INDEX | SQL_DI_DROP_INDEX };
        return true;
    case SQL_ASYNC_MODE:
        value = SQLUINTEGER { SQL_AM_NONE };
        return true;
    case SQL_CONVERT_FUNCTIONS:
        value = SQLUINTEGER { SQL_FN_CVT_CONVERT };
        return true;
    case SQL_CONVERT_BINARY:
    case SQL_CONVERT_CHAR:
    case SQL_CONVERT_DATE:
    case SQL_CONVERT_DOUBLE:
    case SQL_CONVERT_FLOAT:
    case SQL_CONVERT_INTEGER:
    case SQL_CONVERT_LONGVARBINARY:
    case SQL_CONVERT_LONGVARCHAR:
    case SQL_CONVERT_NUMERIC:
    case SQL_CONVERT_REAL:
    case SQL_CONVERT_SMALLINT:
    case SQL_CONVERT_TIME:
    case SQL_CONVERT_TIMESTAMP:
    case SQL_CONVERT_TINYINT:
    case SQL_CONVERT_VARBINARY:
    case SQL_CONVERT_VARCHAR:
    case SQL_CONVERT_WCHAR:
    case SQL_CONVERT_WVARCHAR:
    case SQL_CONVERT_WLONGVARCHAR:
        value = kConversions;
        return true;
    case SQL_CONVERT_BIGINT:
    case SQL_CONVERT_BIT:
    case SQL_CONVERT_DECIMAL:
        value = SQLUINTEGER { 0 };
        return true;
    case SQL_NUMERIC_FUNCTIONS:
        value = SQLUINTEGER { SQL_FN_NUM_ABS | SQL_FN_NUM_ATAN | SQL_FN_NUM_CEILING | SQL_FN_NUM_COS | SQL_FN_NUM_EXP
            | SQL_FN_NUM_FLOOR | SQL_FN_NUM_LOG | SQL_FN_NUM_MOD | SQL_FN_NUM_POWER | SQL_FN_NUM_RAND | SQL_FN_NUM_SIGN
            | SQL_FN_NUM_SIN | SQL_FN_NUM_SQRT | SQL_FN_NUM_TAN };
        return true;
    case SQL_STRING_FUNCTIONS:
        value = SQLUINTEGER { SQL_FN_STR_ASCII | SQL_FN_STR_CHAR | SQL_FN_STR_CONCAT | SQL_FN_STR_LCASE
            | SQL_FN_STR_LEFT | SQL_FN_STR_LENGTH | SQL_FN_STR_LOCATE | SQL_FN_STR_LOCATE_2 | SQL_FN_STR_LTRIM
            | SQL_FN_STR_RIGHT | SQL_FN_STR_RTRIM | SQL_FN_STR_SPACE | SQL_FN_STR_SUBSTRING | SQL_FN_STR_UCASE };
        return true;
    case SQL_TIMEDATE_FUNCTIONS:
        value = SQLUINTEGER { SQL_FN_TD_CURDATE | SQL_FN_TD_CURTIME | SQL_FN_TD_DAYOFMONTH | SQL_FN_TD_DAYOFWEEK
            | SQL_FN_TD_DAYOFYEAR | SQL_FN_TD_HOUR | SQL_FN_TD_MINUTE | SQL_FN_TD_MONTH | SQL_FN_TD_NOW
            | SQL_FN_TD_SECOND | SQL_FN_TD_WEEK | SQL_FN_TD_YEAR };
        return true;
    case SQL_SYSTEM_FUNCTIONS:
        value = SQLUINTEGER { 0 };
        return true;
    case SQL_CURSOR_SENSITIVITY:
        value = SQLUINTEGER { SQL_UNSPECIFIED };
        return true;
    case SQL_STATIC_CURSOR_ATTRIBUTES1:
    case SQL_KEYSET_CURSOR_ATTRIBUTES1:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES1:
        value = SQLUINTEGER { 0 };
        return true;
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1:
        value = SQLUINTEGER { SQL_CA1_NEXT };
        return true;
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2:
        value = SQLUINTEGER { SQL_CA2_READ_ONLY_CONCURRENCY };
        return true;
    case SQL_STATIC_CURSOR_ATTRIBUTES2:
    case SQL_KEYSET_CURSOR_ATTRIBUTES2:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES2:
        value = SQLUINTEGER { 0 };
        return true;
    case SQL_PARAM_ARRAY_ROW_COUNTS:
        value = SQLUINTEGER { SQL_PARC_NO_BATCH };
        return true;
    case SQL_PARAM_ARRAY_SELECTS:
        value = SQLUINTEGER { SQL_PAS_NO_SELECT };
        return true;
    case SQL_BATCH_SUPPORT:
    case SQL_BATCH_ROW_COUNT:
        value = SQLUINTEGER { 0 };
        return true;
    case SQL_POS_OPERATIONS:
    case SQL_POSITIONED_STATEMENTS:
    case SQL_LOCK_TYPES:
    case SQL_STATIC_SENSITIVITY:
    case SQL_SCROLL_CONCURRENCY:
    case SQL_FETCH_DIRECTION:
        value = SQLUINTEGER { 0 };
        return true;
    default:
        return false;
    }
}

} // namespace

bool PutText(const std::string& utf8, bool wide, SQLPOINTER buffer, SQLLEN capacity, bool capacityInBytes,
    SQLLEN* length, bool lengthInBytes)
{
    if (wide) {
        const Utf16 text = ToUtf16(utf8);
        const SQLLEN units = capacityInBytes ? capacity / 2 : capacity;
        if (length != nullptr)
            *length = static_cast<SQLLEN>(text.size()) * (lengthInBytes ? 2 : 1);
        if (buffer == nullptr || units <= 0)
            return !text.empty();
        const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(units - 1));
        std::memcpy(buffer, text.data(), copied * 2);
        static_cast<SQLWCHAR*>(buffer)[copied] = 0;
        return copied < text.size();
    }
    if (length != nullptr)
        *length = static_cast<SQLLEN>(utf8.size());
    if (buffer == nullptr || capacity <= 0)
        return !utf8.empty();
    const std::size_t copied = std::min(utf8.size(), static_cast<std::size_t>(capacity - 1));
    std::memcpy(buffer, utf8.data(), copied);
    static_cast<char*>(buffer)[copied] = 0;
    return copied < utf8.size();
}

SQLRETURN GetInfo(Connection& connection, SQLUSMALLINT infoType, SQLPOINTER value, SQLSMALLINT bufferLength,
    SQLSMALLINT* length, bool wide)
{
    InfoValue info;
    if (!Lookup(connection, infoType, info))
        return connection.Fail(JetFailure::InformationType);
    if (const auto* text = std::get_if<std::string>(&info)) {
        SQLLEN full = 0;
        const bool cut = PutText(*text, wide, value, bufferLength, true, &full, true);
        if (length != nullptr)
            *length = static_cast<SQLSMALLINT>(full);
        if (cut && value != nullptr) {
            connection.Warn(kStringTruncatedState,
                "[Microsoft][Sterownik ODBC Microsoft Access] Dane ciągu, obcięcie prawostronne");
            return SQL_SUCCESS_WITH_INFO;
        }
        return SQL_SUCCESS;
    }
    if (const auto* small = std::get_if<SQLUSMALLINT>(&info)) {
        if (value != nullptr)
            *static_cast<SQLUSMALLINT*>(value) = *small;
        if (length != nullptr)
            *length = sizeof(SQLUSMALLINT);
        return SQL_SUCCESS;
    }
    if (value != nullptr)
        *static_cast<SQLUINTEGER*>(value) = std::get<SQLUINTEGER>(info);
    if (length != nullptr)
        *length = sizeof(SQLUINTEGER);
    return SQL_SUCCESS;
}

SQLRETURN GetFunctions(SQLUSMALLINT function, SQLUSMALLINT* supported)
{
    static constexpr SQLUSMALLINT kFunctions[] = { SQL_API_SQLALLOCHANDLE, SQL_API_SQLFREEHANDLE, SQL_API_SQLSETENVATTR,
        SQL_API_SQLGETENVATTR, SQL_API_SQLCONNECT, SQL_API_SQLDRIVERCONNECT, SQL_API_SQLDISCONNECT,
        SQL_API_SQLSETCONNECTATTR, SQL_API_SQLGETCONNECTATTR, SQL_API_SQLGETINFO, SQL_API_SQLGETFUNCTIONS,
        SQL_API_SQLENDTRAN, SQL_API_SQLPREPARE, SQL_API_SQLEXECDIRECT, SQL_API_SQLBINDPARAMETER, SQL_API_SQLNUMPARAMS,
        SQL_API_SQLEXECUTE, SQL_API_SQLNUMRESULTCOLS, SQL_API_SQLDESCRIBECOL, SQL_API_SQLCOLATTRIBUTE, SQL_API_SQLFETCH,
        SQL_API_SQLGETDATA, SQL_API_SQLROWCOUNT, SQL_API_SQLFREESTMT, SQL_API_SQLCLOSECURSOR, SQL_API_SQLSETSTMTATTR,
        SQL_API_SQLGETSTMTATTR, SQL_API_SQLCANCEL, SQL_API_SQLGETDIAGREC, SQL_API_SQLGETDIAGFIELD };
    if (function == SQL_API_ODBC3_ALL_FUNCTIONS) {
        std::memset(supported, 0, sizeof(SQLUSMALLINT) * SQL_API_ODBC3_ALL_FUNCTIONS_SIZE);
        for (SQLUSMALLINT id : kFunctions)
            supported[id >> 4] |= static_cast<SQLUSMALLINT>(1 << (id & 0x000F));
        return SQL_SUCCESS;
    }
    if (function == SQL_API_ALL_FUNCTIONS) {
        std::memset(supported, 0, sizeof(SQLUSMALLINT) * 100);
        for (SQLUSMALLINT id : kFunctions) {
            if (id < 100)
                supported[id] = SQL_TRUE;
        }
        return SQL_SUCCESS;
    }
    *supported = SQL_FALSE;
    for (SQLUSMALLINT id : kFunctions) {
        if (id == function)
            *supported = SQL_TRUE;
    }
    return SQL_SUCCESS;
}

} // namespace jetstandin
