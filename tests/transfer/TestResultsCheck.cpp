// The check of received results: each kind found on a row keyed in wrongly and not on its neighbours keyed in
// right, the proposed correction, and the rows it does not judge.
#include "deals/PbnReader.h"
#include "deals/SessionDeals.h"
#include "transfer/ResultGrid.h"
#include "transfer/ResultsCheck.h"
#include "transfer/uScoreProvider.h"

#include <QTest>

using namespace kibic;

namespace {

// North holds every spade, East every heart, South every diamond, West every club.
Deal SuitPerHand()
{
    const QByteArray pbn = "[Board \"1\"]\n[Dealer \"N\"]\n[Vulnerable \"None\"]\n"
                           "[Deal \"N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"]\n";
    return ParsePbn(pbn, QStringLiteral("test.pbn")).front();
}

// Spades: North-South take northSouth tricks, East-West the rest.
DoubleDummyTable SpadeTricks(int northSouth)
{
    DoubleDummyTable table;
    for (const Seat seat : kSeats)
        table.Tricks[IndexOf(Denomination::Spades)][IndexOf(seat)]
            = static_cast<qint8>(IsNorthSouth(seat) ? northSouth : 13 - northSouth);
    return table;
}

// Board 1: 4 S by North-South makes ten tricks; board 2: East-West take eight in spades.
SessionDeals TwoBoards()
{
    SessionDeals deals;
    deals.Add({ 1, 1 }, { SuitPerHand(), SpadeTricks(10) });
    deals.Add({ 1, 2 }, { SuitPerHand(), SpadeTricks(5) });
    return deals;
}

CheckedResult Row(qint32 table, qint32 board, const QString& contract, const QString& declarer,
    const QString& result, const QString& lead = {})
{
    CheckedResult row;
    row.Received.Section = 1;
    row.Received.Table = table;
    row.Received.Round = 1;
    row.Received.Board = board;
    row.Received.Contract = contract;
    row.Received.NsEw = declarer;
    row.Received.Result = result;
    row.Received.LeadCard = lead;
    return row;
}

// Tables 1..5 play boards 1 and 2 in round 1, straight: 4 S by North making, the lead from East; 2 S by East
// making, the lead from South.
std::vector<CheckedResult> StraightSession()
{
    std::vector<CheckedResult> rows;
    for (qint32 table = 1; table <= 5; ++table) {
        rows.push_back(Row(table, 1, QStringLiteral("4 S"), QStringLiteral("N"), QStringLiteral("="), QStringLiteral("HA")));
        rows.push_back(Row(table, 2, QStringLiteral("2 S"), QStringLiteral("E"), QStringLiteral("="), QStringLiteral("DA")));
    }
    return rows;
}

std::vector<ResultFinding> Check(const std::vector<CheckedResult>& rows, const SessionDeals* deals)
{
    return CheckResults(rows, deals, TScoreProvider());
}

} // namespace

class TestResultsCheck : public QObject
{
    Q_OBJECT

private slots:
    void straightPlayIsNotSuspicious()
    {
        const SessionDeals deals = TwoBoards();
        QVERIFY(Check(StraightSession(), &deals).empty());
        QVERIFY(Check(StraightSession(), nullptr).empty());
    }

    void eachMistakeIsFoundOnItsRowAlone_data()
    {
        QTest::addColumn<QString>("declarer");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("lead");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("proposal");
        // The lead is East's heart: whoever is keyed, North declared.
        QTest::newRow("side") << "E" << "=" << "HA" << "side" << "4 S N = HA";
        QTest::newRow("declarer within the side") << "S" << "=" << "HA" << "declarer" << "4 S N = HA";
        // Without a lead the deal shows it: East-West take three spade tricks, North-South ten.
        QTest::newRow("side without a lead") << "E" << "=" << "" << "side" << "4 S N =";
        QTest::newRow("tricks far from the deal") << "N" << "-4" << "HA" << "tricks" << "";
    }

