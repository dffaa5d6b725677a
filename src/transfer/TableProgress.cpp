// The tables' progress read off the results grid and the rounds of RoundData.
#include "transfer/TableProgress.h"

#include "scoringdb/TTable.h"
#include "tournament/TournamentModel.h"
#include "transfer/ResultConversion.h"
#include "transfer/ResultGrid.h"
#include "transfer/ScoringRows.h"

#include <QScopeGuard>
#include <algorithm>

namespace kibic {

namespace {

// The grid columns of the boards one round row plays: the positions of its board set, or, without the
// board-set columns, the positions of the printed numbers from LowBoard to HighBoard.
QList<qint32> ColumnsOfRound(const TournamentModel& model, const RoundDataRow& round)
{
    QList<qint32> columns;
    if (round.BoardSetColumnsRead && round.BoardSet >= 1 && model.BoardsPerRound >= 1) {
        const qint64 first = (qint64(round.BoardSet) - 1) * model.BoardsPerRound;
        for (qint64 column = first + 1; column <= first + model.BoardsPerRound && column <= model.BoardCount; ++column)
            columns.append(static_cast<qint32>(column));
        return columns;
    }
    for (qint64 board = round.LowBoard; board <= round.HighBoard && columns.size() < model.BoardCount; ++board) {
        const qint32 column = GridColumnOf(model, round, static_cast<qint32>(board));
        if (column >= 1 && !columns.contains(column))
            columns.append(column);
    }
    return columns;
}

} // namespace

TournamentPlan ReadTournamentPlan(const TournamentModel& model, TTable& rdaTable)
{
    TournamentPlan plans;
    rdaTable.SetFilter({});
    const auto close = qScopeGuard([&rdaTable] { rdaTable.Close(); });
    rdaTable.Open();
    for (rdaTable.First(); !rdaTable.Eof(); rdaTable.Next()) {
        const qint32 row = GridRowOf(model, rdaTable.FieldAsInteger(QStringLiteral("Section")),
            rdaTable.FieldAsInteger(QStringLiteral("Table")));
        if (row < 1 || row > model.GridTableCount)
            continue;
        plans[row][rdaTable.FieldAsInteger(QStringLiteral("Round"))] = ColumnsOfRound(model, ReadRoundDataRow(rdaTable));
    }
    return plans;
}

namespace {

qint32 CurrentRoundOf(const TournamentModel& model, const ResultGrid& grid)
{
    qint32 current = 0;
    for (int row = 1; row <= model.GridTableCount && row < grid.RowCount(); ++row) {
        for (int column = 1; column <= model.BoardCount && column < grid.ColumnCount(); ++column) {
            bool isNumber = false;
            const qint32 round = grid.Cell(column, row).toInt(&isNumber);
            if (isNumber)
                current = std::max(current, round);
        }
    }
    return current;
}

qint32 PrintedBoard(const TournamentModel& model, qint32 column)
{
    return column >= 1 && static_cast<size_t>(column) < model.BoardNumbers.size()
        ? model.BoardNumbers[static_cast<size_t>(column)]
        : column;
}

} // namespace

TournamentProgress TableProgressOf(const TournamentModel& model, const TournamentPlan& plans, const ResultGrid& grid)
{
    TournamentProgress progress;
    progress.CurrentRound = CurrentRoundOf(model, grid);
    for (int row = 1; row <= model.GridTableCount && row < grid.RowCount(); ++row) {
        TableProgress table;
        table.Label = grid.Cell(0, row);
        const auto plan = plans.find(row);
        if (plan != plans.end()) {
            for (const auto& [round, columns] : plan->second) {
                const QString shown = QString::number(round);
                bool all = !columns.isEmpty();
                for (const qint32 column : columns) {
                    const bool received = column < grid.ColumnCount() && grid.Cell(column, row) == shown;
                    all = all && received;
                    ++progress.Expected;
                    if (received) {
                        ++progress.Received;
                        table.HighestRound = std::max(table.HighestRound, round);
                    } else if (round <= progress.CurrentRound) {
                        table.Missing.append({round, PrintedBoard(model, column)});
                    }
                }
                if (all)
                    table.Complete.append(round);
            }
        }
        table.CompleteRounds = static_cast<qint32>(table.Complete.size());
        progress.Tables.append(table);
    }
    return progress;
}

TournamentProgress ReadTableProgress(const TournamentModel& model, TTable& rdaTable, const ResultGrid& grid)
{
    return TableProgressOf(model, ReadTournamentPlan(model, rdaTable), grid);
}

bool IsLate(const TableProgress& table, qint32 currentRound)
{
    return std::any_of(table.Missing.begin(), table.Missing.end(),
        [currentRound](const MissingBoard& board) { return board.Round < currentRound; });
}

QStringList TableProgressLines(const TournamentProgress& progress)
{
    QStringList lines;
    for (const TableProgress& table : progress.Tables) {
        QStringList missing;
        for (const MissingBoard& board : table.Missing)
            missing.append(QStringLiteral("%1:%2").arg(board.Round).arg(board.Board));
        lines.append(QStringList{table.Label, QString::number(table.CompleteRounds), QString::number(table.HighestRound),
            missing.isEmpty() ? QStringLiteral("-") : missing.join(QLatin1Char(','))}
                         .join(QLatin1Char('\t')));
    }
    lines.append(QStringLiteral("runda\t") + QString::number(progress.CurrentRound));
    return lines;
}

} // namespace kibic
