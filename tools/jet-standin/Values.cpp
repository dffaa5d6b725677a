// Parameter and column conversions of the Jet stand-in.
#include "Values.h"

#include "Text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace jetstandin {
namespace {

std::string Timestamp(int year, int month, int day, int hour, int minute, int second)
{
    // Room for any int the caller passes, not only for a valid moment.
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    return text;
}

SQLSMALLINT DefaultCType(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_INTEGER:
        return SQL_C_SLONG;
    case SQL_SMALLINT:
        return SQL_C_SSHORT;
    case SQL_TINYINT:
        return SQL_C_STINYINT;
    case SQL_BIT:
        return SQL_C_BIT;
    case SQL_DOUBLE:
    case SQL_FLOAT:
        return SQL_C_DOUBLE;
    case SQL_REAL:
        return SQL_C_FLOAT;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        return SQL_C_TYPE_TIMESTAMP;
    case SQL_TYPE_DATE:
    case SQL_DATE:
        return SQL_C_TYPE_DATE;
    case SQL_TYPE_TIME:
    case SQL_TIME:
        return SQL_C_TYPE_TIME;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        return SQL_C_BINARY;
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
        return SQL_C_WCHAR;
    default:
        return SQL_C_CHAR;
    }
}

std::size_t Utf16Length(const SQLWCHAR* text)
{
    std::size_t n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}

SqlValue IntegerValue(sqlite3_int64 number)
{
    return { SqlValue::Kind::Integer, number, 0, {} };
}
SqlValue TextValue(std::string text)
{
    return { SqlValue::Kind::Text, 0, 0, std::move(text) };
}

// The text of a character buffer: its length as given, or up to its NUL for SQL_NTS.
SQLRETURN CharacterLength(
    Statement& statement, SQLLEN indicator, std::size_t ntsLength, std::size_t unit, std::size_t& count)
{
    if (indicator == SQL_NTS) {
        count = ntsLength;
        return SQL_SUCCESS;
    }
    if (indicator < 0)
        return statement.Fail(JetFailure::InvalidStringLength);
    count = static_cast<std::size_t>(indicator) / unit;
    return SQL_SUCCESS;
}

// A stored value as a number; false for a text that is not one.
bool AsNumber(sqlite3_stmt* stmt, int index, double& number)
{
    switch (sqlite3_column_type(stmt, index)) {
    case SQLITE_INTEGER:
        number = static_cast<double>(sqlite3_column_int64(stmt, index));
        return true;
    case SQLITE_FLOAT:
        number = sqlite3_column_double(stmt, index);
        return true;
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
        if (text == nullptr || *text == '\0')
            return false;
        char* end = nullptr;
        number = std::strtod(text, &end);
        while (end && *end == ' ')
            ++end;
        return end && *end == '\0';
    }
    }
}

struct DateTimeParts
{
    int Year = 1899, Month = 12, Day = 30, Hour = 0, Minute = 0, Second = 0;
};

bool AsDateTime(const std::string& text, DateTimeParts& parts)
{
    DateTimeParts p;
    const int read
        = std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &p.Year, &p.Month, &p.Day, &p.Hour, &p.Minute, &p.Second);
    if (read == 3 || read == 6) {
        parts = p;
        return true;
    }
    if (std::sscanf(text.c_str(), "%d:%d:%d", &p.Hour, &p.Minute, &p.Second) == 3) {
        parts = DateTimeParts { 1899, 12, 30, p.Hour, p.Minute, p.Second };
        return true;
    }
    return false;
}

// The value's text as the application reads it: a Yes/No column as SQL_BIT's "1" or "0".
std::string TextOf(const Statement& statement, int index, const ResultColumn& column)
{
    sqlite3_stmt* stmt = statement.Stmt;
    if (column.Type.Class == ValueClass::YesNo)
        return sqlite3_column_double(stmt, index) != 0 ? "1" : "0";
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
    return std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, index)));
}

