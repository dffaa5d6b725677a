// The main window's results grid, polling and grid actions, driven through the real widgets.
#include "support/ModalDriver.h"
#include "TransferFixture.h"
#include "support/SqliteFile.h"

#include "common/ui/FormDesign.h"
#include "deals/HandRecords.h"
#include "shell/ui/MyDialogs.h"
#include "shell/ui/collMain.h"
#include "transfer/ui/StringGrid.h"
#include "transfer/ui/TForm4.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <cstdio>

using namespace kibic;
using namespace kibic::testing;

namespace {

ReceivedRow Played(int board, int round)
{
    ReceivedRow row;
    row.Board = board;
    row.Round = round;
    row.Table = TransferFixture::TableOf((board + 1) / 2, round);
    return row;
}

// Set in the environment of this test program started again as the other program, which then holds
// the scoring database named in it ("FILE|MILLISECONDS") and ends.
const char* const kHoldDatabase = "KIBIC_TEST_HOLD_DATABASE";

int HoldDatabase(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList hold = qEnvironmentVariable(kHoldDatabase).split(QLatin1Char('|'));
    // The file's own lock, taken with SQLite itself: whichever driver Kibic uses finds the file held.
    const test::SqliteFile other(hold.at(0));
    (void)other.Rows(QStringLiteral("BEGIN EXCLUSIVE"));
    std::fputs("held\n", stdout);
    std::fflush(stdout);
    QThread::msleep(hold.at(1).toULong());
    (void)other.Rows(QStringLiteral("COMMIT"));
    return 0;
}

QString ToolTipAt(QWidget* widget, const QPoint& at)
{
    QToolTip::hideText();
    QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// The deal of board 1 in section 1: North holds the spades, East the hearts, South the diamonds, West the
// clubs; with its analysis when given.
void WriteOneSuitEach(const QString& file, const std::vector<DealAnalysis>* analyses)
{
    Deal deal;
    deal.Board = 1;
    for (int seat = 0; seat < 4; ++seat)
        deal.Holdings[static_cast<std::size_t>(seat)]
                     [static_cast<std::size_t>(IndexOf(kSuits[static_cast<std::size_t>(seat)]))]
            = kAllRanks;
    DealMatch match;
    match.Rows.push_back({ { 1, 1 }, 0 });
    WriteHandRecords(file, { deal }, match, analyses);
}

// The main window on the fixture's tournament, as opening its scoring database leaves it.
struct OpenWindow
{
    explicit OpenWindow(TransferFixture& fixture)
        : Form(QStringList(), fixture.Dir.path())
    {
        const int column = Form.Model.ProcessedColumnNo;
        Form.Model = fixture.Model;
        Form.Model.ProcessedColumnNo = column;
        Form.recTable.SetConnectionString(ScoringConnectionString(fixture.DbFile));
        Form.recTable.SetTableName(QStringLiteral("ReceivedData"));
        Form.rdaTable.SetConnectionString(ScoringConnectionString(fixture.DbFile));
        Form.rdaTable.SetTableName(QStringLiteral("RoundData"));
        Form.show();
        Form.SetUpGrid();
    }
    QString Cell(int board, int table) const { return Form.StringGrid1->item(table - 1, board - 1)->text(); }

    TcollForm Form;
};

} // namespace

class TestMainWindowTransfer : public QObject
{
    Q_OBJECT

private slots:
    void init() { qputenv("KIBIC_REGISTRY_DIR", m_registry.path().toUtf8()); }

