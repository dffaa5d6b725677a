// What the driver says of itself: SQLGetInfo and SQLGetFunctions.
#pragma once

#include "Handles.h"

#include <string>

namespace jetstandin {

// Writes text into an application buffer, NUL-terminated, cut to fit. capacity counts bytes when
// capacityInBytes, else characters; *length (when given) gets the full length in the same unit as
// lengthInBytes says. Returns true when the text was cut.
bool PutText(const std::string& utf8, bool wide, SQLPOINTER buffer, SQLLEN capacity, bool capacityInBytes,
    SQLLEN* length, bool lengthInBytes);

SQLRETURN GetInfo(Connection& connection, SQLUSMALLINT infoType, SQLPOINTER value, SQLSMALLINT bufferLength,
    SQLSMALLINT* length, bool wide);
SQLRETURN GetFunctions(SQLUSMALLINT function, SQLUSMALLINT* supported);

} // namespace jetstandin
