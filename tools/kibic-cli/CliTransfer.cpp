// kibic-cli transfer, grid and unmark: the polling pass, the results grid and the clearing of marks on a
// scoring database, without a window.
#include "CliCommand.h"

#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TQuery.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uOpenBWS.h"
#include "transfer/Polling.h"
#include "transfer/TableProgress.h"
#include "transfer/popK.h"

#include <QDateTime>
#include <QFileInfo>
#include <QThread>
#include <atomic>
#include <csignal>
#include <optional>

namespace kibic::cli {

namespace {

const QString kTransferUsage = QStringLiteral("transfer PLIK.bws [--column N] [--watch SEKUNDY]");
const QString kGridUsage = QStringLiteral("grid PLIK.bws [--column N]");
const QString kTablesUsage = QStringLiteral("tables PLIK.bws [--column N]");
const QString kUnmarkUsage = QStringLiteral("unmark PLIK.bws --all [--column N]");

std::atomic<bool> g_interrupted { false };

void Interrupt(int)
{
    g_interrupted = true;
}

// The file and the options of transfer, grid, tables and unmark.
struct DatabaseArguments
{
    QString File;
    qint32 Column = 0;
    qint32 WatchSeconds = 0;
    bool All = false;
};

// Reads the file and the options of one of the commands; bad usage raises CliUsageError with the
// command's usage line. unmark takes --all (and must have it), transfer takes --watch.
DatabaseArguments ReadDatabaseArguments(
    const QStringList& arguments, bool allowWatch, bool allowAll, const QString& usage)
{
    QList<tools::OptionRule> options = { { QStringLiteral("column"), QStringLiteral("N") } };
    if (allowWatch)
        options.append({ QStringLiteral("watch"), QStringLiteral("SEKUNDY") });
    if (allowAll)
        options.append({ QStringLiteral("all"), QString() });
    tools::CommandLine commandLine(options);
    ReadCommandLine(commandLine, arguments, usage);
    const CliUsageError badUsage(QStringLiteral("użycie: kibic-cli ") + usage);
    DatabaseArguments parsed;
    bool ok = true;
    if (const auto column = commandLine.Value(QStringLiteral("column"))) {
        parsed.Column = column->toInt(&ok);
        if (!ok || parsed.Column < 0 || parsed.Column > 4)
            throw badUsage;
    }
    if (const auto seconds = allowWatch ? commandLine.Value(QStringLiteral("watch")) : std::nullopt) {
        parsed.WatchSeconds = seconds->toInt(&ok);
        if (!ok || parsed.WatchSeconds < 1)
            throw badUsage;
    }
    parsed.All = allowAll && commandLine.IsSet(QStringLiteral("all"));
    if (commandLine.Positional().size() != 1 || (allowAll && !parsed.All))
        throw badUsage;
    parsed.File = QFileInfo(commandLine.Positional().front()).absoluteFilePath();
    return parsed;
}

// The commands that change the database refuse one that is not there instead of making it.
void RequireDatabaseFile(const QString& file)
{
    if (!QFileInfo::exists(file))
        throw KibicError(QStringLiteral("Nie ma pliku bazy danych %1.").arg(file));
}

TournamentModel ModelOfDatabase(const DatabaseArguments& arguments)
{
    TournamentModel model;
    model.ScoringKind = 2;
    model.CellClicked = true;
    model.ProcessedColumnNo = arguments.Column;
    ReadTournamentOfDatabase(model, arguments.File);
    model.GridTableCount = model.SectionCount * model.TableCount + model.ExtraTableCount;
    return model;
}

void PrintCounts(const PassCounts& counts)
{
    PrintError(QStringLiteral("przeniesione: %1, wymazane: %2, nieumieszczone: %3, zastąpione: %4")
                   .arg(counts.Placed)
                   .arg(counts.Erased)
                   .arg(counts.Unplaced)
                   .arg(counts.Superseded));
}

// Waits the watch's interval in short steps, so that SIGINT or SIGTERM ends it at once.
void WaitInterval(qint32 seconds)
{
    for (qint64 waited = 0; waited < qint64(seconds) * 10 && !g_interrupted; ++waited)
        QThread::msleep(100);
}

// One pass, or with --watch a pass every interval until SIGINT or SIGTERM, on one connection kept for the
// whole run. A watched pass that fails (a database held too long by the terminal server, a result file
// that cannot be written) is reported on standard error with its time and tried again at the next
// interval; the rows handled before the failure keep their marks. The same failure on three passes in a
// row ends the command (exit 1), as it stops the window's transfers. Without --watch a failure ends the
// command.
int Transfer(const QStringList& given)
{
    const DatabaseArguments arguments = ReadDatabaseArguments(given, true, false, kTransferUsage);
    RequireDatabaseFile(arguments.File);
    const bool watch = arguments.WatchSeconds > 0;
    g_interrupted = false;
    if (watch) {
        std::signal(SIGINT, Interrupt);
        std::signal(SIGTERM, Interrupt);
    }
    const DatabaseHold hold(ScoringConnectionString(arguments.File));
    TTable recTable(ScoringConnectionString(arguments.File), QStringLiteral("ReceivedData"));
    TTable rdaTable(ScoringConnectionString(arguments.File), QStringLiteral("RoundData"));
    const TScoreProvider scorer;
    PassFeedback quiet;
    PassFailureRule failures;
    std::optional<TournamentModel> model;
    std::optional<MemoryGrid> grid;
    do {
        try {
            if (!model) {
                model = ModelOfDatabase(arguments);
                grid.emplace(model->BoardCount + 1, model->GridTableCount + 1);
            }
            PrintCounts(TransferResults(*model, recTable, rdaTable, *grid, scorer, quiet));
            failures.Succeeded();
        } catch (const KibicError& error) {
            if (!watch)
                throw;
            if (failures.Failed(error) == PassFailureRule::Answer::Stop)
                throw StoppedTransfersError(error);
            PrintError(QStringLiteral("%1 przebieg nieudany, następna próba za %2 s: %3")
                           .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                           .arg(arguments.WatchSeconds)
                           .arg(error.Message()));
        }
        if (watch)
            WaitInterval(arguments.WatchSeconds);
    } while (watch && !g_interrupted);
    return ExitSuccess;
}

// The results grid of one copy, as a pass leaves it: the model of the database, its grid filled from the
// handled rows of ReceivedData.
struct DatabaseGrid
{
    TournamentModel Model;
    MemoryGrid Grid;
};

DatabaseGrid ReadDatabaseGrid(const DatabaseArguments& arguments)
{
    const DatabaseHold hold(ScoringConnectionString(arguments.File));
    TournamentModel model = ModelOfDatabase(arguments);
    TTable recTable(ScoringConnectionString(arguments.File), QStringLiteral("ReceivedData"));
    TTable rdaTable(ScoringConnectionString(arguments.File), QStringLiteral("RoundData"));
    MemoryGrid grid(model.BoardCount + 1, model.GridTableCount + 1);
    FillGridHeaders(model, grid);
    RefreshGrid(model, recTable, rdaTable, grid);
    return { std::move(model), std::move(grid) };
}

int Grid(const QStringList& given)
{
    const DatabaseGrid shown = ReadDatabaseGrid(ReadDatabaseArguments(given, false, false, kGridUsage));
    for (int row = 0; row < shown.Grid.RowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < shown.Grid.ColumnCount(); ++column)
            cells.append(shown.Grid.Cell(column, row));
        PrintLine(cells.join(QLatin1Char('\t')));
    }
    return ExitSuccess;
}

// The tournament's state as this copy's grid shows it: how far each table has come, which boards of the
// rounds so far are missing, and the current round.
int Tables(const QStringList& given)
{
    const DatabaseArguments arguments = ReadDatabaseArguments(given, false, false, kTablesUsage);
    const DatabaseHold hold(ScoringConnectionString(arguments.File));
    const DatabaseGrid shown = ReadDatabaseGrid(arguments);
    TTable rdaTable(ScoringConnectionString(arguments.File), QStringLiteral("RoundData"));
    for (const QString& line : TableProgressLines(ReadTableProgress(shown.Model, rdaTable, shown.Grid)))
        PrintLine(line);
    return ExitSuccess;
}

int Unmark(const QStringList& given)
{
    const DatabaseArguments arguments = ReadDatabaseArguments(given, false, true, kUnmarkUsage);
    RequireDatabaseFile(arguments.File);
    TQuery query(ScoringConnectionString(arguments.File));
    query.SetSql(ClearAllMarksStatement(arguments.Column));
    query.ExecSql();
    return ExitSuccess;
}

} // namespace

KIBIC_CLI_COMMAND("transfer", "transfer PLIK.bws [--column N] [--watch SEKUNDY]", Transfer);
KIBIC_CLI_COMMAND("grid", "grid PLIK.bws [--column N]", Grid);
KIBIC_CLI_COMMAND("tables", "tables PLIK.bws [--column N]", Tables);
KIBIC_CLI_COMMAND("unmark", "unmark PLIK.bws --all [--column N]", Unmark);

} // namespace kibic::cli
