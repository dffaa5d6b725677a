// The transfer pass and the grid's refresh from handled rows.
#include "transfer/Polling.h"

#include "common/KibicError.h"
#include "common/SafeFiles.h"
#include "transfer/GridLayout.h"
#include "transfer/ResultFiles.h"
#include "transfer/ScoringRows.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QStringList>
#include <algorithm>
#include <limits>
#include <optional>

namespace kibic {

namespace {

// Marks are committed at least this often, so that the terminal server never waits long for the file.
constexpr qint64 kMaxWriteLockMs = 150;

// Gathers the marks of a pass into batches, each committed in one short write transaction on the received
// table's connection at least every kMaxWriteLockMs. The result files written for the rows of a batch are
// forced onto the disk before its marks are committed, so that a power cut can lose a mark (the row is
// transferred again) but never a marked result. Rows with an ID are marked by it once the files are on the
// disk, so the database is never held while the disk works; rows of a table without IDs are posted through
// the table object within the transaction.
class MarkBatch
{
public:
    MarkBatch(TTable& table, QString column)
        : m_table(table)
        , m_column(std::move(column))
    {
    }

    // The files a row's records went into, before the row is marked.
    void Written(const QString& scoreFile, const QString& contractFile)
    {
        for (const QString& file : { scoreFile, contractFile }) {
            if (!m_written.contains(file))
                m_written.append(file);
        }
    }

    // Marks the current row of the table: by its ID, or through the table object in a table without IDs.
    void Mark(const std::optional<QVariant>& id)
    {
        if (m_rows.isEmpty() && !m_table.Connection().InTransaction())
            m_held.start();
        if (id) {
            m_rows.append(*id);
        } else {
            if (!m_table.Connection().InTransaction())
                m_table.Connection().BeginTransaction();
            m_table.Edit();
            m_table.SetField(m_column, true);
            m_table.Post();
        }
        if (m_held.elapsed() >= kMaxWriteLockMs)
            Commit();
    }

    void Commit()
    {
        if (m_refused || !m_table.Active() || (m_rows.isEmpty() && !m_table.Connection().InTransaction()))
            return;
        // A database that refused the marks is not asked again within the same pass.
        m_refused = true;
        for (const QString& file : std::as_const(m_written))
            ForceFileToDisk(file);
        m_written.clear();
        DbConnection& connection = m_table.Connection();
        if (!connection.InTransaction())
            connection.BeginTransaction();
        // A few IDs per statement: one statement per row made the database layer's own work per statement
        // a large share of a first pass.
        for (qsizetype first = 0; first < m_rows.size(); first += kIdsPerMark) {
            const QVariantList ids = m_rows.mid(first, kIdsPerMark);
            (void)connection.Execute(MarkStatement(ids.size()), QVariantList { true } + ids);
        }
        connection.CommitTransaction();
        m_rows.clear();
        m_refused = false;
    }

private:
    // Marks up to kIdsPerMark rows by their IDs; few enough for the Access driver's limits on one statement.
    static constexpr qsizetype kIdsPerMark = 40;

    [[nodiscard]] QString MarkStatement(qsizetype ids) const
    {
        QString places = QStringLiteral("?");
        for (qsizetype i = 1; i < ids; ++i)
            places += QStringLiteral(",?");
        return QStringLiteral("UPDATE [ReceivedData] SET [%1]=? WHERE [ID] IN (%2)").arg(m_column, places);
    }

