// ZyRT's identifier list (.LU2 / .LU1) and name list (.LUC / .LZA), written from the player list.
#pragma once

#include "common/Operator.h"
#include "players/PlayerEntries.h"

#include <QByteArray>
#include <QString>

namespace kibic {

// Identifier list: text, lines ending with CR LF, bytes as in the player database (Windows-1250).
//   LINES          CONTENT
//   1..11          "?"
//   then 8 lines per entry, in list order:
//     1            ParticipantNo in decimal
//     2..8         FirstName, Surname, Wk, Region, Info, Club, Id
// Lines 2..8 hold the field trimmed; an empty field is "?"; a field with a space is put between double
// quotes, nothing escaped inside.
[[nodiscard]] QByteArray IdentifierListBytes(const PlayerEntries& entries);

// Name list: one 26-byte record per entry in list order, no header, no line ends.
//   OFFSET SIZE  FIELD
//      0    17   name      initial of FirstName, " ", Surname; "?" removed; padded right with spaces
//     17     4   Wk        "?" removed; padded left with spaces
//     21     5   Region    "?" removed; padded right with spaces
// Each field is cut to its size. With convertLetters the name's Windows-1250 Polish letters become
// ZyRT's codes (names from the player database); names from ZyRT's names file are in its codes already.
[[nodiscard]] QByteArray NameRecord(const PlayerEntry& entry, bool convertLetters);
[[nodiscard]] QByteArray NameListBytes(const PlayerEntries& entries, bool convertLetters);

// Where a list went: written, or left as it was because the operator declined to overwrite it.
struct ListFileResult
{
    QString FileName;
    bool Written = false;
};

// The lists beside the tournament's files: TournamentBase + ".LU2" / ".LUC" in a pairs event, ".LU1" /
// ".LZA" in an individual one (an existing file keeps the letter case of its name). An existing file is
// overwritten only after the operator answers "&Tak" to the question "<file> istnieje.\nNadpisać?". The
// whole file is replaced at once; a file that cannot be written raises KibicError naming it.
ListFileResult WriteIdentifierList(
    const PlayerEntries& entries, const QString& tournamentBase, bool pairsEvent, Operator& op);
ListFileResult WriteNameList(
    const PlayerEntries& entries, const QString& tournamentBase, bool pairsEvent, bool convertLetters, Operator& op);

} // namespace kibic
