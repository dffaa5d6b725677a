// The main window's results grid, polling and grid actions, driven through the real widgets.
#include "support/ModalDriver.h"
#include "TransferFixture.h"

#include "common/ui/FormDesign.h"
#include "shell/ui/collMain.h"
#include "transfer/ui/TForm4.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

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

    void stuckPassShowsProblemsOnEveryTick()
    {
        TransferFixture fixture;
        fixture.WriteEmptyResultFiles(3); // too short for board 2
        fixture.Append(Played(2, 1));
        OpenWindow window(fixture);
        TcollForm& form = window.Form;
        form.Edit1->setText(QStringLiteral("5"));
        test::ModalDriver driver;
        driver.Then([](QWidget* box) { box->close(); });
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QVERIFY(driver.Finished());
        QVERIFY(form.Model.Busy);
        QCOMPARE(form.Timer1->interval(), 5000);
        form.Timer1Timer();
        QCOMPARE(form.Label3->text(), QStringLiteral("są problemy..."));
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(form.Label3->text(), QStringLiteral("są problemy..."));
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 0);
        QVERIFY(!QApplication::overrideCursor());
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

private:
    QTemporaryDir m_registry;
};

QTEST_MAIN(TestMainWindowTransfer)
#include "TestMainWindowTransfer.moc"
