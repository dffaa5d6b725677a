// The check of the results that reached ZyRT: every latest entry of a play held against the other tables of
// its board, against the deal when the session has one, and against the pairs the movement seats at the
// table. Nothing is written anywhere: a finding is for the director, who confirms a correction or not.
#pragma once

#include "deals/Deal.h"
#include "tournament/Contract.h"
#include "transfer/ResultConversion.h"
#include "transfer/ScoreCorrection.h"

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace kibic {

class ResultGrid;
class SessionDeals;
class TournamentModel;
class TScoreProvider;

enum class FindingKind { Side, Declarer, Tricks, Board, Pairs, Outlier };

// The fixed English word of kibic-cli check: "side", "declarer", "tricks", "board", "pairs", "outlier".
[[nodiscard]] QString FindingKindWord(FindingKind kind);

struct ResultFinding
{
    FindingKind Kind = FindingKind::Outlier;
    qint32 Section = 0; // section number as in ReceivedData
    qint32 Table = 0;
    qint32 Round = 0;
    qint32 Board = 0;
    QString Reason; // Polish, one sentence, e.g. "rozgrywający po stronie NS, a na pozostałych stołach ..."
    std::optional<ScoreCorrection> Proposed; // the corrected record as the correction window (TForm4) shows it
    QString ProposedNotation; // Proposed in the correction window's contract notation, empty when none
};

// A received row as the check reads it: its contract, tricks and score read from the texts once, when the
// row reaches its cell, so that the check after a pass reads no text of a result it finds nothing in.
struct PlayReading
{
    // Whether the check judges the row at all: not an erasure, "Not played", a split score or a contract
    // that cannot be scored.
    bool Judged = false;
    std::optional<Contract> Bid; // none for a passed-out board
    Seat Declarer = Seat::North;
    int Tricks = 0; // taken by the declarer
    int Result = 0; // the result as keyed: overtricks, 0 made, or tricks down as a negative number
    int NsScore = 0;
    std::optional<Card> Lead;
};

[[nodiscard]] PlayReading ReadPlay(const ReceivedResult& row, const TScoreProvider& scorer);

// One entry that reached ZyRT: the latest transferred row of its play, with the pairs the terminal sent
// and those the movement seats at its table in its round (0 where unknown).
struct CheckedResult
{
    ReceivedResult Received;
    qint32 PairNS = 0; // as the row gives it; 0 when the terminals do not send it
    qint32 PairEW = 0;
    qint32 MovementNS = 0; // RoundData's NSPair and EWPair of the row's section, table and round; 0 unknown
    qint32 MovementEW = 0;
};

// Checks the entries (one per play) against each other, against the deals when given (null or empty: the
// field alone judges) and against the movement. At most one finding a play, the one that explains most: a
// record of another board of the round, then the declarer that the lead or the deal shows, then tricks far
// from the deal, then a score outside the field, then pairs the movement does not seat there. Ordered by
// section, table, round and board.
[[nodiscard]] std::vector<ResultFinding> CheckResults(
    const std::vector<CheckedResult>& results, const SessionDeals* deals, const TScoreProvider& scorer);

// Runs the check over a grid that keeps entries and sets each checked cell's Suspicion. Only the boards of
// the given grid columns are checked again (their field changed), with the other boards of the same rounds
// at the same tables (a record keyed on the wrong board is seen from both); without columns, every column.
// Returns how many cells of the whole grid are suspicious.
qint32 CheckGrid(ResultGrid& grid, const std::optional<std::vector<qint32>>& columns, const SessionDeals* deals,
    const TScoreProvider& scorer);

// How many data cells of a grid that keeps entries are suspicious now.
[[nodiscard]] qint32 SuspiciousCells(const ResultGrid& grid);

} // namespace kibic
