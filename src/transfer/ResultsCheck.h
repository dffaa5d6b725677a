// The check of the results that reached ZyRT: every latest entry of a play held against the other tables of
// its board, against the deal when the session has one, and against the pairs the movement seats at the
// table. Nothing is written anywhere: a finding is for the director, who confirms a correction or not.
#pragma once

#include "transfer/ResultConversion.h"
#include "transfer/ScoreCorrection.h"

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace kibic {

class SessionDeals;
class TScoreProvider;

// In the order a cell shows them: a cell with more than one finding shows the first.
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
// field alone judges) and against the movement. Returns the findings ordered by section, table, round,
// board and kind; a play can have findings of more than one kind.
[[nodiscard]] std::vector<ResultFinding> CheckResults(
    const std::vector<CheckedResult>& results, const SessionDeals* deals, const TScoreProvider& scorer);

} // namespace kibic
