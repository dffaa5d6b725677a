// The transfer pass and the grid's refresh from handled rows.
#include "transfer/Polling.h"

#include "shell/KibicError.h"
#include "transfer/GridLayout.h"
#include "transfer/ResultFiles.h"

#include <QElapsedTimer>
#include <limits>

namespace kibic {

namespace {

const QString kRoundKey = QStringLiteral("Section;Table;Round");

// Marks are committed at least this often, so that the terminal server never waits long for the file.
constexpr qint64 kMaxWriteLockMs = 150;

// The located RoundData row of a received row, or a row not found.
RoundDataRow LocateRound(TTable& rdaTable, const ReceivedResult& received)
{
    if (!rdaTable.Active())
        rdaTable.Open();
    if (!rdaTable.Locate(kRoundKey, {received.Section, received.Table, received.Round}))
        return {};
    return ReadRoundDataRow(rdaTable);
}

// Holds the marks of a pass in short write transactions on the received table's connection.
class MarkBatch
{
public:
    explicit MarkBatch(TTable& table)
        : m_table(table)
    {
    }

    void Mark(const QString& column)
    {
        if (!m_table.Connection().InTransaction()) {
            m_table.Connection().BeginTransaction();
            m_held.start();
        }
        m_table.Edit();
        m_table.SetField(column, true);
        m_table.Post();
        if (m_held.elapsed() >= kMaxWriteLockMs)
            Commit();
    }

