// What the results grid tells the director beyond its round numbers: the tooltips of the data cells and
// of the row labels, and the line under the status label.
#pragma once

#include "transfer/ResultGrid.h"
#include "transfer/TableProgress.h"

#include <QString>
#include <QStringList>

namespace kibic {

class SessionDeals;
class TScoreProvider;

// The tooltip of a data cell. tableLabel is the row label (it is trimmed here), board the printed number.
// A transferred entry: contract, declarer, result, lead, the score from North-South, and when it was keyed
// in, after the reason and the proposed correction when the check of results finds it suspicious; with the session's deals, the result against the deal's double-dummy tricks (DoubleDummyHint). An empty
// cell: why it is empty.
[[nodiscard]] QString CellHint(const QString& tableLabel, const QString& board, const CellEntry& entry,
    const TScoreProvider& scorer, const SessionDeals* deals = nullptr);

// The result against the tricks the declarer takes double dummy: "4♠ N: na obiegu 10 lew, zagrano 9". Empty
// when the entry is no contract played by a declarer, or the board has no analysed deal in the section.
[[nodiscard]] QString DoubleDummyHint(const ReceivedResult& received, const SessionDeals& deals);

// The tooltip of a data cell that never held an entry.
[[nodiscard]] QString EmptyCellHint(const QString& tableLabel, const QString& board);

// The tooltip of a row label, for example "A3: rundy 1-4 komplet; brak: 5:13, 5:14": the rounds whose boards
// have all arrived and the boards missing up to the current round as ROUND:BOARD.
[[nodiscard]] QString RowLabelHint(const TableProgress& table, qint32 currentRound);

// The labels (trimmed) of the tables that lack a board of a round before the current one.
[[nodiscard]] QStringList LateTables(const TournamentProgress& progress);

// The line under the status label: head (the time of the pass and what it did), the results received
// against the tournament's total, the suspicious results when there are any ("podejrzane: 2"), and the late
// tables.
[[nodiscard]] QString ProgressLine(const QString& head, const TournamentProgress& progress, int suspicious = 0);

} // namespace kibic
