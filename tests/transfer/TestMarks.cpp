// The director's grid actions: correct a record, clear one mark, clear all marks.
#include "TransferFixture.h"
#include "support/SqliteFile.h"

#include "common/KibicError.h"
#include "transfer/GridLayout.h"
#include "transfer/Polling.h"
#include "transfer/popK.h"

#include <QTest>

using namespace kibic;
using namespace kibic::testing;

namespace {

// Polling as a window would do it: starting runs a pass at once.
class FakePolling : public PollingSwitch
{
public:
    explicit FakePolling(std::function<void()> pass)
        : m_pass(std::move(pass))
    {
    }
    bool PollingOn() const override { return On; }
    void SetPolling(bool on) override
    {
        Calls.append(on);
        On = on;
        if (on)
            m_pass();
    }
    bool On = false;
    QList<bool> Calls;

private:
    std::function<void()> m_pass;
};

class FakeEditor : public CorrectionEditor
{
public:
    bool EditCorrection(ScoreCorrection& correction) override
    {
        Shown = correction;
        ++Calls;
        if (Fail)
            throw KibicError(QStringLiteral("okno poprawki zawiodło"));
        if (!Accept)
            return false;
        if (!AcceptShown)
            correction = Answer;
        return true;
    }
    ScoreCorrection Shown;
    ScoreCorrection Answer;
    bool Accept = true;
    bool AcceptShown = false; // OK on what the window shows, as the director confirms a proposal
    bool Fail = false;
    int Calls = 0;
};

ReceivedRow Played(int board, int round)
{
    ReceivedRow row;
    row.Board = board;
    row.Round = round;
    row.Table = TransferFixture::TableOf((board + 1) / 2, round);
    return row;
}

} // namespace

class TestMarks : public QObject
{
    Q_OBJECT

private:
    struct Session
    {
        explicit Session(TransferFixture& fixture)
            : Fixture(fixture)
            , Rec(ScoringConnectionString(fixture.DbFile), QStringLiteral("ReceivedData"))
            , Rda(ScoringConnectionString(fixture.DbFile), QStringLiteral("RoundData"))
            , Grid(fixture.Model.BoardCount + 1, fixture.Model.GridTableCount + 1)
            , Polling([this] { RunPass(); })
        {
            FillGridHeaders(fixture.Model, Grid);
        }
        void RunPass() { (void)TransferResults(Fixture.Model, Rec, Rda, Grid, Scorer, Feedback); }
        GridActionContext At(int x, int y) { return GridActionContext{Fixture.Model, Rec, Rda, Grid, Polling, x, y}; }

        TransferFixture& Fixture;
        TTable Rec;
        TTable Rda;
        EntryGrid Grid;
        TScoreProvider Scorer;
        PassFeedback Feedback;
        FakePolling Polling;
    };

private slots:
    void statementsAreExact()
    {
        QCOMPARE(LatestLiveRecordStatement(2, 3, 5, 4),
            QStringLiteral("SELECT MAX(`ID`) FROM `ReceivedData` WHERE `Section`=2 AND `Table`=3 AND `Board`=5 AND "
                           "`Round`=4 AND `Erased`=0"));
        QCOMPARE(LatestErasureStatement(1, 1, 1, 1),
            QStringLiteral("SELECT MAX(`ID`) FROM `ReceivedData` WHERE `Section`=1 AND `Table`=1 AND `Board`=1 AND "
                           "`Round`=1 AND `Erased`<>0"));
        QCOMPARE(ClearAllMarksStatement(0), QStringLiteral("UPDATE `ReceivedData` SET `Processed`=0"));
        QCOMPARE(ClearAllMarksStatement(3), QStringLiteral("UPDATE `ReceivedData` SET `Processed3`=0"));
    }

