// The limits and checked access that keep a damaged tournament description from breaking the reading.
#pragma once

#include "tournament/TournamentModel.h"

#include <QString>
#include <QtGlobal>

namespace kibic {

// The most array elements (participant numbers, board numbers and movement entries together, and
// equally contract records) that a tournament may need. Real tournaments need a few thousand; a
// description that asks for more than this is damaged, and is refused before anything is allocated.
inline constexpr qint64 MaxTournamentElements = 2'000'000;

// Raises KibicError: "Błąd w pliku FILE: WHAT."
[[noreturn]] void FailDescription(const QString& fileName, const QString& what);

// The counts of numbers 1-14 of a description (tables, rounds, boards per round, sections, participants,
// result slots per board, boards): none may be negative or beyond the limit, nor may the contract
// records they give (ResultsPerBoard * BoardCount).
void CheckHeaderCounts(const TournamentModel& model, const QString& fileName);

// A tournament has at least one table in a section, one round, and one board in a round and in all: a
// header without one of them belongs to a damaged file.
void CheckSomethingToPlay(const TournamentModel& model, const QString& fileName);

// The extra tables and sectors, and the size of the arrays the whole description needs, with
// seatsPerTable participant positions at every ordinary table (2 pairs, 4 players).
void CheckMovementSize(const TournamentModel& model, const QString& fileName, qint64 seatsPerTable);

// ParticipantNumbers to ParticipantCount + 1 elements (element 0 is 0), Movement to TableCount + 1 board
// sets of SectionCount * RoundCount + ExtraTableCount + 1 slots. Existing elements keep their values.
// The counts must have passed the checks above.
void SizeParticipantNumbers(TournamentModel& model);
void SizeMovement(TournamentModel& model);

// The pair or player at a position of the participant list; a position outside 0..ParticipantCount
// stops the reading (position 0 is the unused element 0 and gives 0).
[[nodiscard]] qint32 ParticipantAt(const TournamentModel& model, qint64 position, const QString& fileName);

// The entry of a board set at a slot; one outside Movement stops the reading.
[[nodiscard]] MovementEntry& EntryAt(TournamentModel& model, qint64 boardSet, qint64 slot, const QString& fileName);

// A seat or table number moved round a section of count tables: brought into 1..count. For the steps a
// section really uses (less than a whole lap) this is a single lap added or taken away. count >= 1.
[[nodiscard]] qint32 WrapAround(qint64 value, qint32 count);

} // namespace kibic