    TTable& m_table;
    QString m_column;
    QElapsedTimer m_held;
    QStringList m_written;
    QVariantList m_rows; // the IDs of the rows marked since the last commit
    bool m_refused = false;
};

// A board played at a table in a round: a later received row of the same play replaces an earlier one.
struct PlayKey
{
    RoundKey Round;
    qint32 Board = 0;
    friend bool operator==(const PlayKey&, const PlayKey&) = default;
};

size_t qHash(const PlayKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.Round, key.Board);
}

// The ID of the latest received row of every play met by this pass. Its rows are all the rows that are
// not marked, from the first of them on; the rest are asked for: rows marked already (by this copy or
// another one on the same mark) and rows that came in after the pass read its own (so every row of this
// pass is older than or equal to its play's latest).
QHash<PlayKey, qint64> LatestRows(
    TTable& recTable, const ReceivedColumns& columns, const TTable::Column& id, const QString& processed)
{
    QHash<PlayKey, qint64> latest;
    const auto keep = [&latest](const PlayKey& play, qint64 rowId) {
        qint64& known = latest[play];
        known = std::max(known, rowId);
    };
    // Read as leniently as the database would compare them: a damaged row is reported when it is written.
    const auto number = [&recTable](const TTable::Column& column) { return recTable.FieldValue(column).toInt(); };
    qint64 firstId = std::numeric_limits<qint64>::max();
    qint64 lastId = std::numeric_limits<qint64>::min();
    for (recTable.First(); !recTable.Eof(); recTable.Next()) {
        const qint64 rowId = recTable.FieldValue(id).toLongLong();
        firstId = std::min(firstId, rowId);
        lastId = std::max(lastId, rowId);
        keep({ { number(columns.Section), number(columns.Table), number(columns.Round) }, number(columns.Board) },
            rowId);
    }
    recTable.First();
    if (latest.isEmpty())
        return latest;
    DbRows& rows = recTable.Connection().RunPrepared(
        QStringLiteral("SELECT [Section],[Table],[Round],[Board],[ID] FROM [ReceivedData] WHERE [ID]>=? AND "
                       "([ID]>? OR [%1] IN (1, -1))")
            .arg(processed),
        { firstId, lastId }, QStringLiteral("odczyt najnowszych zapisów: tabela ReceivedData"));
    while (rows.Next()) {
        keep({ { rows.Value(0).toInt(), rows.Value(1).toInt(), rows.Value(2).toInt() }, rows.Value(3).toInt() },
            rows.Value(4).toLongLong());
    }
    rows.Finish();
    return latest;
}

// Puts a handled row into its cell: its round, or empty for an erasure; and, for a grid that keeps them,
// what the cell stands for.
void ShowInGrid(ResultGrid& grid, qint32 column, qint32 row, const ReceivedResult& received, const TTable& recTable,
    const ReceivedColumns& columns)
{
    if (row >= grid.RowCount() || column >= grid.ColumnCount())
        return;
    grid.SetCell(column, row, received.Erased ? QString() : QString::number(received.Round));
    if (grid.KeepsEntries())
        grid.SetCellEntry(column, row,
            CellEntry { received.Erased ? CellEntry::Why::Erased : CellEntry::Why::Transferred, received,
                columns.KeyedInTime(recTable), std::nullopt });
}

// Closes both tables and leaves them to read every row and every column at their next open (the grid's
// actions and the tournament's plan need them whole).
void CloseBoth(TTable& recTable, TTable& rdaTable)
{
    if (recTable.Active()) {
        recTable.ClearSort();
        recTable.Close();
    }
    rdaTable.Close();
    for (TTable* table : { &recTable, &rdaTable }) {
        table->SetFilter({});
        table->SetReadColumns({});
    }
}

// The walk of a pass over the rows of the open received table, in ID order.
void TransferRows(TournamentModel& model, TTable& recTable, TTable& rdaTable, ResultGrid& grid,
    const TScoreProvider& scorer, MarkBatch& marks, PassCounts& counts)
{
    if (recTable.Eof())
        return;
    const ReceivedColumns columns(recTable);
    const QString processed = ProcessedColumnName(model.ProcessedColumnNo);
    const TTable::Column handled = recTable.ColumnOf(processed);
    const std::optional<TTable::Column> id = recTable.HasField(QStringLiteral("ID"))
        ? std::optional<TTable::Column>(recTable.ColumnOf(QStringLiteral("ID")))
        : std::nullopt;
    const QHash<PlayKey, qint64> latest = id ? LatestRows(recTable, columns, *id, processed) : QHash<PlayKey, qint64>();
    RoundLookup rounds(rdaTable, RoundsOfRows(recTable, columns.Round));
    // Found on the disk (in any letter case) at the first row written: an idle pass looks at no folder.
    ResultFilesWriter resultFiles(model);
    for (recTable.First(); !recTable.Eof(); recTable.Next()) {
        if (recTable.FieldAsBoolean(handled))
            continue;
        const ReceivedResult received = columns.Read(recTable);
        const std::optional<QVariant> rowId = id ? std::optional<QVariant>(recTable.FieldValue(*id)) : std::nullopt;
        // Another copy on this database may already have written the later row: writing this one
        // now would put an older entry back over it.
        if (rowId
            && rowId->toLongLong()
                < latest.value({ { received.Section, received.Table, received.Round }, received.Board }, 0)) {
            marks.Mark(rowId);
            ++counts.Superseded;
            continue;
        }
        const RoundDataRow round = rounds.Of(received);
        const ResultPlacement placement = PlaceResult(model, received, round);
        if (!placement.Placed) {
            ++counts.Unplaced;
            continue;
        }
        resultFiles.Write(placement.RecordIndex, ConvertResult(scorer, received));
        marks.Written(resultFiles.ScoreFile(), resultFiles.ContractFile());
        ShowInGrid(grid, placement.GridColumn, placement.GridRow, received, recTable, columns);
        marks.Mark(rowId);
        ++(received.Erased ? counts.Erased : counts.Placed);
    }
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
    MarkBatch marks(recTable, processed);
    // However the pass ends, both tables are closed and read whole again.
    const auto closeTables = qScopeGuard([&] { CloseBoth(recTable, rdaTable); });
    // The rows handled before a failure keep their marks, unless the database itself refuses them (then
    // those rows are transferred again, to the same records).
    const auto keepMarks = [&marks] {
        try {
            marks.Commit();
        } catch (...) {
        }
    };
    try {
        // Rows marked true the way a yes/no column holds it are not read again. Every other value (also a
        // mark written as text, "False" or "True") is read, and FieldAsBoolean decides as everywhere else.
        recTable.SetFilter(QStringLiteral("[%1] IS NULL OR [%1] NOT IN (1, -1)").arg(processed));
        recTable.SetReadColumns(ReceivedColumns::Names(processed));
        recTable.Open();
        recTable.SetSort(QStringLiteral("ID"));
        TransferRows(model, recTable, rdaTable, grid, scorer, marks, counts);
        marks.Commit();
    } catch (const KibicError& error) {
        model.Busy = false;
        if (!error.Busy()) {
            keepMarks();
            feedback.PassFailed(error);
            throw;
        }
        // The other program held a file for longer than the wait: the pass stops here and the next tick
        // tries again. The marks of the last batch are not waited for (the file that was held may be needed
        // for them, and the window would wait once more): those rows stay unmarked and the next pass writes
        // them again, to the same records. Batches committed before stay.
        feedback.PassPostponed(error);
        throw;
    } catch (const std::exception& error) {
        model.Busy = false;
        keepMarks();
        const KibicError failure(QString::fromUtf8(error.what()));
        feedback.PassFailed(failure);
        throw failure;
    } catch (...) {
        model.Busy = false;
        keepMarks();
        const KibicError failure(QStringLiteral("Przebieg przenoszenia wyników przerwał nieznany błąd."));
        feedback.PassFailed(failure);
        throw failure;
    }
    feedback.PassFinished();
    model.Busy = false;
    return counts;
}

PassFailureRule::Answer PassFailureRule::Failed(const KibicError& error)
{
    if (error.Busy())
        return Answer::TryAgain;
    const QString signature = FailureSignature(error);
    m_streak = signature == m_last ? m_streak + 1 : 1;
    m_last = signature;
    return m_streak >= kFailedPassesBeforeStop ? Answer::Stop : Answer::TryAgain;
}

void PassFailureRule::Succeeded()
{
    m_streak = 0;
    m_last.clear();
}

QString FailureSignature(const KibicError& error)
{
    QStringList codes;
    for (const DriverDiagnostic& record : error.Diagnostics())
        codes.append(record.SqlState + QLatin1Char('/') + QString::number(record.NativeCode));
    if (!codes.isEmpty())
        return QStringLiteral("baza ") + error.HeldFile() + QLatin1Char(' ') + codes.join(QLatin1Char(' '));
    return error.Message();
}

QString RetryStatusText(const KibicError& error, int streak, const QString& tournamentFolder)
{
    QString reason = error.Message();
    if (!tournamentFolder.isEmpty()) {
        const QString folder = QDir(tournamentFolder).absolutePath() + QLatin1Char('/');
        reason.remove(folder);
        reason.remove(QDir::toNativeSeparators(folder));
    }
    // The line goes on after it ("; wyniki: ..."): the sentence's own full stop would stand before the ";".
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    return QStringLiteral("przebieg nieudany (%1 z %2), ponowię: %3")
        .arg(streak)
        .arg(PassFailureRule::kFailedPassesBeforeStop)
        .arg(reason);
}

KibicError StoppedTransfersError(const KibicError& error)
{
    KibicError stopped(error.Message()
            + QStringLiteral("\n\nPrzenoszenie wyników zatrzymane: %1 przebiegi z rzędu nie powiodły się z tego "
                             "samego powodu. Start wznawia przenoszenie.")
                  .arg(PassFailureRule::kFailedPassesBeforeStop),
        error.Kind(), error.HeldFile());
    stopped.WithDiagnostics(error.Diagnostics());
    return stopped;
}

QString PostponedStatusText(const KibicError& error)
{
    if (error.Kind() == FailureKind::FileBusy)
        return QStringLiteral("plik %1 zajęty – ponowię").arg(QFileInfo(error.HeldFile()).fileName());
    return QStringLiteral("baza zajęta – ponowię");
}

void RefreshGrid(const TournamentModel& model, TTable& recTable, TTable& rdaTable, ResultGrid& grid)
{
    const QString processed = ProcessedColumnName(model.ProcessedColumnNo);
    recTable.SetFilter({});
    recTable.SetReadColumns(ReceivedColumns::Names(processed));
    const auto closeTables = qScopeGuard([&] { CloseBoth(recTable, rdaTable); });
    recTable.Open();
    if (recTable.Eof())
        return;
    const ReceivedColumns columns(recTable);
    const TTable::Column handled = recTable.ColumnOf(processed);
    RoundLookup rounds(rdaTable);
    for (recTable.First(); !recTable.Eof(); recTable.Next()) {
        if (!recTable.FieldAsBoolean(handled))
            continue;
        const ReceivedResult received = columns.Read(recTable);
        const qint32 row = GridRowOf(model, received.Section, received.Table);
        const RoundDataRow round = rounds.Of(received);
        const qint32 column = round.Found ? GridColumnOf(model, round, received.Board) : 0;
        if (row >= 1 && row <= model.GridTableCount && column >= 1 && column <= model.BoardCount)
            ShowInGrid(grid, column, row, received, recTable, columns);
    }
}

} // namespace kibic