    // With polling on, clearing a mark empties the cell and the immediate pass fills it again.
    void clearedMarkIsTransferredAgainAtOnce()
    {
        TransferFixture fixture;
        fixture.Append(Played(3, 2));
        Session session(fixture);
        session.Polling.On = true;
        session.RunPass();
        const int y = TransferFixture::TableOf(2, 2);
        QCOMPARE(session.Grid.Cell(3, y), QStringLiteral("2"));
        ClearCellMark(session.At(3, y));
        QCOMPARE(session.Polling.Calls, QList<bool>({false, true}));
        QCOMPARE(session.Grid.Cell(3, y), QStringLiteral("2"));
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 1);
    }

    void clearedMarkWaitsWhenPollingIsOff()
    {
        TransferFixture fixture;
        fixture.Append(Played(3, 2));
        Session session(fixture);
        session.RunPass();
        const int y = TransferFixture::TableOf(2, 2);
        ClearCellMark(session.At(3, y));
        QCOMPARE(session.Polling.Calls, QList<bool>({false}));
        QCOMPARE(session.Grid.Cell(3, y), QString());
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]=0")), 1);
    }

    // A cell whose last entry is an erasure: the correction shows nothing; clearing the mark reaches the
    // latest live record, which the next pass transfers again.
    void cellWhoseLastEntryIsAnErasure()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1));
        const int live = fixture.Append(Played(1, 1));
        ReceivedRow erased = Played(1, 1);
        erased.Erased = true;
        fixture.Append(erased);
        Session session(fixture);
        session.RunPass();
        const int y = TransferFixture::TableOf(1, 1);
        session.Grid.SetCell(1, y, QStringLiteral("1")); // as shown before the erasure arrived
        FakeEditor editor;
        CorrectCellRecord(session.At(1, y), editor);
        QCOMPARE(editor.Calls, 0);
        ClearCellMark(session.At(1, y));
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]=0")), 1);
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]=0 AND [ID]=%1").arg(live)), 1);
    }

    void disarmedClickAndRefusedCells()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1));
        Session session(fixture);
        session.RunPass();
        const int y = TransferFixture::TableOf(1, 1);
        fixture.Model.CellClicked = false; // a right click on a header cell
        ClearCellMark(session.At(1, y));
        QVERIFY(fixture.Model.CellClicked);
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 1);
        QVERIFY(session.Polling.Calls.isEmpty());
        ClearCellMark(session.At(0, y)); // the row label
        ClearCellMark(session.At(2, y)); // an empty cell
        fixture.Model.Busy = true;
        ClearCellMark(session.At(1, y));
        QVERIFY(session.Polling.Calls.isEmpty());
        fixture.Model.Busy = false;
        ClearCellMark(session.At(1, y)); // the same command chosen again works
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 0);
    }

    // A cell that shows a round its board set is not played in at that table does not belong to it.
    void cellOfAnotherRoundDoesNothingButRestoresPolling()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1));
        Session session(fixture);
        session.RunPass();
        const int y = TransferFixture::TableOf(1, 1);
        session.Grid.SetCell(1, y, QStringLiteral("2"));
        session.Polling.On = true;
        ClearCellMark(session.At(1, y));
        QCOMPARE(session.Polling.Calls, QList<bool>({false, true}));
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 1);
    }

    void correctionToASplitScoreIsWrittenByTheNextPass()
    {
        TransferFixture fixture;
        ReceivedRow row = Played(5, 3);
        row.Contract = QStringLiteral("3 NT");
        row.Declarer = QStringLiteral("E");
        row.Result = QStringLiteral("-1");
        row.Remarks = QStringLiteral("*");
        fixture.Append(row);
        Session session(fixture);
        session.RunPass();
        const int y = TransferFixture::TableOf(3, 3);
        FakeEditor editor;
        editor.Answer.Contract = QStringLiteral("35%-60%");
        CorrectCellRecord(session.At(5, y), editor);
        QCOMPARE(editor.Calls, 1);
        QCOMPARE(editor.Shown.RoundCaption, QStringLiteral("Runda 3"));
        QCOMPARE(editor.Shown.TableCaption, QStringLiteral("Stół A%1(%1-%2)").arg(y).arg(y + 3));
        QCOMPARE(editor.Shown.BoardCaption, QStringLiteral("Rozdanie 5"));
        QCOMPARE(editor.Shown.Contract, QStringLiteral("3 NT"));
        QCOMPARE(editor.Shown.Declarer, QStringLiteral("E"));
        QCOMPARE(editor.Shown.Tricks, QStringLiteral("-1"));
        QVERIFY(editor.Shown.WrongLines);
        QCOMPARE(session.Grid.Cell(5, y), QString());
        QCOMPARE(fixture.Count(QStringLiteral("[Contract]='' AND [Remarks]='35%-60%' AND [Processed]=0")), 1);
        session.RunPass();
        QCOMPARE(fixture.Scores()[(5 - 1) * 3 + 3 - 1], qint16(9780 + 21 * 7 + 12));
        QCOMPARE(session.Grid.Cell(5, y), QStringLiteral("3"));
    }

    // "Popraw według propozycji": the window shows the proposed record under the received record's captions;
    // confirmed, it is written back with the mark cleared and the next pass transfers it; cancelled, nothing
    // changes.
    void proposedCorrectionConfirmedIsTransferred()
    {
        TransferFixture fixture;
        ReceivedRow row = Played(5, 3);
        row.Contract = QStringLiteral("4 S");
        row.Declarer = QStringLiteral("E");
        row.Result = QStringLiteral("=");
        fixture.Append(row);
        Session session(fixture);
        session.RunPass();
        const int y = TransferFixture::TableOf(3, 3);
        const int slot = (5 - 1) * 3 + 3 - 1;
        QCOMPARE(fixture.Scores()[slot], qint16(-420));

        ScoreCorrection proposal;
        proposal.Contract = QStringLiteral("4 S");
        proposal.Declarer = QStringLiteral("N");
        proposal.LeadCard = QStringLiteral("D7");
        proposal.Tricks = QStringLiteral("=");
        FakeEditor cancelled;
        cancelled.Accept = false;
        CorrectCellByProposal(session.At(5, y), cancelled, proposal);
        QCOMPARE(cancelled.Calls, 1);
        QCOMPARE(session.Grid.Cell(5, y), QStringLiteral("3"));
        QCOMPARE(fixture.Count(QStringLiteral("[NS/EW]='E' AND [Processed]<>0")), 1);

        FakeEditor editor;
        editor.AcceptShown = true;
        CorrectCellByProposal(session.At(5, y), editor, proposal);
        QCOMPARE(editor.Shown.RoundCaption, QStringLiteral("Runda 3"));
        QCOMPARE(editor.Shown.TableCaption, QStringLiteral("Stół A%1(%1-%2)").arg(y).arg(y + 3));
        QCOMPARE(editor.Shown.BoardCaption, QStringLiteral("Rozdanie 5"));
        QCOMPARE(editor.Shown.Contract, proposal.Contract);
        QCOMPARE(editor.Shown.Declarer, proposal.Declarer);
        QCOMPARE(editor.Shown.LeadCard, proposal.LeadCard);
        QCOMPARE(editor.Shown.Tricks, proposal.Tricks);
        QCOMPARE(session.Grid.Cell(5, y), QString());
        QCOMPARE(fixture.Count(QStringLiteral("[NS/EW]='N' AND [Contract]='4 S' AND [LeadCard]='D7' AND [Processed]=0")), 1);
        session.RunPass();
        QCOMPARE(fixture.Scores()[slot], qint16(620));
        QCOMPARE(session.Grid.Cell(5, y), QStringLiteral("3"));

        // "Popraw zapis" shows the record as it now stands, not the proposal.
        FakeEditor plain;
        plain.Accept = false;
        CorrectCellRecord(session.At(5, y), plain);
        QCOMPARE(plain.Shown.Declarer, QStringLiteral("N"));
    }

    // The corrected texts reach the file as they are: no terminator inside a length, nothing cut or added
    // (read back with SQLite itself, whichever driver wrote them).
    void correctedTextsAreStoredExactly()
    {
        TransferFixture fixture;
        fixture.Append(Played(5, 3));
        Session session(fixture);
        session.RunPass();
        const int y = TransferFixture::TableOf(3, 3);
        FakeEditor editor;
        editor.Answer.Contract = QStringLiteral("4 S x");
        editor.Answer.Declarer = QStringLiteral("N");
        editor.Answer.LeadCard = QStringLiteral("H10");
        editor.Answer.Tricks = QStringLiteral("+1");
        editor.Answer.WrongLines = true;
        CorrectCellRecord(session.At(5, y), editor);
        const QVariantList stored = test::SqliteFile(fixture.DbFile)
                                        .Rows(QStringLiteral("SELECT hex([Contract]),hex([NS/EW]),hex([LeadCard]),"
                                                             "hex([Result]),hex([Remarks]) FROM [ReceivedData]"))
                                        .value(0);
        const auto hex = [](const char* text) { return QString::fromLatin1(QByteArray(text).toHex().toUpper()); };
        QCOMPARE(stored, QVariantList({ hex("4 S x"), hex("N"), hex("H10"), hex("+1"), hex("*") }));
    }

    void correctionShowsASplitScoreInTheContractBox()
    {
        TransferFixture fixture;
        ReceivedRow row = Played(2, 1);
        row.Remarks = QStringLiteral("Not played");
        fixture.Append(row);
        Session session(fixture);
        session.RunPass();
        FakeEditor editor;
        editor.Accept = false;
        const int y = TransferFixture::TableOf(1, 1);
        CorrectCellRecord(session.At(2, y), editor);
        QCOMPARE(editor.Shown.Contract, QStringLiteral("50%-50%"));
        QCOMPARE(editor.Shown.Declarer, QString());
        QCOMPARE(session.Grid.Cell(2, y), QStringLiteral("1")); // cancelled: the cell stays
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 1);
    }

    void clearAllLeavesPollingOffAndTouchesOnlyThisColumn()
    {
        TransferFixture fixture;
        fixture.Model.ProcessedColumnNo = 3;
        fixture.Append(Played(1, 1));
        fixture.Append(Played(4, 2));
        {
            DbConnection db(ScoringConnectionString(fixture.DbFile));
            (void)db.Execute(QStringLiteral("UPDATE [ReceivedData] SET [Processed]=1,[Processed2]=1"));
        }
        Session session(fixture);
        session.RunPass();
        session.Polling.On = true;
        ScriptedOperator operatorUi;
        ClearAllMarks(session.At(1, 1), operatorUi);
        QVERIFY(!session.Polling.On);
        QCOMPARE(operatorUi.Messages, QStringList({QStringLiteral("Czuwanie uruchom teraz ręcznie.")}));
        QCOMPARE(fixture.Count(QStringLiteral("[Processed3]<>0")), 0);
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0 AND [Processed2]<>0")), 2);
        for (int y = 1; y <= 3; ++y)
            for (int x = 1; x <= 6; ++x)
                QCOMPARE(session.Grid.Cell(x, y), QString());
        QCOMPARE(session.Grid.Cell(0, 1), QStringLiteral(" 1"));
    }

    // An emptied cell says why it is empty: its entry waits for the next pass.
    void clearedMarksLeaveTheirCellsWaiting()
    {
        TransferFixture fixture;
        fixture.Append(Played(3, 2));
        Session session(fixture);
        session.RunPass();
        const int y = TransferFixture::TableOf(2, 2);
        QCOMPARE(int(session.Grid.Entries.at({ 3, y }).State), int(CellEntry::Why::Transferred));
        ClearCellMark(session.At(3, y));
        QCOMPARE(int(session.Grid.Entries.at({ 3, y }).State), int(CellEntry::Why::MarkCleared));
        ScriptedOperator operatorUi;
        ClearAllMarks(session.At(1, 1), operatorUi);
        QCOMPARE(session.Grid.Entries.size(), size_t(3 * 6));
        for (const auto& [cell, entry] : session.Grid.Entries)
            QCOMPARE(int(entry.State), int(CellEntry::Why::MarkCleared));
    }

    // A failure inside a cell action still closes RoundData, and leaves polling off for the director, whom
    // the error box tells; no pass runs while the failure is on its way.
    void failedActionClosesTheRoundsAndLeavesPollingOff()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1));
        Session session(fixture);
        session.RunPass();
        session.Polling.On = true;
        FakeEditor editor;
        editor.Fail = true;
        const int y = TransferFixture::TableOf(1, 1);
        QVERIFY_THROWS_EXCEPTION(KibicError, CorrectCellRecord(session.At(1, y), editor));
        QCOMPARE(editor.Calls, 1);
        QCOMPARE(session.Polling.Calls, QList<bool>({ false }));
        QVERIFY(!session.Polling.On);
        QVERIFY(!session.Rda.Active());
        QVERIFY(!session.Rec.Active());
    }

    void popupEnablesForAnyLiveRecordOfTheTableAndBoard()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1));
        Session session(fixture);
        const int y = TransferFixture::TableOf(1, 1);
        QVERIFY(CellActionsEnabled(fixture.Model, session.Rec, session.Grid, 1, y)); // empty, not yet handled
        QVERIFY(!CellActionsEnabled(fixture.Model, session.Rec, session.Grid, 2, y));
        QVERIFY(!CellActionsEnabled(fixture.Model, session.Rec, session.Grid, 0, y));
        QVERIFY(!session.Rec.Active());
    }
};

QTEST_GUILESS_MAIN(TestMarks)
#include "TestMarks.moc"