    void setUpShowsHandledScoresAndThePollingControls()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1));
        fixture.Append(Played(4, 2));
        {
            DbConnection db(ScoringConnectionString(fixture.DbFile));
            (void)db.Execute(QStringLiteral("UPDATE [ReceivedData] SET [Processed]=1 WHERE [ID]=1"));
        }
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        QCOMPARE(form.StringGrid1->rowCount(), 3);
        QCOMPARE(form.StringGrid1->columnCount(), 6);
        QCOMPARE(form.StringGrid1->verticalHeaderItem(0)->text(), QStringLiteral(" 1"));
        QCOMPARE(form.StringGrid1->horizontalHeaderItem(5)->text(), QStringLiteral("6"));
        QCOMPARE(window.Cell(1, TransferFixture::TableOf(1, 1)), QStringLiteral("1"));
        QCOMPARE(window.Cell(4, TransferFixture::TableOf(2, 2)), QString());
        QVERIFY(form.Label2->isVisible() && form.Edit1->isVisible() && form.Button1->isVisible());
        QVERIFY(!form.Button2->isVisible());
        QCOMPARE(form.Edit1->text(), QStringLiteral("10"));
        QVERIFY(!form.ToolButton2->isEnabled() && !form.ToolButton4->isEnabled());
        // 4 rows x 7 columns: 4 x 19 + 169 high, at least 460 wide.
        QCOMPARE(OuterSize(form, FrameKind::Sizeable), QSize(460, 4 * 19 + 169));
    }

    void startRunsAPassAtOnceAndStopEndsPolling()
    {
        TransferFixture fixture;
        fixture.Append(Played(2, 3));
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        form.Edit1->setText(QStringLiteral("4"));
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(form.Edit1->text(), QStringLiteral("10"));
        QCOMPARE(form.Timer1->interval(), 10000);
        QVERIFY(form.Timer1->isActive());
        QCOMPARE(window.Cell(2, TransferFixture::TableOf(1, 3)), QStringLiteral("3"));
        QCOMPARE(form.Label3->text(), QStringLiteral("czuwam ..."));
        QVERIFY(form.Button2->isVisible() && !form.Button1->isVisible());
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        QVERIFY(!form.Timer1->isActive());
        QVERIFY(!form.Label3->isVisible());
        QVERIFY(form.Button1->isVisible());
        QVERIFY(!form.Model.PollingOn);
    }

    // A pass that fails is tried again at every tick, with the reason under the status line and no box;
    // the third failure in a row shows the box and stops polling; Start then runs a pass at once.
    void failedPassIsTriedAgainAndTheThirdStopsPolling()
    {
        TransferFixture fixture;
        fixture.WriteEmptyResultFiles(3); // too short for board 2
        fixture.Append(Played(2, 1));
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        form.Edit1->setText(QStringLiteral("5"));
        QString message;
        test::ModalDriver driver;
        driver.Then([&](QWidget* box) {
            auto* dialog = qobject_cast<TMyDlgForm*>(box);
            QVERIFY(dialog);
            message = dialog->Label1->text();
            box->close();
        });
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        for (int tick = 1; tick <= 2; ++tick) {
            QVERIFY2(form.Label4->text().contains(QStringLiteral("przebieg nieudany (%1 z 3), ponowię: ").arg(tick)),
                qPrintable(form.Label4->text()));
            QVERIFY(form.Label4->text().contains(QStringLiteral("cup.ZAP")));
            QCOMPARE(form.Label3->text(), QStringLiteral("czuwam ..."));
            QVERIFY(!form.Model.Busy);
            QVERIFY(form.Timer1->isActive());
            QVERIFY(message.isEmpty());
            form.Timer1Timer();
        }
        QVERIFY(driver.Finished());
        QVERIFY2(message.contains(QStringLiteral("cup.ZAP")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("Przenoszenie wyników zatrzymane")), qPrintable(message));
        QVERIFY(!form.Timer1->isActive());
        QVERIFY(!form.Model.PollingOn);
        QVERIFY(form.Button1->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 0);

        // Start after the stop: Busy clear and a pass at once, counted from one again.
        fixture.WriteEmptyResultFiles(fixture.Model.BoardCount * fixture.Model.ResultsPerBoard);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(form.Label3->text(), QStringLiteral("czuwam ..."));
        QVERIFY2(form.Label4->text().startsWith(QStringLiteral("ostatni przebieg ")), qPrintable(form.Label4->text()));
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 1);
        QCOMPARE(driver.Unexpected, QStringList());
    }

    void rightClickOnARowLabelDisarmsOneAction()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1));
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        const int table = TransferFixture::TableOf(1, 1);
        form.StringGrid1->setCurrentCell(table - 1, 0);
        QHeaderView* labels = form.StringGrid1->verticalHeader();
        QTest::mousePress(
            labels->viewport(), Qt::RightButton, {}, QPoint(5, labels->sectionViewportPosition(table - 1) + 5));
        QVERIFY(!form.Model.CellClicked);
        QCOMPARE(form.StringGrid1->currentRow(), table - 1);
        QCOMPARE(form.StringGrid1->currentColumn(), 0);
        form.Zgazaznaczenie1->trigger();
        QCOMPARE(window.Cell(1, table), QStringLiteral("1"));
        form.Zgazaznaczenie1->trigger();
        QCOMPARE(window.Cell(1, table), QString());
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]=0")), 1);
    }

    void rightClickOnACellMakesItCurrentAndThePopupEnablesItsActions()
    {
        TransferFixture fixture;
        fixture.Append(Played(3, 2));
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        const int table = TransferFixture::TableOf(2, 2);
        QWidget* cells = form.StringGrid1->viewport();
        const QRect cell = form.StringGrid1->visualItemRect(form.StringGrid1->item(table - 1, 2));
        QTest::mousePress(cells, Qt::RightButton, {}, cell.center());
        QCOMPARE(form.StringGrid1->currentRow(), table - 1);
        QCOMPARE(form.StringGrid1->currentColumn(), 2);
        QVERIFY(form.Model.CellClicked);
        form.PopupMenu1Popup();
        QVERIFY(form.Poprawzapis1->isEnabled());
        form.StringGrid1->setCurrentCell(table - 1, 0);
        form.PopupMenu1Popup();
        QVERIFY(!form.Zgazaznaczenie1->isEnabled());
        QVERIFY(form.Zgawszystkiezaznaczenia1->isEnabled());
    }

    void correctionThroughTheWindowIsTransferredByTheRestartedPolling()
    {
        TransferFixture fixture;
        fixture.Append(Played(5, 3));
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        const int table = TransferFixture::TableOf(3, 3);
        form.StringGrid1->setCurrentCell(table - 1, 4);
        QString caption;
        test::ModalDriver driver;
        driver.Then([&](QWidget* modal) {
            auto* correction = qobject_cast<TForm4*>(modal);
            QVERIFY(correction);
            caption = correction->LabelS->text();
            correction->CBn->setCurrentText(QString());
            QTest::keyClicks(correction->CBn, QStringLiteral("6 nt x"));
            correction->CBr->setCurrentIndex(correction->CBr->findText(QStringLiteral("S")));
            QTest::mouseClick(correction->BitBtn1, Qt::LeftButton);
        });
        form.StringGrid1DblClick();
        QVERIFY(driver.Finished());
        QCOMPARE(caption, QStringLiteral("Stół A%1(%1-%2)").arg(table).arg(table + 3));
        QCOMPARE(fixture.Count(QStringLiteral("[Contract]='6 NT x' AND [NS/EW]='S'")), 1);
        // Polling was on: the immediate pass transferred the corrected record again.
        QVERIFY(form.Model.PollingOn);
        QCOMPARE(window.Cell(5, table), QStringLiteral("3"));
        QCOMPARE(fixture.Scores()[(5 - 1) * 3 + 3 - 1],
            qint16(1680)); // six no trump doubled by South, North-South vulnerable on 5
    }

    // After a pass the row labels say how far each table has come, the labels of tables that lack a
    // board of an earlier round are drawn orange, a cell's tooltip shows its entry or why it is empty,
    // and the line under the status counts the results and names the late tables.
    void tooltipsAndLateTablesOnTheRealWidgets()
    {
        TransferFixture fixture;
        const int first = fixture.Append(Played(1, 1));
        fixture.Append(Played(2, 1));
        fixture.Append(Played(5, 1));
        fixture.Append(Played(3, 2));
        {
            DbConnection db(ScoringConnectionString(fixture.DbFile));
            (void)db.Execute(QStringLiteral("UPDATE [ReceivedData] SET [TimeLog]='17:05:12' WHERE [ID]=?"), { first });
        }
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(form.Label3->text(), QStringLiteral("czuwam ..."));

        // Table 1 played round 1 and is at round 2; tables 2 and 3 lack boards of round 1.
        QHeaderView* labels = form.StringGrid1->verticalHeader();
        QCOMPARE(form.StringGrid1->verticalHeaderItem(0)->toolTip(), QStringLiteral("1: runda 1 komplet; brak: 2:4"));
        QCOMPARE(form.StringGrid1->verticalHeaderItem(1)->toolTip(),
            QStringLiteral("2: żadna runda nie jest kompletna; brak: 1:3, 1:4, 2:5, 2:6"));
        QCOMPARE(ToolTipAt(labels->viewport(), QPoint(5, labels->sectionViewportPosition(2) + 5)),
            QStringLiteral("3: żadna runda nie jest kompletna; brak: 1:6, 2:1, 2:2"));
        const QImage drawn = labels->grab().toImage();
        const auto colourOfRow = [&](int row) { return drawn.pixelColor(4, labels->sectionViewportPosition(row) + 4); };
        QCOMPARE(colourOfRow(0), QColor(166, 202, 240));
        QCOMPARE(colourOfRow(1), QColor(255, 140, 0));
        QCOMPARE(colourOfRow(2), QColor(255, 140, 0));

        QWidget* cells = form.StringGrid1->viewport();
        const auto cellCentre = [&](int board, int table) {
            return form.StringGrid1->visualItemRect(form.StringGrid1->item(table - 1, board - 1)).center();
        };
        QCOMPARE(ToolTipAt(cells, cellCentre(1, 1)),
            QStringLiteral("Stół 1, rozdanie 1, runda 1\nKontrakt: 4 S, rozgrywa: N, wynik: =\nWist: brak\n"
                           "Zapis NS: 420\nWpisano: 17:05:12"));
        QCOMPARE(ToolTipAt(cells, cellCentre(3, 2)), QStringLiteral("Stół 2, rozdanie 3\nPusta: jeszcze nie ma zapisu"));

        QVERIFY2(form.Label4->isVisible(), "the line under the status is shown");
        QVERIFY2(form.Label4->text().startsWith(QStringLiteral("ostatni przebieg ")), qPrintable(form.Label4->text()));
        QVERIFY2(form.Label4->text().endsWith(QStringLiteral("; wyniki: 4 z 18; spóźnione: 2, 3")),
            qPrintable(form.Label4->text()));
        QVERIFY(form.Label4->y() >= form.Label3->y() + form.Label3->height());

        // A cleared mark: the cell says its entry waits for the next pass.
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        form.StringGrid1->setCurrentCell(0, 0);
        form.Zgazaznaczenie1->trigger();
        QCOMPARE(ToolTipAt(cells, cellCentre(1, 1)),
            QStringLiteral("Stół 1, rozdanie 1\nPusta: zaznaczenie zgaszone, zapis czeka na następny przebieg"));
    }

    // A suspicious cell, as the check of results marks it after a pass: drawn violet, its tooltip beginning
    // with the reason and the proposal, counted under the status, and "Popraw według propozycji" offered on
    // it alone; the proposal confirmed in the correction window is written back and transferred again.
    void suspiciousCellOffersItsProposal()
    {
        TransferFixture fixture;
        ReceivedRow swapped = Played(5, 3);
        swapped.Contract = QStringLiteral("4 S");
        swapped.Declarer = QStringLiteral("E");
        swapped.Result = QStringLiteral("=");
        fixture.Append(swapped);
        fixture.Append(Played(1, 1));
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        const int table = TransferFixture::TableOf(3, 3);
        const int plainTable = TransferFixture::TableOf(1, 1);

        ResultFinding finding;
        finding.Kind = FindingKind::Side;
        finding.Section = 1;
        finding.Table = table;
        finding.Round = 3;
        finding.Board = 5;
        finding.Reason = QStringLiteral("rozgrywający po stronie EW, a na pozostałych stołach po stronie NS");
        ScoreCorrection proposal;
        proposal.Contract = QStringLiteral("4 S");
        proposal.Declarer = QStringLiteral("N");
        proposal.Tricks = QStringLiteral("=");
        finding.Proposed = proposal;
        finding.ProposedNotation = QStringLiteral("4 S N =");
        CellEntry entry;
        entry.Received.Section = 1;
        entry.Received.Table = table;
        entry.Received.Round = 3;
        entry.Received.Board = 5;
        entry.Received.Contract = swapped.Contract;
        entry.Received.NsEw = swapped.Declarer;
        entry.Received.Result = swapped.Result;
        entry.Suspicion = finding;
        form.Grid().SetCellEntry(5, table, entry);
        form.ShowProgress(QStringLiteral("17:00:00"));

        QTableWidget* grid = form.StringGrid1;
        const auto cellColour = [&](int board, int row) {
            grid->setCurrentCell(0, 5); // the focus rectangle on neither cell
            return grid->viewport()->grab(grid->visualItemRect(grid->item(row - 1, board - 1))).toImage().pixelColor(1, 1);
        };
        QCOMPARE(cellColour(5, table), QColor(176, 128, 255));
        QCOMPARE(cellColour(1, plainTable), QColor(136, 255, 136));
        const QPoint centre = grid->visualItemRect(grid->item(table - 1, 4)).center();
        QVERIFY2(ToolTipAt(grid->viewport(), centre)
                     .startsWith(QStringLiteral("Podejrzany zapis: rozgrywający po stronie EW, a na pozostałych stołach "
                                                "po stronie NS\nPropozycja: 4 S N =\nStół %1, rozdanie 5, runda 3\n")
                                     .arg(table)),
            qPrintable(ToolTipAt(grid->viewport(), centre)));
        QVERIFY2(form.Label4->text().contains(QStringLiteral("; podejrzane: 1; ")), qPrintable(form.Label4->text()));

        QCOMPARE(form.Poprawwedlugpropozycji1->text(), QStringLiteral("Popraw według propozycji"));
        grid->setCurrentCell(plainTable - 1, 0);
        form.PopupMenu1Popup();
        QVERIFY(form.Poprawzapis1->isEnabled());
        QVERIFY(!form.Poprawwedlugpropozycji1->isEnabled());
        grid->setCurrentCell(table - 1, 4);
        form.PopupMenu1Popup();
        QVERIFY(form.Poprawzapis1->isEnabled());
        QVERIFY(form.Poprawwedlugpropozycji1->isEnabled());

        // A finding that no one correction explains is shown, but nothing is proposed.
        CellEntry unexplained = entry;
        unexplained.Suspicion->Proposed.reset();
        unexplained.Suspicion->ProposedNotation.clear();
        form.Grid().SetCellEntry(5, table, unexplained);
        form.PopupMenu1Popup();
        QVERIFY(!form.Poprawwedlugpropozycji1->isEnabled());
        QVERIFY(ToolTipAt(grid->viewport(), centre).contains(QStringLiteral("\nPropozycji nie ma: ")));
        form.Grid().SetCellEntry(5, table, entry);

        QString shownContract;
        QString shownDeclarer;
        test::ModalDriver driver;
        driver.Then([&](QWidget* modal) {
            auto* correction = qobject_cast<TForm4*>(modal);
            QVERIFY(correction);
            shownContract = correction->CBn->currentText();
            shownDeclarer = correction->CBr->currentText();
            QTest::mouseClick(correction->BitBtn1, Qt::LeftButton);
        });
        grid->setCurrentCell(table - 1, 4);
        form.PopupMenu1Popup();
        QVERIFY(form.Poprawwedlugpropozycji1->isEnabled());
        form.Poprawwedlugpropozycji1->trigger();
        QVERIFY(driver.Finished());
        QCOMPARE(shownContract, QStringLiteral("4 S"));
        QCOMPARE(shownDeclarer, QStringLiteral("N"));
        QCOMPARE(fixture.Count(QStringLiteral("[NS/EW]='N' AND [Contract]='4 S' AND [Processed]=0")), 1);
        QCOMPARE(window.Cell(5, table), QString());
        QCOMPARE(cellColour(5, table), QColor(255, 255, 0));
        form.ShowProgress(QStringLiteral("17:00:05"));
        QVERIFY2(!form.Label4->text().contains(QStringLiteral("podejrzane")), qPrintable(form.Label4->text()));
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(window.Cell(5, table), QStringLiteral("3"));
        QCOMPARE(fixture.Scores()[(5 - 1) * 3 + 3 - 1], qint16(620));
    }

    // 30 tables x 30 boards in windows of any size: the grid and both its scroll bars stay inside the window
    // (8 pixels free at the right), the status line under the grid, and the last board of the last table
    // can be scrolled into view with Ctrl+End.
    void gridStaysInsideTheWindow_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("bothScrollBars");
        QTest::newRow("500 x 400") << QSize(500, 400) << true;
        QTest::newRow("800 x 600") << QSize(800, 600) << false;
        QTest::newRow("1280 x 900") << QSize(1280, 900) << false;
        QTest::newRow("smaller than it may be") << QSize(40, 30) << true;
    }

    void gridStaysInsideTheWindow()
    {
        QFETCH(QSize, size);
        QFETCH(bool, bothScrollBars);
        TransferFixture fixture;
        test::ModelCounts counts;
        counts.Tables = 30;
        counts.Rounds = 30;
        counts.BoardsPerRound = 1;
        counts.ResultsPerBoard = 30;
        fixture.Model = test::MakeModel(counts, fixture.Model.TournamentBase);
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        QTableWidget* grid = form.StringGrid1;
        form.resize(size);
        QCoreApplication::processEvents();

        const QRect inside = form.rect();
        QVERIFY2(inside.contains(grid->geometry()),
            qPrintable(QStringLiteral("grid %1,%2 %3x%4 in %5x%6")
                           .arg(grid->x())
                           .arg(grid->y())
                           .arg(grid->width())
                           .arg(grid->height())
                           .arg(form.width())
                           .arg(form.height())));
        QVERIFY(grid->x() + grid->width() + grid->x() <= form.width());
        QVERIFY(inside.contains(form.Label3->geometry()));
        QCOMPARE(form.Label3->y(), grid->y() + grid->height());
        if (bothScrollBars) {
            QVERIFY(grid->horizontalScrollBar()->isVisible());
            QVERIFY(grid->verticalScrollBar()->isVisible());
        }
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid->currentRow(), 29);
        QCOMPARE(grid->currentColumn(), 29);
        const QRect last = grid->visualItemRect(grid->item(29, 29));
        QVERIFY2(grid->viewport()->rect().contains(last), "the last cell is out of sight");
    }

    // An erased result is marked in its cell, on the same yellow as a board not played yet; a result keyed
    // in again takes the mark away.
    void erasedResultIsMarkedInItsCell()
    {
        TransferFixture fixture;
        ReceivedRow erased = Played(1, 1);
        erased.Erased = true;
        fixture.Append(Played(1, 1));
        fixture.Append(erased);
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QTableWidget* grid = form.StringGrid1;
        const int erasedTable = TransferFixture::TableOf(1, 1);
        const int otherTable = erasedTable % 3 + 1;
        QCOMPARE(window.Cell(1, erasedTable), QString());
        const auto cellPicture = [&](int board, int table) {
            grid->setCurrentCell(0, 5); // the focus rectangle on neither cell
            return grid->viewport()->grab(grid->visualItemRect(grid->item(table - 1, board - 1))).toImage();
        };
        const QImage erasedCell = cellPicture(1, erasedTable);
        const QImage waitingCell = cellPicture(1, otherTable);
        QCOMPARE(erasedCell.pixelColor(1, 1), QColor(255, 255, 0));
        QCOMPARE(waitingCell.pixelColor(1, 1), QColor(255, 255, 0));
        QVERIFY2(erasedCell != waitingCell, "the erased cell looks like one not played yet");

        fixture.Append(Played(1, 1));
        form.Timer1Timer();
        QCOMPARE(window.Cell(1, erasedTable), QStringLiteral("1"));
        QVERIFY(!grid->item(erasedTable - 1, 0)->data(ErasedCellRole).toBool());
    }

    // "Wczytaj rozkłady" waits for an open database; with deals in the database, a cell's tooltip adds the
    // result against the deal's double-dummy tricks.
    void dealsInTheCellTooltip()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1));
        {
            TcollForm fresh(QStringList(), fixture.Dir.path());
            QVERIFY(!fresh.ToolButton10->isEnabled());
            QCOMPARE(fresh.ToolButton10->toolTip(), QStringLiteral("Wczytaj rozkłady"));
        }
        std::vector<DealAnalysis> analyses(1);
        analyses[0].Table.SetTricks(Seat::North, Denomination::Spades, 11);
        WriteOneSuitEach(fixture.DbFile, &analyses);

        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        QVERIFY(form.ToolButton10->isEnabled());
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        QWidget* cells = form.StringGrid1->viewport();
        const QPoint centre
            = form.StringGrid1->visualItemRect(form.StringGrid1->item(TransferFixture::TableOf(1, 1) - 1, 0)).center();
        const QString hint = ToolTipAt(cells, centre);
        QVERIFY2(
            hint.endsWith(QStringLiteral("\nZapis NS: 420\n4♠ N: na obiegu 11 lew, zagrano 10")), qPrintable(hint));
    }

    // Deals that another program wrote and that are no deal: the error is shown, the database opens all the same
    // and the grid works without them.
    void unreadableDealsLeaveTheDatabaseOpen()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1));
        WriteOneSuitEach(fixture.DbFile, nullptr);
        DbConnection(ScoringConnectionString(fixture.DbFile))
            .Execute(QStringLiteral("UPDATE [HandRecord] SET [WestClubs]='AKQ'"));
        QString message;
        test::ModalDriver driver;
        driver.Then([&](QWidget* box) {
            auto* dialog = qobject_cast<TMyDlgForm*>(box);
            QVERIFY(dialog);
            message = dialog->Label1->text();
            box->close();
        });
        OpenWindow window(fixture);
        QVERIFY(driver.Finished());
        QCOMPARE(message,
            QStringLiteral("Tabela HandRecord, sektor 1, rozdanie 1: ręka W ma 3 karty zamiast 13.\n"
                           "Podpowiedzi siatki będą bez rozkładów."));
        QVERIFY(window.Form.ToolButton10->isEnabled());
        QVERIFY(window.Form.Deals().IsEmpty());
        QTest::mouseClick(window.Form.Button1, Qt::LeftButton);
        QCOMPARE(window.Cell(1, TransferFixture::TableOf(1, 1)), QStringLiteral("1"));
    }

    // The terminal server holds the database for 3 s while polling runs: the pass waits about a second and
    // stops without an error box, the window keeps answering (a timer of the test keeps firing), the line
    // under the status says the database is busy, and the next tick transfers the waiting row.
    void databaseHeldByTheOtherProgramIsTriedAgainAtTheNextTick()
    {
        TransferFixture fixture;
        fixture.Append(Played(2, 3));
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        QProcess holder;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kHoldDatabase), fixture.DbFile + QStringLiteral("|3000"));
        holder.setProcessEnvironment(environment);
        holder.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(holder.waitForStarted(10000));
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));

        QElapsedTimer clock;
        clock.start();
        QList<qint64> beats;
        QTimer heartbeat;
        heartbeat.setInterval(50);
        connect(&heartbeat, &QTimer::timeout, [&] { beats.append(clock.elapsed()); });
        heartbeat.start();
        test::ModalDriver driver;
        form.Edit1->setText(QStringLiteral("5"));
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        const qint64 firstPass = clock.elapsed();
        QVERIFY2(firstPass < 2000, qPrintable(QString::number(firstPass)));
        QVERIFY(!form.Model.Busy);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(form.Label3->text(), QStringLiteral("czuwam ..."));
        QVERIFY2(form.Label4->text().contains(QStringLiteral("baza zajęta – ponowię")), qPrintable(form.Label4->text()));
        // SQLite's own lock keeps readers out too; the Jet driver's readers go on while another program
        // writes (the stand-in's write-ahead log), so there the pass reaches its marks before it stops.
        if (!CreatesAccessFiles())
            QCOMPARE(window.Cell(2, TransferFixture::TableOf(1, 3)), QString());

        QTRY_VERIFY_WITH_TIMEOUT(holder.state() == QProcess::NotRunning, 10000);
        const qint64 released = clock.elapsed();
        QTRY_VERIFY_WITH_TIMEOUT(form.Label4->text().startsWith(QStringLiteral("ostatni przebieg ")), 10000);
        QCOMPARE(window.Cell(2, TransferFixture::TableOf(1, 3)), QStringLiteral("3"));
        QCOMPARE(driver.Unexpected, QStringList());
        QVERIFY(!form.Model.Busy);
        // While the database was held the window answered: no gap of the heartbeat much longer than the
        // one wait of the first pass.
        qint64 longestGap = 0;
        qint64 last = 0;
        int beatsWhileHeld = 0;
        for (const qint64 beat : std::as_const(beats)) {
            if (beat <= released) {
                longestGap = std::max(longestGap, beat - last);
                ++beatsWhileHeld;
            }
            last = beat;
        }
        QVERIFY2(longestGap < 1600, qPrintable(QString::number(longestGap)));
        QVERIFY2(beatsWhileHeld >= 20, qPrintable(QString::number(beatsWhileHeld)));
        qInfo("database held 3000 ms: the first pass gave up after %lld ms; %d heartbeats of 50 ms while held, "
              "the longest gap %lld ms",
            firstPass, beatsWhileHeld, longestGap);
    }

    // A score file taken away while polling is on: the pass says so under the status line and writes
    // nothing; once the file is back, the next tick transfers everything, once.
    void missingScoreFileIsWaitedForWithoutABox()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1));
        const QString scores = fixture.Model.TournamentBase + QStringLiteral(".ZAP");
        QFile saved(scores);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray content = saved.readAll();
        saved.close();
        QVERIFY(QFile::remove(scores));
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        test::ModalDriver driver;
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QVERIFY2(form.Label4->text().contains(QStringLiteral("ponowię: Brak pliku cup.ZAP; wyniki")), qPrintable(form.Label4->text()));
        QCOMPARE(form.Label4->toolTip(), QStringLiteral("Brak pliku %1.").arg(scores));
        QVERIFY(!form.Model.Busy);
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 0);
        QFile restored(scores);
        QVERIFY(restored.open(QIODevice::WriteOnly));
        QCOMPARE(restored.write(content), content.size());
        restored.close();
        form.Timer1Timer();
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 1);
        QCOMPARE(window.Cell(1, TransferFixture::TableOf(1, 1)), QStringLiteral("1"));
        QCOMPARE(driver.Unexpected, QStringList());
    }

private:
    QTemporaryDir m_registry;
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(kHoldDatabase))
        return HoldDatabase(argc, argv);
    QApplication application(argc, argv);
    TestMainWindowTransfer test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestMainWindowTransfer.moc"
