// The call trace: one tab-separated line per call, appended to the file KIBIC_JET_TRACE names.
//
// Every line is written with one write() on an O_APPEND descriptor, so processes sharing the file never
// mix their lines. Fields (text fields escaped: \\ \t \n \r \0):
//   connect     pid  length as given (or nts)  the connection string as given
//   prepare     pid  TextLength as given (or nts)  the statement text as given
//   execdirect  pid  TextLength as given (or nts)  the statement text as given
//   bind        pid  parameter number  C type  SQL type  ColumnSize  BufferLength  StrLen_or_Ind
//                    (the indicator's value at the call: a number, null, nts, or none without one)
//   execute     pid  rows affected (-1 when none are counted)
//   autocommit  pid  on|off
//   endtran     pid  commit|rollback
//   disconnect  pid
//   config      pid  the attributes, each ended by \0
//   error       pid  SQLSTATE  native code
#pragma once

#include <initializer_list>
#include <string>

namespace jetstandin {

// Writes one line of fields; nothing happens when KIBIC_JET_TRACE is not set.
void TraceLine(std::initializer_list<std::string> fields);

// The length field of a text argument: "nts" for SQL_NTS, the number otherwise.
[[nodiscard]] std::string TraceLength(long length);

} // namespace jetstandin
