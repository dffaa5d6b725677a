// How the Jet 4.0 ODBC driver describes a column of each Jet type.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

namespace jetstandin {

enum class ValueClass { Integer, Real, Text, YesNo, DateTime, Binary };

struct ColumnType
{
    SQLSMALLINT SqlType = SQL_INTEGER; // ODBC 3 codes; SQL_TYPE_TIMESTAMP becomes SQL_TIMESTAMP for ODBC 2
    SQLULEN Size = 10; // characters of a text, digits of a number
    SQLSMALLINT Digits = 0;
    ValueClass Class = ValueClass::Integer;
    std::string TypeName = "INTEGER"; // SQL_DESC_TYPE_NAME as Access names the type
};

// The description of a column declared as declaredType in the SQLite file (as JetSql.cpp writes it),
// "Microsoft Access Data Types" (ODBC Desktop Database Drivers): TEXT -> SQL_WVARCHAR with its size
// (Unicode and Access 4.0 applications), MEMO/LONGTEXT -> SQL_WLONGVARCHAR, BIT (Yes/No) -> SQL_BIT,
// COUNTER and LONG (INTEGER) -> SQL_INTEGER, SHORT -> SQL_SMALLINT, BYTE -> SQL_TINYINT, DOUBLE ->
// SQL_DOUBLE, SINGLE -> SQL_REAL, CURRENCY -> SQL_NUMERIC, DATETIME -> SQL_TIMESTAMP (Jet has one
// date/time type, so DATE and TIME columns are described alike), GUID -> SQL_GUID, BINARY/VARBINARY/
// LONGBINARY -> SQL_BINARY/SQL_VARBINARY/SQL_LONGVARBINARY. counter marks an AUTOINCREMENT column.
[[nodiscard]] ColumnType DescribeDeclaredType(const std::string& declaredType, bool counter);

// A computed column (COUNT(*), MAX(ID), @@IDENTITY) described by the SQLite type of its value.
[[nodiscard]] ColumnType DescribeValueType(int sqliteType);

// The text size of a declared TEXT(n) column; 0 when the column has no limit the driver checks.
[[nodiscard]] std::size_t TextLimit(const std::string& declaredType);

} // namespace jetstandin
