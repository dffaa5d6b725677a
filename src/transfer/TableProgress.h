// How far every table has come, as the results grid of one copy shows it: the facts behind "which
// tables are late".
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kibic {

class ResultGrid;
class TTable;
class TournamentModel;

// A board of a round that the grid does not show as received at a table (its printed number).
struct MissingBoard
{
    qint32 Round = 0;
    qint32 Board = 0;

    friend bool operator==(const MissingBoard&, const MissingBoard&) = default;
};

struct TableProgress
{
    QString Label;                // the row label exactly as the grid shows it
    qint32 CompleteRounds = 0;    // rounds of the table whose boards are all received
    qint32 HighestRound = 0;      // the highest round with any board received, 0 when none
    QList<MissingBoard> Missing;  // boards not received in rounds 1 to the current round, by round
};

struct TournamentProgress
{
    QList<TableProgress> Tables; // in grid order
    qint32 CurrentRound = 0;     // the highest round shown in any cell
};

// A board of a round counts as received at a table when that table's cell for the board shows that
// round. Which boards a table plays in which round comes from RoundData (rdaTable is opened and closed
// here); rows of RoundData outside the grid are passed over.
[[nodiscard]] TournamentProgress ReadTableProgress(const TournamentModel& model, TTable& rdaTable, const ResultGrid& grid);

// The lines of `kibic-cli tables`: label, TAB, complete rounds, TAB, highest round, TAB, the missing
// boards as ROUND:BOARD joined by "," (or "-"); then "runda", TAB, the current round.
[[nodiscard]] QStringList TableProgressLines(const TournamentProgress& progress);

} // namespace kibic