// Copies a text or binary value in pieces; offset counts units already delivered.
SQLRETURN DeliverPieces(Statement& statement, const void* data, std::size_t units, std::size_t unitSize,
    bool terminated, SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator)
{
    const std::size_t offset = statement.GetDataOffset;
    const std::size_t remaining = units > offset ? units - offset : 0;
    if (indicator != nullptr)
        *indicator = static_cast<SQLLEN>(remaining * unitSize);
    const std::size_t room = bufferLength > 0 ? static_cast<std::size_t>(bufferLength) / unitSize : 0;
    const std::size_t capacity = terminated ? (room > 0 ? room - 1 : 0) : room;
    const std::size_t chunk = std::min(remaining, capacity);
    if (target != nullptr && room > 0) {
        std::memcpy(target, static_cast<const char*>(data) + offset * unitSize, chunk * unitSize);
        if (terminated)
            std::memset(static_cast<char*>(target) + chunk * unitSize, 0, unitSize);
    }
    statement.GetDataOffset += chunk;
    if (chunk < remaining) {
        statement.Warn(
            kStringTruncatedState, "[Microsoft][Sterownik ODBC Microsoft Access] Dane ciągu, obcięcie prawostronne");
        return SQL_SUCCESS_WITH_INFO;
    }
    statement.GetDataDone = true;
    return SQL_SUCCESS;
}

template <typename T> SQLRETURN StoreInteger(Statement& statement, double number, SQLPOINTER target, SQLLEN* indicator)
{
    const double whole = std::trunc(number);
    if (whole < static_cast<double>(std::numeric_limits<T>::min())
        || whole > static_cast<double>(std::numeric_limits<T>::max()))
        return statement.Fail(JetFailure::NumericOutOfRange);
    if (target != nullptr)
        *static_cast<T*>(target) = static_cast<T>(whole);
    if (indicator != nullptr)
        *indicator = sizeof(T);
    statement.GetDataDone = true;
    if (whole != number) {
        statement.Warn(kFractionalTruncationState, "[Microsoft][Sterownik ODBC Microsoft Access] Obcięcie ułamkowe");
        return SQL_SUCCESS_WITH_INFO;
    }
    return SQL_SUCCESS;
}

SQLRETURN DeliverDateTime(
    Statement& statement, const std::string& text, SQLSMALLINT cType, SQLPOINTER target, SQLLEN* indicator)
{
    DateTimeParts p;
    if (!AsDateTime(text, p))
        return statement.Fail(JetFailure::InvalidCast);
    statement.GetDataDone = true;
    if (cType == SQL_C_TYPE_DATE || cType == SQL_C_DATE) {
        auto* date = static_cast<SQL_DATE_STRUCT*>(target);
        if (date != nullptr)
            *date = { static_cast<SQLSMALLINT>(p.Year), static_cast<SQLUSMALLINT>(p.Month),
                static_cast<SQLUSMALLINT>(p.Day) };
        if (indicator != nullptr)
            *indicator = sizeof(SQL_DATE_STRUCT);
        if (p.Hour != 0 || p.Minute != 0 || p.Second != 0) {
            statement.Warn(
                kFractionalTruncationState, "[Microsoft][Sterownik ODBC Microsoft Access] Obcięcie ułamkowe");
            return SQL_SUCCESS_WITH_INFO;
        }
        return SQL_SUCCESS;
    }
    if (cType == SQL_C_TYPE_TIME || cType == SQL_C_TIME) {
        auto* time = static_cast<SQL_TIME_STRUCT*>(target);
        if (time != nullptr)
            *time = { static_cast<SQLUSMALLINT>(p.Hour), static_cast<SQLUSMALLINT>(p.Minute),
                static_cast<SQLUSMALLINT>(p.Second) };
        if (indicator != nullptr)
            *indicator = sizeof(SQL_TIME_STRUCT);
        return SQL_SUCCESS;
    }
    auto* stamp = static_cast<SQL_TIMESTAMP_STRUCT*>(target);
    if (stamp != nullptr)
        *stamp = { static_cast<SQLSMALLINT>(p.Year), static_cast<SQLUSMALLINT>(p.Month),
            static_cast<SQLUSMALLINT>(p.Day), static_cast<SQLUSMALLINT>(p.Hour), static_cast<SQLUSMALLINT>(p.Minute),
            static_cast<SQLUSMALLINT>(p.Second), 0 };
    if (indicator != nullptr)
        *indicator = sizeof(SQL_TIMESTAMP_STRUCT);
    return SQL_SUCCESS;
}

} // namespace