    void eachMistakeIsFoundOnItsRowAlone()
    {
        QFETCH(QString, declarer);
        QFETCH(QString, result);
        QFETCH(QString, lead);
        QFETCH(QString, kind);
        QFETCH(QString, proposal);
        std::vector<CheckedResult> rows = StraightSession();
        rows[4] = Row(3, 1, QStringLiteral("4 S"), declarer, result, lead); // table 3, board 1
        const SessionDeals deals = TwoBoards();
        const std::vector<ResultFinding> findings = Check(rows, &deals);
        QCOMPARE(findings.size(), size_t(1));
        const ResultFinding& finding = findings.front();
        QCOMPARE(FindingKindWord(finding.Kind), kind);
        QCOMPARE(finding.Table, 3);
        QCOMPARE(finding.Board, 1);
        QVERIFY(!finding.Reason.isEmpty());
        QCOMPARE(finding.ProposedNotation, proposal);
        QCOMPARE(finding.Proposed.has_value(), !proposal.isEmpty());
        if (finding.Proposed)
            QCOMPARE(finding.Proposed->Declarer, QStringLiteral("N"));
    }

    void aRecordKeyedOnTheWrongBoardIsNamedWithItsBoard()
    {
        std::vector<CheckedResult> rows = StraightSession();
        // Table 2 keyed its board 2 record on board 1 too.
        rows[2] = Row(2, 1, QStringLiteral("2 S"), QStringLiteral("E"), QStringLiteral("="), QStringLiteral("DA"));
        const SessionDeals deals = TwoBoards();
        const std::vector<ResultFinding> findings = Check(rows, &deals);
        QCOMPARE(findings.size(), size_t(1));
        QCOMPARE(findings.front().Kind, FindingKind::Board);
        QCOMPARE(findings.front().Table, 2);
        QCOMPARE(findings.front().Board, 1);
        QVERIFY2(findings.front().Reason.contains(QStringLiteral("rozdania 2")), qPrintable(findings.front().Reason));
    }

    void withoutDealsTheFieldShowsASideError()
    {
        std::vector<CheckedResult> rows = StraightSession();
        rows[6] = Row(4, 1, QStringLiteral("4 S"), QStringLiteral("E"), QStringLiteral("=")); // −420 among +420s
        const std::vector<ResultFinding> findings = Check(rows, nullptr);
        QCOMPARE(findings.size(), size_t(1));
        QCOMPARE(findings.front().Kind, FindingKind::Outlier);
        QCOMPARE(findings.front().Table, 4);
        QVERIFY(findings.front().Proposed);
        QVERIFY(IsNorthSouth(*SeatOfLetter(findings.front().Proposed->Declarer.front())));
    }

    // Without deals, on a board where 3 NT by North made at three tables (400, 430) and went two and three down
    // at two (−100, −150): "+2", an overtrick more than the best table, is a table playing well even though
    // another table's "−2" would bring it inside the field, and "−4" a table playing badly; "+3" for the "−3"
    // of another table, far above the field, is a sign keyed wrongly.
    void withoutDealsOnlyAScoreBeyondATableStrayingIsAnOutlier_data()
    {
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("outlier");
        QTest::newRow("+2, one over the best") << QStringLiteral("+2") << false;
        QTest::newRow("+3, the sign of -3") << QStringLiteral("+3") << true;
        QTest::newRow("-4, one under the worst") << QStringLiteral("-4") << false;
    }

    void withoutDealsOnlyAScoreBeyondATableStrayingIsAnOutlier()
    {
        QFETCH(QString, result);
        QFETCH(bool, outlier);
        std::vector<CheckedResult> rows;
        const QStringList field { QStringLiteral("="), QStringLiteral("+1"), QStringLiteral("-2"), QStringLiteral("-3"),
            QStringLiteral("=") };
        for (qint32 table = 1; table <= 5; ++table)
            rows.push_back(Row(table, 1, QStringLiteral("3 NT"), QStringLiteral("N"), field[table - 1]));
        rows.push_back(Row(6, 1, QStringLiteral("3 NT"), QStringLiteral("N"), result));
        const std::vector<ResultFinding> findings = Check(rows, nullptr);
        QCOMPARE(findings.size(), size_t(outlier ? 1 : 0));
        if (outlier) {
            QCOMPARE(findings.front().Table, 6);
            QCOMPARE(findings.front().ProposedNotation, QStringLiteral("3 NT N -3"));
        }
    }

