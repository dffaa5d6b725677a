// Building a fresh scoring database from the tournament in the model: tables, seats, sections, the
// movement round by round and the terminals' options.
#pragma once

#include "tournament/TournamentModel.h"

#include <QString>
#include <functional>
#include <vector>

namespace kibic {

class Operator;

// One section of the database: the ordinary sections 1..SectionCount, then the non-typical part, which
// is one section SectionCount+1 of ExtraTableCount tables (none when ExtraTableCount <= 0), or, in an
// individual event with ExtraSectionCount >= 1, ExtraSectionCount sections of
// ExtraTableCount div ExtraSectionCount tables each.
struct DatabaseSection
{
    qint32 Number = 0;
    qint32 Tables = 0;
    friend bool operator==(const DatabaseSection&, const DatabaseSection&) = default;
};

[[nodiscard]] std::vector<DatabaseSection> DatabaseSections(const TournamentModel& model);

// TournamentBase + ".bws".
[[nodiscard]] QString ScoringDatabaseFileName(const TournamentModel& model);

// The name a database is built under until it is whole: the same folder, "~" before the file's name.
[[nodiscard]] QString BuildingFileName(const QString& file);

// Raises KibicError (naming the tournament) when the model cannot fill a database: a movement or a
// board numbering shorter than the rows need, in particular an individual event whose movement has
// fewer than ExtraSectionCount x RoundCount slots after the ordinary ones.
void CheckModelFillsDatabase(const TournamentModel& model);

// Writes the rows of Tables, PlayerNumbers, [Section], RoundData and Settings into the existing,
// empty database fileName, each table emptied first and filled row by row in one transaction.
// Raises KibicError on the first failure.
void FillScoringDatabase(const TournamentModel& model, const QString& fileName);

// The filling step of a build; FillScoringDatabase unless a test puts a failing one in its place.
using DatabaseFiller = std::function<void(const TournamentModel& model, const QString& fileName)>;

// Builds TournamentBase + ".bws" for the tournament just read: sets OpenedExisting to false, asks
// before overwriting an existing file (about one that may hold results received from the tables with
// "&Nie" in focus, and then keeps a copy of it beside it, saying so), creates and fills the database
// under BuildingFileName and gives it its own name only when it is whole. Returns true when the file was
// built (the caller then opens it with OpenScoringDatabase). False when the operator kept the old file
// or when building failed; the operator has then been told why, the normal cursor is back and no
// half-filled file is left behind.
[[nodiscard]] bool BuildScoringDatabase(
    TournamentModel& model, Operator& op, const DatabaseFiller& fill = FillScoringDatabase);

} // namespace kibic
