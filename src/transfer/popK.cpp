// Marks and corrections of received scores, acting on the scoring database and the grid.
#include "transfer/popK.h"

#include "common/uNapisy.h"
#include "scoringdb/TQuery.h"
#include "transfer/GridLayout.h"
#include "transfer/Polling.h"
#include "transfer/ResultConversion.h"

namespace kibic {

namespace {

QString LatestRecordStatement(qint32 section, qint32 table, qint32 board, qint32 round, const QString& erased)
{
    return QStringLiteral("SELECT MAX(`ID`) FROM `ReceivedData` WHERE `Section`=%1 AND `Table`=%2 AND `Board`=%3 "
                          "AND `Round`=%4 AND `Erased`")
               .arg(section)
               .arg(table)
               .arg(board)
               .arg(round)
        + erased;
}

qint64 QueryInteger(const TTable& recTable, const QString& statement)
{
    TQuery query(recTable.ConnectionString());
    query.SetSql(statement);
    return query.OpenFirstInteger();
}

bool IsWholeNumber(const QString& text)
{
    bool ok = false;
    (void)text.trimmed().toInt(&ok);
    return ok;
}

// The common start of the two cell actions. Returns the cell's reference when the action goes on; the
// caller then runs its own steps and CellActionEnd.
struct CellActionStart
{
    bool Proceed = false; // the action's own steps run
    bool Stopped = false; // polling was stopped and must be restored at the end
    bool WasPolling = false;
    CellRef Ref;
};

CellActionStart BeginCellAction(GridActionContext& context)
{
    CellActionStart start;
    TournamentModel& model = context.Model;
    if (model.Busy)
        return start;
    if (!model.CellClicked) {
        model.CellClicked = true;
        return start;
    }
    if (context.X < 1 || context.Y < 1 || context.X >= context.Grid.ColumnCount()
        || context.Y >= context.Grid.RowCount())
        return start;
    const QString cellText = context.Grid.Cell(context.X, context.Y);
    if (!IsWholeNumber(cellText))
        return start;
    start.WasPolling = context.Polling.PollingOn();
    context.Polling.SetPolling(false);
    start.Stopped = true;
    start.Ref = CellRefOf(model, context.X, context.Y, context.Grid.Cell(0, context.Y), cellText);
    if (!start.Ref.Usable || !start.Ref.HasRound)
        return start;
    context.RdaTable.Open();
    start.Proceed = context.RdaTable.Locate(QStringLiteral("Section;Table;Round;custom_Komp"),
        { start.Ref.Section, start.Ref.Table, start.Ref.Round, start.Ref.BoardSet });
    return start;
}

void EndCellAction(GridActionContext& context, const CellActionStart& start)
{
    context.RdaTable.Close();
    if (start.Stopped && start.WasPolling)
        context.Polling.SetPolling(true);
}

} // namespace

QString LatestLiveRecordStatement(qint32 section, qint32 table, qint32 board, qint32 round)
{
    return LatestRecordStatement(section, table, board, round, QStringLiteral("=0"));
}

QString LatestErasureStatement(qint32 section, qint32 table, qint32 board, qint32 round)
{
    return LatestRecordStatement(section, table, board, round, QStringLiteral("<>0"));
}

QString ClearAllMarksStatement(qint32 processedColumnNo)
{
    QString statement = QStringLiteral("UPDATE `ReceivedData` SET `Processed");
    if (processedColumnNo != 0)
        statement += QString::number(processedColumnNo);
    return statement + QStringLiteral("`=0");
}

void ClearGridCells(ResultGrid& grid)
{
    for (int row = 1; row < grid.RowCount(); ++row)
        for (int column = 1; column < grid.ColumnCount(); ++column)
            grid.SetCell(column, row, QString());
}

void ClearCellMark(GridActionContext context)
{
    const CellActionStart start = BeginCellAction(context);
    if (start.Proceed) {
        const CellRef& ref = start.Ref;
        const qint64 id
            = QueryInteger(context.RecTable, LatestLiveRecordStatement(ref.Section, ref.Table, ref.Board, ref.Round));
        context.RecTable.SetFilter({});
        context.RecTable.Open();
        if (context.RecTable.Locate(QStringLiteral("ID"), { id })) {
            context.RecTable.Edit();
            context.RecTable.SetField(ProcessedColumnName(context.Model.ProcessedColumnNo), false);
            context.RecTable.Post();
            context.Grid.SetCell(context.X, context.Y, QString());
        }
        context.RecTable.Close();
    }
    if (start.Stopped)
        EndCellAction(context, start);
}

void CorrectCellRecord(GridActionContext context, CorrectionEditor& editor)
{
    const CellActionStart start = BeginCellAction(context);
    if (start.Proceed) {
        const CellRef& ref = start.Ref;
        qint64 id
            = QueryInteger(context.RecTable, LatestLiveRecordStatement(ref.Section, ref.Table, ref.Board, ref.Round));
        const qint64 erasure
            = QueryInteger(context.RecTable, LatestErasureStatement(ref.Section, ref.Table, ref.Board, ref.Round));
        if (erasure > id)
            id = -1; // the last entry at the table was an erasure: nothing to correct
        TTable& record = context.RecTable;
        record.SetFilter({});
        record.Open();
        if (record.Locate(QStringLiteral("ID"), { id })) {
            const QString remark = EffectiveRemark(record.FieldAsString(QStringLiteral("Remarks")));
            ScoreCorrection correction;
            correction.RoundCaption
                = QStringLiteral("Runda ") + QString::number(record.FieldAsInteger(QStringLiteral("Round")));
            correction.TableCaption = QStringLiteral("Stół ") + QChar(char16_t(64 + ref.Section))
                + QString::number(ref.Table) + QLatin1Char('(')
                + QString::number(record.FieldAsInteger(QStringLiteral("PairNS"))) + QLatin1Char('-')
                + QString::number(record.FieldAsInteger(QStringLiteral("PairEW"))) + QLatin1Char(')');
            correction.BoardCaption = QStringLiteral("Rozdanie ") + QString::number(ref.Board);
            if (ref.Board != context.X)
                correction.BoardCaption += QLatin1Char('(') + QString::number(context.X) + QLatin1Char(')');
            correction.Contract = record.FieldAsString(QStringLiteral("Contract"));
            correction.WrongLines = remark == QStringLiteral("*");
            if (!remark.contains(QLatin1Char('%'))) {
                correction.Declarer = record.FieldAsString(QStringLiteral("NS/EW"));
                correction.LeadCard = record.FieldAsString(QStringLiteral("LeadCard"));
                correction.Tricks = record.FieldAsString(QStringLiteral("Result"));
            } else {
                correction.Contract = remark;
            }
            if (editor.EditCorrection(correction)) {
                record.Edit();
                if (correction.Contract.contains(QLatin1Char('%'))) {
                    record.SetField(QStringLiteral("Contract"), QString());
                    record.SetField(QStringLiteral("Remarks"), correction.Contract);
                } else {
                    record.SetField(QStringLiteral("Contract"), correction.Contract);
                    record.SetField(QStringLiteral("Remarks"), correction.WrongLines ? QStringLiteral("*") : QString());
                }
                record.SetField(QStringLiteral("NS/EW"), correction.Declarer);
                record.SetField(QStringLiteral("LeadCard"), correction.LeadCard);
                record.SetField(QStringLiteral("Result"), correction.Tricks);
                record.SetField(ProcessedColumnName(context.Model.ProcessedColumnNo), false);
                record.Post();
                context.Grid.SetCell(context.X, context.Y, QString());
            }
        }
        record.Close();
    }
    if (start.Stopped)
        EndCellAction(context, start);
}

void ClearAllMarks(GridActionContext context, Operator& operatorUi)
{
    TournamentModel& model = context.Model;
    if (model.Busy)
        return;
    if (!model.CellClicked) {
        model.CellClicked = true;
        return;
    }
    context.Polling.SetPolling(false);
    TQuery query(context.RecTable.ConnectionString());
    query.SetSql(ClearAllMarksStatement(model.ProcessedColumnNo));
    query.ExecSql();
    ClearGridCells(context.Grid);
    operatorUi.ShowInfo(uNapisy::CzuwanieUruchomRecznie.toString());
}

bool CellActionsEnabled(const TournamentModel& model, TTable& recTable, const ResultGrid& grid, int x, int y)
{
    if (x < 1 || y < 1 || x >= grid.ColumnCount() || y >= grid.RowCount())
        return false;
    const CellRef ref = CellRefOf(model, x, y, grid.Cell(0, y), grid.Cell(x, y));
    if (!ref.Usable)
        return false;
    recTable.SetFilter({});
    recTable.Open();
    const bool found
        = recTable.Locate(QStringLiteral("Section;Table;Board;Erased"), { ref.Section, ref.Table, ref.Board, false });
    recTable.Close();
    return found;
}

} // namespace kibic
