// The codes that tell a lock, or a lost connection, from every other failure of a driver.
#include "scoringdb/DatabaseFailures.h"

#include <QStringView>
#include <algorithm>
#include <array>
#include <optional>

namespace kibic {

namespace {

struct CodeEntry
{
    qint64 Code;
    DatabaseFailureKind Kind;
};

struct StateEntry
{
    QStringView State;
    DatabaseFailureKind Kind;
};

using enum DatabaseFailureKind;

// SQLite's result codes, as SQLite itself reports them and as its ODBC driver passes them on as the
// native code ("Result and Error Codes", sqlite.org/rescode.html): SQLITE_BUSY (5) and SQLITE_LOCKED (6),
// and their extended forms BUSY_RECOVERY (261), LOCKED_SHAREDCACHE (262), LOCKED_VTAB (518),
// BUSY_SNAPSHOT (517), BUSY_TIMEOUT (773).
constexpr std::array kSqliteCodes {
    CodeEntry { 5, Busy },
    CodeEntry { 6, Busy },
    CodeEntry { 261, Busy },
    CodeEntry { 262, Busy },
    CodeEntry { 517, Busy },
    CodeEntry { 518, Busy },
    CodeEntry { 773, Busy },
};

// The Jet engine's own error numbers (Microsoft's Access error reference, jeterr40.chm; the OLE DB
// provider and DAO give them as they are, some drivers and logs with a minus sign):
//   3006 Database is exclusively locked.
//   3008 The table is already opened exclusively by another user.
//   3009 You tried to lock table while opening it, but the table cannot be locked because it is in use.
//   3045 Could not use; file already in use.
//   3050 Could not lock file.
//   3158 Could not save record; currently locked by another user.
//   3164 The field cannot be updated because another user or process has locked the record or table.
//   3186 Could not save; currently locked by user on machine.
//   3187 Could not read; currently locked by user on machine.
//   3188 Could not update; currently locked by another session on this machine.
//   3189 Table is exclusively locked by user on machine.
//   3197 The data has been changed: another user edited this record and saved the changes first.
//   3202 Could not save; currently locked by another user.
//   3211 The database engine could not lock table because it is already in use by another person or process.
//   3212 Could not lock table; currently in use by user on machine.
//   3218 Could not update; currently locked.
//   3260 Could not update; currently locked by user on machine.
//   3261 Table is exclusively locked by user on machine.
//   3356 You attempted to open a database that is already opened exclusively by user on machine.
//   3624 Could not read the record; currently locked by another user.
//   3704 You attempted to open a database that is already opened by user on machine.
//   3734 The database has been placed in a state by user on machine that prevents it from being opened or
//        locked (also "by an unknown user": Microsoft KB "PRB: Error -2147467259 when you try to open the
//        same MDB file from multiple instances": Jet's lock retries ran out under load).
//   3043 Disk or network error: the file's share went away, the connection is no good any more.
constexpr std::array kJetEngineCodes {
    CodeEntry { 3006, Busy },
    CodeEntry { 3008, Busy },
    CodeEntry { 3009, Busy },
    CodeEntry { 3045, Busy },
    CodeEntry { 3050, Busy },
    CodeEntry { 3158, Busy },
    CodeEntry { 3164, Busy },
    CodeEntry { 3186, Busy },
    CodeEntry { 3187, Busy },
    CodeEntry { 3188, Busy },
    CodeEntry { 3189, Busy },
    CodeEntry { 3197, Busy },
    CodeEntry { 3202, Busy },
    CodeEntry { 3211, Busy },
    CodeEntry { 3212, Busy },
    CodeEntry { 3218, Busy },
    CodeEntry { 3260, Busy },
    CodeEntry { 3261, Busy },
    CodeEntry { 3356, Busy },
    CodeEntry { 3624, Busy },
    CodeEntry { 3704, Busy },
    CodeEntry { 3734, Busy },
    CodeEntry { 3043, ConnectionLost },
};

// The Jet ODBC driver's native codes: the engine's internal (ISAM) error numbers, negative ("ODBC Jet
// Error Messages"; Jet Programmer's Guide, "Error Handling": the native code tells what the general
// SQLSTATE does not). Published reports of the same engine: [HY000][-1032] "cannot open or write to the
// file ... already opened exclusively by another user"; [42000][-1809] "database or object is read-only"
// (no lock: the operator has to act). The other numbers below are those of the engine family's published
// error list (JET_errWriteConflict -1102, JET_errSessionWriteConflict -1111, JET_errDatabaseLocked -1207
// for a file "placed in a state that prevents it from being opened or locked", JET_errTableLocked -1302,
// JET_errTableInUse -1303, JET_errDiskIO -1022), which -1032 (JET_errFileAccessDenied) and -1809
// (JET_errPermissionDenied) match; no Access driver here can confirm them, so `kibic-cli sprawdz` provokes
// a lock on the director's PC and shows what the driver gives.
constexpr std::array kJetIsamCodes {
    CodeEntry { -1032, Busy },
    CodeEntry { -1102, Busy },
    CodeEntry { -1111, Busy },
    CodeEntry { -1207, Busy },
    CodeEntry { -1302, Busy },
    CodeEntry { -1303, Busy },
    CodeEntry { -1022, ConnectionLost },
};

// SQLSTATEs that mean the same whatever the driver (ODBC Programmer's Reference, Appendix A):
//   40001 serialization failure (the transaction lost a lock conflict and was rolled back)
//   HYT00 / S1T00 timeout expired (a lock was waited for as long as the driver waits)
//   08S01 communication link failure, 08003 connection not open, 08007 connection failure during
//   transaction: the connection is gone.
constexpr std::array kStates {
    StateEntry { u"40001", Busy },
    StateEntry { u"HYT00", Busy },
    StateEntry { u"S1T00", Busy },
    StateEntry { u"08S01", ConnectionLost },
    StateEntry { u"08003", ConnectionLost },
    StateEntry { u"08007", ConnectionLost },
};

template <std::size_t N>
std::optional<DatabaseFailureKind> Find(const std::array<CodeEntry, N>& entries, qint64 code)
{
    const auto found
        = std::find_if(entries.begin(), entries.end(), [code](const CodeEntry& entry) { return entry.Code == code; });
    if (found == entries.end())
        return std::nullopt;
    return found->Kind;
}

std::optional<DatabaseFailureKind> KindOf(DriverFamily family, const DriverDiagnostic& record)
{
    if (family == DriverFamily::Sqlite) {
        if (auto kind = Find(kSqliteCodes, record.NativeCode))
            return kind;
    } else {
        if (auto kind = Find(kJetIsamCodes, record.NativeCode))
            return kind;
        if (auto kind = Find(kJetEngineCodes, record.NativeCode < 0 ? -record.NativeCode : record.NativeCode))
            return kind;
    }
    const auto state = std::find_if(kStates.begin(), kStates.end(),
        [&record](const StateEntry& entry) { return entry.State.compare(record.SqlState, Qt::CaseInsensitive) == 0; });
    if (state != kStates.end())
        return state->Kind;
    return std::nullopt;
}

} // namespace

DatabaseFailureKind ClassifyDatabaseFailure(DriverFamily family, const QList<DriverDiagnostic>& records)
{
    for (const DriverDiagnostic& record : records) {
        if (const auto kind = KindOf(family, record))
            return *kind;
    }
    return Other;
}

} // namespace kibic
