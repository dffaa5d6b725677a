// Column descriptions of the Jet stand-in.
#include "ColumnTypes.h"

#include "Text.h"

#include <sqlite3.h>

#include <cstdlib>

namespace jetstandin {
namespace {

// The word before any "(" or space, upper case.
std::string BaseName(const std::string& declared)
{
    const std::size_t end = declared.find_first_of("( ");
    return Upper(declared.substr(0, end));
}

std::size_t SizeIn(const std::string& declared, std::size_t fallback)
{
    const std::size_t open = declared.find('(');
    if (open == std::string::npos)
        return fallback;
    const long size = std::strtol(declared.c_str() + open + 1, nullptr, 10);
    return size > 0 ? static_cast<std::size_t>(size) : fallback;
}

constexpr SQLULEN kLongSize = 1073741823; // the largest LONGTEXT/LONGBINARY Jet describes

} // namespace

ColumnType DescribeDeclaredType(const std::string& declaredType, bool counter)
{
    const std::string name = BaseName(declaredType);
    if (counter)
        return { SQL_INTEGER, 10, 0, ValueClass::Integer, "COUNTER" };
    if (name == "TEXT" || name == "VARCHAR" || name == "CHAR" || name == "CHARACTER" || name == "NCHAR"
        || name == "NVARCHAR")
        return { SQL_WVARCHAR, SizeIn(declaredType, 255), 0, ValueClass::Text, "VARCHAR" };
    if (name == "LONGTEXT" || name == "LONGCHAR" || name == "MEMO" || name == "NOTE")
        return { SQL_WLONGVARCHAR, kLongSize, 0, ValueClass::Text, "LONGCHAR" };
    if (name == "YESNO" || name == "BIT" || name == "LOGICAL" || name == "LOGICAL1" || name == "BOOLEAN")
        return { SQL_BIT, 1, 0, ValueClass::YesNo, "BIT" };
    if (name == "SHORT" || name == "SMALLINT" || name == "INTEGER2")
        return { SQL_SMALLINT, 5, 0, ValueClass::Integer, "SMALLINT" };
    if (name == "BYTE" || name == "TINYINT" || name == "INTEGER1")
        return { SQL_TINYINT, 3, 0, ValueClass::Integer, "BYTE" };
    if (name == "DOUBLE" || name == "FLOAT" || name == "FLOAT8" || name == "IEEEDOUBLE" || name == "NUMBER")
        return { SQL_DOUBLE, 53, 0, ValueClass::Real, "DOUBLE" };
    if (name == "SINGLE" || name == "REAL" || name == "FLOAT4" || name == "IEEESINGLE")
        return { SQL_REAL, 24, 0, ValueClass::Real, "REAL" };
    if (name == "CURRENCY" || name == "MONEY")
        return { SQL_NUMERIC, 19, 4, ValueClass::Real, "CURRENCY" };
    if (name == "DECIMAL" || name == "NUMERIC" || name == "DEC")
        return { SQL_NUMERIC, SizeIn(declaredType, 18), 0, ValueClass::Real, "DECIMAL" };
    if (name == "DATETIME" || name == "DATE" || name == "TIME" || name == "TIMESTAMP")
        return { SQL_TYPE_TIMESTAMP, 19, 0, ValueClass::DateTime, "DATETIME" };
    if (name == "GUID" || name == "UNIQUEIDENTIFIER")
        return { SQL_GUID, 36, 0, ValueClass::Text, "GUID" };
    if (name == "BINARY")
        return { SQL_BINARY, SizeIn(declaredType, 510), 0, ValueClass::Binary, "BINARY" };
    if (name == "VARBINARY")
        return { SQL_VARBINARY, SizeIn(declaredType, 510), 0, ValueClass::Binary, "VARBINARY" };
    if (name == "LONGBINARY" || name == "IMAGE" || name == "OLEOBJECT" || name == "GENERAL")
        return { SQL_LONGVARBINARY, kLongSize, 0, ValueClass::Binary, "LONGBINARY" };
    return { SQL_INTEGER, 10, 0, ValueClass::Integer, "INTEGER" };
}

ColumnType DescribeValueType(int sqliteType)
{
    switch (sqliteType) {
    case SQLITE_FLOAT:
        return { SQL_DOUBLE, 53, 0, ValueClass::Real, "DOUBLE" };
    case SQLITE_TEXT:
        return { SQL_WVARCHAR, 255, 0, ValueClass::Text, "VARCHAR" };
    case SQLITE_BLOB:
        return { SQL_LONGVARBINARY, kLongSize, 0, ValueClass::Binary, "LONGBINARY" };
    default:
        return { SQL_INTEGER, 10, 0, ValueClass::Integer, "INTEGER" };
    }
}

std::size_t TextLimit(const std::string& declaredType)
{
    const ColumnType type = DescribeDeclaredType(declaredType, false);
    return type.SqlType == SQL_WVARCHAR ? type.Size : 0;
}

} // namespace jetstandin