    void Commit()
    {
        if (m_table.Active() && m_table.Connection().InTransaction())
            m_table.Connection().CommitTransaction();
    }

private:
    TTable& m_table;
    QElapsedTimer m_held;
};

void CloseBoth(TTable& recTable, TTable& rdaTable)
{
    if (recTable.Active()) {
        recTable.ClearSort();
        recTable.Close();
    }
    rdaTable.Close();
}

} // namespace

QString ProcessedColumnName(qint32 processedColumnNo)
{
    if (processedColumnNo == 0)
        return QStringLiteral("Processed");
    return QStringLiteral("Processed") + QString::number(processedColumnNo);
}

qint32 AcceptedPollSeconds(const QString& text, bool& replaced)
{
    bool ok = false;
    const qlonglong seconds = text.trimmed().toLongLong(&ok);
    const qlonglong maximum = std::numeric_limits<qint32>::max() / 1000;
    replaced = !ok || seconds < 5 || seconds > maximum;
    return replaced ? 10 : static_cast<qint32>(seconds);
}

RoundDataRow ReadRoundDataRow(const TTable& rdaTable)
{
    RoundDataRow row;
    row.Found = true;
    row.Slot = rdaTable.FieldAsInteger(QStringLiteral("custom_ZYRT"));
    row.BoardSetColumnsRead = rdaTable.HasField(QStringLiteral("custom_Komp"))
        && rdaTable.HasField(QStringLiteral("LowBoard")) && rdaTable.HasField(QStringLiteral("HighBoard"));
    if (row.BoardSetColumnsRead) {
        row.BoardSet = rdaTable.FieldAsInteger(QStringLiteral("custom_Komp"));
        row.LowBoard = rdaTable.FieldAsInteger(QStringLiteral("LowBoard"));
        row.HighBoard = rdaTable.FieldAsInteger(QStringLiteral("HighBoard"));
    }
    return row;
}

ReceivedResult ReadReceivedResult(const TTable& recTable)
{
    ReceivedResult received;
    received.Section = recTable.FieldAsInteger(QStringLiteral("Section"));
    received.Table = recTable.FieldAsInteger(QStringLiteral("Table"));
    received.Round = recTable.FieldAsInteger(QStringLiteral("Round"));
    received.Board = recTable.FieldAsInteger(QStringLiteral("Board"));
    received.Remarks = recTable.FieldAsString(QStringLiteral("Remarks"));
    received.Contract = recTable.FieldAsString(QStringLiteral("Contract"));
    received.NsEw = recTable.FieldAsString(QStringLiteral("NS/EW"));
    received.LeadCard = recTable.FieldAsString(QStringLiteral("LeadCard"));
    received.Result = recTable.FieldAsString(QStringLiteral("Result"));
    received.Erased = recTable.FieldAsBoolean(QStringLiteral("Erased"));
    return received;
}

void FillGridHeaders(const TournamentModel& model, ResultGrid& grid)
{
    const QStringList headers = GridColumnHeaders(model);
    for (int column = 0; column < headers.size() && column < grid.ColumnCount(); ++column)
        grid.SetCell(column, 0, headers[column]);
    const QStringList labels = GridRowLabels(model);
    for (int row = 1; row < labels.size() && row < grid.RowCount(); ++row)
        grid.SetCell(0, row, labels[row]);
}

PassCounts TransferResults(TournamentModel& model, TTable& recTable, TTable& rdaTable, ResultGrid& grid,
    const TScoreProvider& scorer, PassFeedback& feedback)
{
    PassCounts counts;
    if (model.Busy) {
        counts.Refused = true;
        feedback.PassRefused();
        return counts;
    }
    model.Busy = true;
    feedback.PassStarted();

    const QString processed = ProcessedColumnName(model.ProcessedColumnNo);
    MarkBatch marks(recTable);
    try {
        // Rows marked true the way a yes/no column holds it are not read again. Every other value (also a
        // mark written as text, "False" or "True") is read, and FieldAsBoolean decides as everywhere else.
        recTable.SetFilter(QStringLiteral("[%1] IS NULL OR [%1] NOT IN (1, -1)").arg(processed));
        recTable.Open();
        recTable.SetSort(QStringLiteral("ID"));
        for (recTable.First(); !recTable.Eof(); recTable.Next()) {
            if (recTable.FieldAsBoolean(processed))
                continue;
            const ReceivedResult received = ReadReceivedResult(recTable);
            const RoundDataRow round = LocateRound(rdaTable, received);
            const ResultPlacement placement = PlaceResult(model, received, round);
            if (!placement.Placed) {
                ++counts.Unplaced;
                continue;
            }
            WriteResultRecords(model, placement.RecordIndex, ConvertResult(scorer, received));
            if (placement.GridRow < grid.RowCount() && placement.GridColumn < grid.ColumnCount())
                grid.SetCell(placement.GridColumn, placement.GridRow,
                    received.Erased ? QString() : QString::number(received.Round));
            marks.Mark(processed);
            ++(received.Erased ? counts.Erased : counts.Placed);
        }
        marks.Commit();
    } catch (...) {
        // The rows handled before the failure keep their marks.
        try {
            marks.Commit();
        } catch (...) {
        }
        CloseBoth(recTable, rdaTable);
        recTable.SetFilter({});
        feedback.PassAborted();
        throw;
    }
    CloseBoth(recTable, rdaTable);
    recTable.SetFilter({});
    feedback.PassFinished();
    model.Busy = false;
    return counts;
}

void RefreshGrid(const TournamentModel& model, TTable& recTable, TTable& rdaTable, ResultGrid& grid)
{
    const QString processed = ProcessedColumnName(model.ProcessedColumnNo);
    recTable.SetFilter({});
    recTable.Open();
    try {
        for (recTable.First(); !recTable.Eof(); recTable.Next()) {
            if (!recTable.FieldAsBoolean(processed))
                continue;
            const ReceivedResult received = ReadReceivedResult(recTable);
            const qint32 row = GridRowOf(model, received.Section, received.Table);
            const RoundDataRow round = LocateRound(rdaTable, received);
            const qint32 column = round.Found ? GridColumnOf(model, round, received.Board) : 0;
            if (row >= 1 && row <= model.GridTableCount && column >= 1 && column <= model.BoardCount
                && row < grid.RowCount() && column < grid.ColumnCount())
                grid.SetCell(column, row, received.Erased ? QString() : QString::number(received.Round));
        }
    } catch (...) {
        CloseBoth(recTable, rdaTable);
        throw;
    }
    CloseBoth(recTable, rdaTable);
}

} // namespace kibic
