// Values between the application's buffers and SQLite: bound parameters in, SQLGetData out.
#pragma once

#include "Handles.h"

#include <string>

namespace jetstandin {

struct SqlValue
{
    enum class Kind { Null, Integer, Real, Text, Blob } Kind = Kind::Null;
    sqlite3_int64 Integer = 0;
    double Real = 0;
    std::string Bytes; // Text: UTF-8, every character given (a NUL too); Blob: the bytes
};

// Reads parameter number's buffer at execution. Lengths are taken as the application gives them:
// "SQLBindParameter", StrLen_or_IndPtr: the length of the parameter value, SQL_NTS for a
// null-terminated one, SQL_NULL_DATA for NULL; so a length that counts a terminating NUL stores it.
// Dates and times become Jet's one Date/Time type as 'YYYY-MM-DD HH:MM:SS', a time alone on Jet's day
// zero 1899-12-30 ("Jet Date, Time, and Timestamp Literals"; Access stores a time as a fraction of
// day 0, 30 December 1899).
SQLRETURN ReadParameter(Statement& statement, const BoundParameter& parameter, SqlValue& value);

// SQLGetData of column (1-based) on the current row, converted as "Converting Data from SQL to C Data
// Types" (ODBC Appendix D) says: a long text comes in pieces, each call returning 01004 and the length
// still to come until the last; a Yes/No column is an SQL_BIT, 1 or 0; NULL is SQL_NULL_DATA.
SQLRETURN DeliverColumn(Statement& statement, SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER target,
    SQLLEN bufferLength, SQLLEN* indicator);

} // namespace jetstandin
