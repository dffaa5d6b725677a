// The main window during a tournament: the demo's pairs event built into a scoring database, three of
// its five rounds played by the rehearsal terminal server, and Kibic polling with the grid filling.
#include "Screenshots.h"

#include "RehearsalServer.h"
#include "common/KibicError.h"
#include "common/Operator.h"
#include "common/uNapisy.h"
#include "deals/LoadDeals.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/uBuildBWS.h"
#include "scoringdb/uOpenBWS.h"
#include "shell/ui/collMain.h"
#include "tournament/TournamentReader.h"
#include "transfer/ui/StringGrid.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <functional>

namespace kibic::screenshots {

namespace {

void CopyDemoFile(const QDir& folder, const QString& name)
{
    const QString source = QStringLiteral(KIBIC_SOURCE_DIR "/demo/") + name;
    if (!QFile::copy(source, folder.filePath(name)))
        throw KibicError(QStringLiteral("Nie skopiowano pliku %1").arg(source));
}

// puchar.inf and puchar.INR beside an empty score file of 15 boards x 10 slots (every slot 30000), in a
// folder whose path reads well in the window's caption.
QString LayOutDemo()
{
    const QDir folder(TidyFolder());
    CopyDemoFile(folder, QStringLiteral("puchar.inf"));
    CopyDemoFile(folder, QStringLiteral("puchar.INR"));
    QFile scores(folder.filePath(QStringLiteral("puchar.ZAP")));
    if (!scores.open(QIODevice::WriteOnly) || scores.write(QByteArray("0u").repeated(15 * 10)) != 300)
        throw KibicError(QStringLiteral("Nie zapisano pliku %1").arg(scores.fileName()));
    return folder.filePath(QStringLiteral("puchar.inf"));
}

// A pairs event of one section of 30 tables and 30 rounds of one board (30 boards, 60 pairs), with an
// empty score file: the grid of 30 tables x 30 boards that a small window must still show whole.
QString LayOutThirtyTables()
{
    const QDir folder(TidyFolder());
    QByteArray description = "* 30 stolow, 30 rund po 1 rozdaniu\r\n30 30 1 1 0 99 0 60 30 0 0 0 0 30 0\r\n";
    for (int pair = 1; pair <= 60; ++pair)
        description += QByteArray::number(pair) + (pair % 10 == 0 ? "\r\n" : " ");
    description += "-2\r\n";
    QFile file(folder.filePath(QStringLiteral("duzy.inf")));
    QFile scores(folder.filePath(QStringLiteral("duzy.ZAP")));
    const QByteArray empty = QByteArray("0u").repeated(30 * 30);
    if (!file.open(QIODevice::WriteOnly) || file.write(description) != description.size()
        || !scores.open(QIODevice::WriteOnly) || scores.write(empty) != empty.size())
        throw KibicError(QStringLiteral("Nie zapisano turnieju %1").arg(file.fileName()));
    return file.fileName();
}

// How the tables play: on the session's deals or without, keying some results in wrongly or none.
struct Play
{
    bool Deals = false; // the deals of the PBN file that `dealer` wrote for the tests, analysed
    double MistakeRate = 0.0;
};

void LoadDeals(const QString& databaseFile)
{
    TournamentModel model;
    ReadTournamentOfDatabase(model, databaseFile);
    const DealsToLoad deals
        = PrepareDeals(model, databaseFile, QStringLiteral(KIBIC_SOURCE_DIR "/tests/data/deals/dealer-40.pbn"));
    const AnalysisOutcome outcome = AnalyseDeals(deals, *MakeDdsSolver(), nullptr);
    StoreDeals(deals, &outcome.Analyses);
}

void PlayRounds(const QString& databaseFile, int lastRound, const Play& play)
{
    if (play.Deals)
        LoadDeals(databaseFile);
    terminals::RehearsalOptions options;
    options.DatabaseFile = databaseFile;
    options.Once = true;
    options.LastRound = lastRound;
    options.Seed = 2026;
    options.MistakeRate = play.MistakeRate;
    terminals::RehearsalServer server(
        options, [] { return 0; }, [](const QString&) {}, [](const QString&) {});
    if (server.Run() != 0)
        throw KibicError(QStringLiteral("Serwer próbny nie rozegrał rund w bazie %1").arg(databaseFile));
}

// Points at a data cell (0-based row and column) as the director does, so that its tooltip shows. The tooltip
// is a window of its own: its picture goes into the main window's where it shows.
void PointAtCell(TcollForm& window, int row, int column)
{
    window.grab(); // lays the grid out, so that the cell has its place
    QTableWidget* grid = window.StringGrid1;
    grid->scrollToItem(grid->item(row, column));
    const QPoint at = grid->visualItemRect(grid->item(row, column)).center();
    QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &help);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->inherits("QTipLabel") || !top->isVisible())
            continue;
        auto* tip = new QLabel(&window);
        tip->setPixmap(top->grab());
        tip->adjustSize();
        tip->move(window.mapFromGlobal(top->pos()));
        tip->show();
        top->hide();
    }
}