SQLRETURN ReadParameter(Statement& statement, const BoundParameter& p, SqlValue& value)
{
    const SQLSMALLINT cType = p.ValueType == SQL_C_DEFAULT ? DefaultCType(p.ParameterType) : p.ValueType;
    const bool character = cType == SQL_C_CHAR || cType == SQL_C_WCHAR || cType == SQL_C_BINARY;
    const SQLLEN indicator = p.Indicator != nullptr ? *p.Indicator : (character ? SQL_NTS : 0);
    if (indicator == SQL_NULL_DATA || p.Value == nullptr) {
        value = {};
        return SQL_SUCCESS;
    }
    if (indicator == SQL_DATA_AT_EXEC || indicator <= SQL_LEN_DATA_AT_EXEC_OFFSET)
        return statement.Fail(JetFailure::OptionalFeature);
    std::size_t count = 0;
    switch (cType) {
    case SQL_C_WCHAR: {
        const auto* units = static_cast<const SQLWCHAR*>(p.Value);
        if (CharacterLength(
                statement, indicator, indicator == SQL_NTS ? Utf16Length(units) : 0, sizeof(SQLWCHAR), count)
            != SQL_SUCCESS)
            return SQL_ERROR;
        value = TextValue(ToUtf8(reinterpret_cast<const char16_t*>(units), count));
        return SQL_SUCCESS;
    }
    case SQL_C_CHAR: {
        const auto* bytes = static_cast<const char*>(p.Value);
        if (CharacterLength(statement, indicator, indicator == SQL_NTS ? std::strlen(bytes) : 0, 1, count)
            != SQL_SUCCESS)
            return SQL_ERROR;
        value = TextValue(std::string(bytes, count));
        return SQL_SUCCESS;
    }
    case SQL_C_BINARY:
        if (indicator < 0)
            return statement.Fail(JetFailure::InvalidStringLength);
        value = { SqlValue::Kind::Blob, 0, 0,
            std::string(static_cast<const char*>(p.Value), static_cast<std::size_t>(indicator)) };
        return SQL_SUCCESS;
    case SQL_C_SLONG:
    case SQL_C_LONG:
        value = IntegerValue(*static_cast<const SQLINTEGER*>(p.Value));
        return SQL_SUCCESS;
    case SQL_C_ULONG:
        value = IntegerValue(*static_cast<const SQLUINTEGER*>(p.Value));
        return SQL_SUCCESS;
    case SQL_C_SSHORT:
    case SQL_C_SHORT:
        value = IntegerValue(*static_cast<const SQLSMALLINT*>(p.Value));
        return SQL_SUCCESS;
    case SQL_C_USHORT:
        value = IntegerValue(*static_cast<const SQLUSMALLINT*>(p.Value));
        return SQL_SUCCESS;
    case SQL_C_STINYINT:
    case SQL_C_TINYINT:
        value = IntegerValue(*static_cast<const SQLSCHAR*>(p.Value));
        return SQL_SUCCESS;
    case SQL_C_UTINYINT:
    case SQL_C_BIT:
        value = IntegerValue(*static_cast<const SQLCHAR*>(p.Value));
        return SQL_SUCCESS;
    case SQL_C_DOUBLE:
        value = { SqlValue::Kind::Real, 0, *static_cast<const SQLDOUBLE*>(p.Value), {} };
        return SQL_SUCCESS;
    case SQL_C_FLOAT:
        value = { SqlValue::Kind::Real, 0, *static_cast<const SQLREAL*>(p.Value), {} };
        return SQL_SUCCESS;
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE: {
        const auto* d = static_cast<const SQL_DATE_STRUCT*>(p.Value);
        value = TextValue(Timestamp(d->year, d->month, d->day, 0, 0, 0));
        return SQL_SUCCESS;
    }
    case SQL_C_TYPE_TIME:
    case SQL_C_TIME: {
        const auto* t = static_cast<const SQL_TIME_STRUCT*>(p.Value);
        value = TextValue(Timestamp(1899, 12, 30, t->hour, t->minute, t->second));
        return SQL_SUCCESS;
    }
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP: {
        // Jet keeps whole seconds of a Date/Time value; the fraction is dropped.
        const auto* s = static_cast<const SQL_TIMESTAMP_STRUCT*>(p.Value);
        value = TextValue(Timestamp(s->year, s->month, s->day, s->hour, s->minute, s->second));
        return SQL_SUCCESS;
    }
    default:
        return statement.Fail(JetFailure::InvalidBufferType);
    }
}

