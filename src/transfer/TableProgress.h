// How far every table has come, as the results grid of one copy shows it: the facts behind "which
// tables are late".
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <map>

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
    QList<qint32> Complete;       // those rounds, ascending
    qint32 HighestRound = 0;      // the highest round with any board received, 0 when none
    QList<MissingBoard> Missing;  // boards not received in rounds 1 to the current round, by round
};

struct TournamentProgress
{
    QList<TableProgress> Tables; // in grid order
    qint32 CurrentRound = 0;     // the highest round shown in any cell
    qint32 Received = 0;         // boards received at their tables, over the whole tournament
    qint32 Expected = 0;         // boards the tournament's tables play in all
};

// Which boards every table plays in which round: grid row -> round -> the grid columns of its boards.
using TournamentPlan = std::map<qint32, std::map<qint32, QList<qint32>>>;

// The plan of the tournament from RoundData (rdaTable is opened and closed here); rows of RoundData
// outside the grid are passed over. It does not change while the tournament runs, so it is read once.
[[nodiscard]] TournamentPlan ReadTournamentPlan(const TournamentModel& model, TTable& rdaTable);

// A board of a round counts as received at a table when that table's cell for the board shows that
// round. Reads the grid only.
[[nodiscard]] TournamentProgress TableProgressOf(
    const TournamentModel& model, const TournamentPlan& plan, const ResultGrid& grid);

// The plan read from RoundData and the progress of the grid against it.
[[nodiscard]] TournamentProgress ReadTableProgress(const TournamentModel& model, TTable& rdaTable, const ResultGrid& grid);

// Whether a table lacks a board of a round before the current one: it is late.
[[nodiscard]] bool IsLate(const TableProgress& table, qint32 currentRound);

// The lines of `kibic-cli tables`: label, TAB, complete rounds, TAB, highest round, TAB, the missing
// boards as ROUND:BOARD joined by "," (or "-"); then "runda", TAB, the current round.
[[nodiscard]] QStringList TableProgressLines(const TournamentProgress& progress);

} // namespace kibic
