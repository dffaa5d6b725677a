// What a failure of the database driver means for Kibic, decided by the driver's codes: its texts are in
// the language of the Windows installation (Polish on a director's PC) and cannot be matched.
#pragma once

#include "common/KibicError.h"

#include <QList>

namespace kibic {

// Whose codes the diagnostics carry: SQLite's result codes (directly or through its ODBC driver), or the
// Jet engine's (the Access ODBC driver).
enum class DriverFamily { Sqlite, Jet };

enum class DatabaseFailureKind {
    Other,          // the operator has to act (or the next pass may be luckier, but nothing says so)
    Busy,           // the other program holds the file, a table or a row: try again a little later
    ConnectionLost, // the connection itself is gone: open it again
};

// The kind of a failure from all its diagnostic records: the first record that names a kind decides.
[[nodiscard]] DatabaseFailureKind ClassifyDatabaseFailure(DriverFamily family, const QList<DriverDiagnostic>& records);

} // namespace kibic