SQLRETURN DeliverColumn(Statement& statement, SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER target,
    SQLLEN bufferLength, SQLLEN* indicator)
{
    if (statement.GetDataColumn != column) {
        statement.GetDataColumn = column;
        statement.GetDataOffset = 0;
        statement.GetDataDone = false;
    } else if (statement.GetDataDone) {
        return SQL_NO_DATA;
    }
    const ResultColumn& described = statement.Columns[column - 1];
    const int index = column - 1;
    if (sqlite3_column_type(statement.Stmt, index) == SQLITE_NULL) {
        if (indicator == nullptr)
            return statement.Fail(JetFailure::IndicatorRequired);
        *indicator = SQL_NULL_DATA;
        statement.GetDataDone = true;
        return SQL_SUCCESS;
    }
    if (cType == SQL_C_DEFAULT)
        cType = DefaultCType(described.Type.SqlType);
    if (cType == SQL_C_WCHAR) {
        const Utf16 text = ToUtf16(TextOf(statement, index, described));
        return DeliverPieces(
            statement, text.data(), text.size(), sizeof(SQLWCHAR), true, target, bufferLength, indicator);
    }
    if (cType == SQL_C_CHAR) {
        const std::string text = TextOf(statement, index, described);
        return DeliverPieces(statement, text.data(), text.size(), 1, true, target, bufferLength, indicator);
    }
    if (cType == SQL_C_BINARY) {
        const auto* bytes = sqlite3_column_blob(statement.Stmt, index);
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement.Stmt, index));
        return DeliverPieces(statement, bytes, size, 1, false, target, bufferLength, indicator);
    }
    if (cType == SQL_C_TYPE_DATE || cType == SQL_C_DATE || cType == SQL_C_TYPE_TIME || cType == SQL_C_TIME
        || cType == SQL_C_TYPE_TIMESTAMP || cType == SQL_C_TIMESTAMP)
        return DeliverDateTime(statement, TextOf(statement, index, described), cType, target, indicator);
    double number = 0;
    if (!AsNumber(statement.Stmt, index, number))
        return statement.Fail(JetFailure::InvalidCast);
    if (described.Type.Class == ValueClass::YesNo)
        number = number != 0 ? 1 : 0;
    switch (cType) {
    case SQL_C_SLONG:
    case SQL_C_LONG:
        return StoreInteger<SQLINTEGER>(statement, number, target, indicator);
    case SQL_C_ULONG:
        return StoreInteger<SQLUINTEGER>(statement, number, target, indicator);
    case SQL_C_SSHORT:
    case SQL_C_SHORT:
        return StoreInteger<SQLSMALLINT>(statement, number, target, indicator);
    case SQL_C_USHORT:
        return StoreInteger<SQLUSMALLINT>(statement, number, target, indicator);
    case SQL_C_STINYINT:
    case SQL_C_TINYINT:
        return StoreInteger<SQLSCHAR>(statement, number, target, indicator);
    case SQL_C_UTINYINT:
        return StoreInteger<SQLCHAR>(statement, number, target, indicator);
    case SQL_C_SBIGINT:
        return StoreInteger<SQLBIGINT>(statement, number, target, indicator);
    case SQL_C_UBIGINT:
        return StoreInteger<SQLUBIGINT>(statement, number, target, indicator);
    case SQL_C_BIT:
        // "SQL to C: Numeric": 0 or 1 as it is, above 0 and below 2 truncated (01S07), else 22003.
        if (number < 0 || number >= 2)
            return statement.Fail(JetFailure::NumericOutOfRange);
        return StoreInteger<SQLCHAR>(statement, number, target, indicator);
    case SQL_C_DOUBLE:
        if (target != nullptr)
            *static_cast<SQLDOUBLE*>(target) = number;
        if (indicator != nullptr)
            *indicator = sizeof(SQLDOUBLE);
        statement.GetDataDone = true;
        return SQL_SUCCESS;
    case SQL_C_FLOAT:
        if (target != nullptr)
            *static_cast<SQLREAL*>(target) = static_cast<SQLREAL>(number);
        if (indicator != nullptr)
            *indicator = sizeof(SQLREAL);
        statement.GetDataDone = true;
        return SQL_SUCCESS;
    default:
        return statement.Fail(JetFailure::RestrictedType);
    }
}

} // namespace jetstandin