    void aBoardOfTwoResultsIsJudgedOnlyByTheDeal()
    {
        const std::vector<CheckedResult> rows { Row(1, 1, QStringLiteral("4 S"), QStringLiteral("N"), QStringLiteral("=")),
            Row(2, 1, QStringLiteral("4 S"), QStringLiteral("E"), QStringLiteral("=")) };
        QVERIFY(Check(rows, nullptr).empty());
        const SessionDeals deals = TwoBoards();
        QCOMPARE(Check(rows, &deals).size(), size_t(1));
    }

    void pairsNotSeatedThereByTheMovement()
    {
        std::vector<CheckedResult> rows = StraightSession();
        for (CheckedResult& row : rows) {
            row.PairNS = row.MovementNS = row.Received.Table;
            row.PairEW = row.MovementEW = row.Received.Table + 10;
        }
        rows[8].PairNS = 2; // table 5's terminal logged on as table 2
        rows[8].PairEW = 12;
        const SessionDeals deals = TwoBoards();
        const std::vector<ResultFinding> findings = Check(rows, &deals);
        QCOMPARE(findings.size(), size_t(1));
        QCOMPARE(findings.front().Kind, FindingKind::Pairs);
        QCOMPARE(findings.front().Table, 5);
        QVERIFY(!findings.front().Proposed);
    }

    void rowsThatAreNotPlayedScoresAreNotJudged()
    {
        std::vector<CheckedResult> rows = StraightSession();
        rows[0].Received.Remarks = QStringLiteral("Not played");
        rows[0].Received.NsEw = QStringLiteral("E");
        rows[2].Received.Remarks = QStringLiteral("60%-40%");
        rows[2].Received.NsEw = QStringLiteral("E");
        rows[4].Received.Erased = true;
        rows[4].Received.NsEw = QStringLiteral("E");
        rows[6] = Row(4, 1, QStringLiteral("PASS"), QString(), QString());
        const SessionDeals deals = TwoBoards();
        QVERIFY(Check(rows, &deals).empty());
    }

    void theGridKeepsTheFindingOfItsCellAndCountsThem()
    {
        MemoryGrid grid(3, 6, true);
        std::vector<CheckedResult> rows = StraightSession();
        rows[4] = Row(3, 1, QStringLiteral("4 S"), QStringLiteral("E"), QStringLiteral("="), QStringLiteral("HA"));
        for (const CheckedResult& row : rows)
            grid.SetCellEntry(row.Received.Board, row.Received.Table, CellEntry { CellEntry::Why::Transferred, row.Received, {}, {} });
        const SessionDeals deals = TwoBoards();
        QCOMPARE(CheckGrid(grid, std::nullopt, &deals, TScoreProvider()), 1);
        QVERIFY(grid.EntryAt(1, 3)->Suspicion);
        QVERIFY(!grid.EntryAt(1, 2)->Suspicion);
        // The row corrected as proposed: the next pass touches column 1 and the finding is gone.
        CellEntry corrected = *grid.EntryAt(1, 3);
        corrected.Received.NsEw = QStringLiteral("N");
        corrected.Suspicion.reset();
        grid.SetCellEntry(1, 3, corrected);
        QCOMPARE(CheckGrid(grid, std::vector<qint32> { 1 }, &deals, TScoreProvider()), 0);
        QCOMPARE(SuspiciousCells(grid), 0);
    }
};

QTEST_GUILESS_MAIN(TestResultsCheck)
#include "TestResultsCheck.moc"