// The tournament of description (the demo's when empty) built and played to lastRound, then opened in the
// main window with the grid set up; before opening, changeDatabase may alter what the tables keyed in.
std::unique_ptr<TcollForm> OpenedMainWindow(int lastRound, const std::function<void(DbConnection&)>& changeDatabase,
    const QString& description = {}, const Play& play = {})
{
    TournamentModel model;
    NoNonTypicalSector noSector;
    ScriptedOperator answers(ModalResult::Yes);
    if (!ReadTournament(model, description.isEmpty() ? LayOutDemo() : description, noSector)
        || !BuildScoringDatabase(model, answers))
        throw KibicError(
            QStringLiteral("Nie zbudowano bazy turnieju pokazowego: %1").arg(answers.Messages.join(QLatin1Char(' '))));
    const QString databaseFile = ScoringDatabaseFileName(model);
    PlayRounds(databaseFile, lastRound, play);
    if (changeDatabase) {
        DbConnection database(ScoringConnectionString(databaseFile));
        changeDatabase(database);
    }

    auto window = std::make_unique<TcollForm>(QStringList(), ScratchFolder());
    const int column = window->Model.ProcessedColumnNo;
    window->Model = model;
    window->Model.ProcessedColumnNo = column;
    // What opening the database does before the grid: the header read again, the caption set.
    ReadTournamentOfDatabase(window->Model, databaseFile);
    window->setWindowTitle(window->Model.TournamentBase + uNapisy::TurniejPar);
    window->recTable.SetConnectionString(ScoringConnectionString(databaseFile));
    window->recTable.SetTableName(QStringLiteral("ReceivedData"));
    window->rdaTable.SetConnectionString(ScoringConnectionString(databaseFile));
    window->rdaTable.SetTableName(QStringLiteral("RoundData"));
    window->show();
    window->SetUpGrid();
    return window;
}

std::unique_ptr<QWidget> MainWindowFillingGrid()
{
    std::unique_ptr<TcollForm> window = OpenedMainWindow(3, {});
    window->Button1Click(); // "Start": a pass at once, then one every 10 seconds
    return window;
}

// Round 3 under way while table A3 has sent nothing of round 2 and B2 nothing of round 1: their labels
// are orange, the line under the status names them, and the director points at a cell of A1.
std::unique_ptr<QWidget> MainWindowLateTables()
{
    std::unique_ptr<TcollForm> window = OpenedMainWindow(3, [](DbConnection& database) {
        (void)database.Execute(
            QStringLiteral("DELETE FROM [ReceivedData] WHERE ([Section]=1 AND [Table]=3 AND [Round]=2) "
                           "OR ([Section]=2 AND [Table]=2 AND [Round]=1)"));
    });
    window->Button1Click();
    PointAtCell(*window, 0, 1);
    return window;
}

// The tables play three rounds on the session's deals and key a few results in wrongly: after the pass the
// suspicious cells are violet, the line under the status counts them, and the director points at the first
// one for which a correction is proposed.
std::unique_ptr<QWidget> MainWindowSuspiciousResult()
{
    std::unique_ptr<TcollForm> window = OpenedMainWindow(3, {}, {}, Play { true, 0.02 });
    window->Button1Click();
    QTableWidget* grid = window->StringGrid1;
    for (int row = 0; row < grid->rowCount(); ++row) {
        for (int column = 0; column < grid->columnCount(); ++column) {
            const QTableWidgetItem* item = grid->item(row, column);
            if (item && item->data(SuspiciousCellRole).toBool()
                && item->toolTip().contains(QStringLiteral("\nPropozycja: "))) {
                PointAtCell(*window, row, column);
                return window;
            }
        }
    }
    throw KibicError(QStringLiteral("W turnieju pokazowym nie ma podejrzanego wyniku z propozycją poprawki."));
}

// ZyRT's score file gone while the tables play round 3: the pass fails, the window keeps polling and the
// line under the status says why and that it will try again (the first of three tries before the box).
std::unique_ptr<QWidget> MainWindowFailedPass()
{
    std::unique_ptr<TcollForm> window = OpenedMainWindow(3, {});
    const QString scores = window->Model.TournamentBase + QStringLiteral(".ZAP");
    if (!QFile::remove(scores))
        throw KibicError(QStringLiteral("Nie usunięto pliku %1").arg(scores));
    window->Button1Click();
    return window;
}

// 30 tables x 30 boards in a window of the given client size, after a pass over three rounds in which
// table 5 erased its result of round 2: the grid stays inside the window with both scroll bars, the last
// board reachable, and the erased cell shows its sign.
ShotBuilder ThirtyTablesInAWindowOf(int width, int height)
{
    return [width, height] {
        const auto eraseAtTable5 = [](DbConnection& database) {
            (void)database.Execute(QStringLiteral(
                "INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],[PairNS],[PairEW],[NS/EW],[Contract],"
                "[Result],[Erased]) SELECT [Section],[Table],[Round],[Board],[PairNS],[PairEW],[NS/EW],[Contract],"
                "[Result],1 FROM [ReceivedData] WHERE [Table]=5 AND [Round]=2"));
        };
        std::unique_ptr<TcollForm> window = OpenedMainWindow(3, eraseAtTable5, LayOutThirtyTables());
        window->Button1Click();
        window->resize(width, height);
        return std::unique_ptr<QWidget>(window.release());
    };
}

} // namespace

KIBIC_SCREENSHOT("transfer-main-window-grid", MainWindowFillingGrid);
KIBIC_SCREENSHOT("transfer-main-window-30-tables-500x400", ThirtyTablesInAWindowOf(500, 400));
KIBIC_SCREENSHOT("transfer-main-window-30-tables-800x600", ThirtyTablesInAWindowOf(800, 600));
KIBIC_SCREENSHOT("transfer-main-window-30-tables-1280x900", ThirtyTablesInAWindowOf(1280, 900));
KIBIC_SCREENSHOT("transfer-main-window-late-tables", MainWindowLateTables);
KIBIC_SCREENSHOT("transfer-main-window-failed-pass", MainWindowFailedPass);
KIBIC_SCREENSHOT("transfer-main-window-suspicious", MainWindowSuspiciousResult);

} // namespace kibic::screenshots
