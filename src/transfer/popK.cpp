// Marks and corrections of received scores, acting on the scoring database and the grid.
#include "transfer/popK.h"

#include "common/uNapisy.h"
#include "scoringdb/TQuery.h"
#include "transfer/GridLayout.h"
#include "transfer/Polling.h"
#include "transfer/ResultConversion.h"

#include <QScopeGuard>
#include <exception>

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

// Whether a grid action may go on: no pass is unfinished, and no right click on a header disarmed it (such
// a click disarms one action only, so it is armed again here).
bool ActionArmed(TournamentModel& model)
{
    if (model.Busy)
        return false;
    if (!model.CellClicked) {
        model.CellClicked = true;
        return false;
    }
    return true;
}

// Empties a cell whose mark was cleared: the next pass transfers its entry again.
void EmptyForNextPass(ResultGrid& grid, int x, int y)
{
    grid.SetCell(x, y, QString());
    if (grid.KeepsEntries())
        grid.SetCellEntry(x, y, CellEntry { CellEntry::Why::MarkCleared, {}, {}, std::nullopt });
}

// The common start of the two cell actions, and their end however the action ends: RoundData is closed
// again, and polling, stopped for the action, is started again when it was on. After a failure polling
// stays off (the error box tells the director, who starts it again), so no pass runs while the failure
// unwinds.
class CellAction
{
public:
    explicit CellAction(GridActionContext& context)
        : m_context(context)
    {
        TournamentModel& model = context.Model;
        if (!ActionArmed(model))
            return;
        if (context.X < 1 || context.Y < 1 || context.X >= context.Grid.ColumnCount()
            || context.Y >= context.Grid.RowCount())
            return;
        const QString cellText = context.Grid.Cell(context.X, context.Y);
        if (!IsWholeNumber(cellText))
            return;
        m_wasPolling = context.Polling.PollingOn();
        context.Polling.SetPolling(false);
        m_stopped = true;
        Ref = CellRefOf(model, context.X, context.Y, context.Grid.Cell(0, context.Y), cellText);
        if (!Ref.Usable || !Ref.HasRound)
            return;
        context.RdaTable.Open();
        Proceed = context.RdaTable.Locate(
            QStringLiteral("Section;Table;Round;custom_Komp"), { Ref.Section, Ref.Table, Ref.Round, Ref.BoardSet });
    }

    // Starting polling again runs a pass, whose own failures the window reports; a switch that throws
    // instead passes its failure on.
    ~CellAction() noexcept(false)
    {
        if (!m_stopped)
            return;
        m_context.RdaTable.Close();
        if (m_wasPolling && std::uncaught_exceptions() == m_failuresBefore)
            m_context.Polling.SetPolling(true);
    }

    CellAction(const CellAction&) = delete;
    CellAction& operator=(const CellAction&) = delete;

    bool Proceed = false; // the action's own steps run
    CellRef Ref;

private:
    GridActionContext& m_context;
    bool m_stopped = false; // polling was stopped for the action
    bool m_wasPolling = false;
    int m_failuresBefore = std::uncaught_exceptions();
};

// The common road of the two corrections: the cell's latest live record is shown in the correction window,
// as it was received or with the proposed record in its place, and what the director accepts is written
// back with the mark cleared, for the next pass to transfer.
void CorrectLatestRecord(GridActionContext& context, CorrectionEditor& editor, const ScoreCorrection* proposal)
{
    const CellAction action(context);
    if (action.Proceed) {
        const CellRef& ref = action.Ref;
        qint64 id
            = QueryInteger(context.RecTable, LatestLiveRecordStatement(ref.Section, ref.Table, ref.Board, ref.Round));
        const qint64 erasure
            = QueryInteger(context.RecTable, LatestErasureStatement(ref.Section, ref.Table, ref.Board, ref.Round));
        if (erasure > id)
            id = -1; // the last entry at the table was an erasure: nothing to correct
        TTable& record = context.RecTable;
        record.SetFilter({});
        record.Open();
        const auto close = qScopeGuard([&record] { record.Close(); });
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
            if (proposal) {
                correction.Contract = proposal->Contract;
                correction.Declarer = proposal->Declarer;
                correction.LeadCard = proposal->LeadCard;
                correction.Tricks = proposal->Tricks;
                correction.WrongLines = proposal->WrongLines;
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
                EmptyForNextPass(context.Grid, context.X, context.Y);
            }
        }
    }
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
            EmptyForNextPass(grid, column, row);
}

void ClearCellMark(GridActionContext context)
{
    const CellAction action(context);
    if (action.Proceed) {
        const CellRef& ref = action.Ref;
        const qint64 id
            = QueryInteger(context.RecTable, LatestLiveRecordStatement(ref.Section, ref.Table, ref.Board, ref.Round));
        context.RecTable.SetFilter({});
        context.RecTable.Open();
        const auto close = qScopeGuard([&context] { context.RecTable.Close(); });
        if (context.RecTable.Locate(QStringLiteral("ID"), { id })) {
            context.RecTable.Edit();
            context.RecTable.SetField(ProcessedColumnName(context.Model.ProcessedColumnNo), false);
            context.RecTable.Post();
            EmptyForNextPass(context.Grid, context.X, context.Y);
        }
    }
}

void CorrectCellRecord(GridActionContext context, CorrectionEditor& editor)
{
    CorrectLatestRecord(context, editor, nullptr);
}

void CorrectCellByProposal(GridActionContext context, CorrectionEditor& editor, const ScoreCorrection& proposal)
{
    CorrectLatestRecord(context, editor, &proposal);
}

void ClearAllMarks(GridActionContext context, Operator& operatorUi)
{
    TournamentModel& model = context.Model;
    if (!ActionArmed(model))
        return;
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
    const auto close = qScopeGuard([&recTable] { recTable.Close(); });
    return recTable.Locate(QStringLiteral("Section;Table;Board;Erased"), { ref.Section, ref.Table, ref.Board, false });
}

} // namespace kibic
