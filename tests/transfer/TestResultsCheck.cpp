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

// Sections 1 and 2 of five tables: boards 1 and 2 in round 1, 3 and 4 in round 2, each odd board as board 1 of
// StraightSession and each even board as its board 2, the pairs sent as the movement seats them.
std::vector<CheckedResult> TwoSectionsTwoRounds()
{
    std::vector<CheckedResult> rows;
    for (qint32 section = 1; section <= 2; ++section) {
        for (qint32 table = 1; table <= 5; ++table) {
            for (qint32 board = 1; board <= 4; ++board) {
                CheckedResult row = board % 2 == 1
                    ? Row(table, board, QStringLiteral("4 S"), QStringLiteral("N"), QStringLiteral("="), QStringLiteral("HA"))
                    : Row(table, board, QStringLiteral("2 S"), QStringLiteral("E"), QStringLiteral("="), QStringLiteral("DA"));
                row.Received.Section = section;
                row.Received.Round = (board + 1) / 2;
                row.PairNS = row.MovementNS = row.Received.PairNS = table;
                row.PairEW = row.MovementEW = row.Received.PairEW = table + 10;
                rows.push_back(row);
            }
        }
    }
    return rows;
}

SessionDeals FourBoardsTwoSections()
{
    SessionDeals deals;
    for (qint32 section = 1; section <= 2; ++section)
        for (qint32 board = 1; board <= 4; ++board)
            deals.Add({ section, board }, { SuitPerHand(), SpadeTricks(board % 2 == 1 ? 10 : 5) });
    return deals;
}

std::vector<ResultFinding> Check(const std::vector<CheckedResult>& rows, const SessionDeals* deals)
{
    return CheckResults(rows, deals, TScoreProvider());
}

// A grid that, as a finding reaches one of its cells, has another grid checked first (as a window's update
// might start a check inside a check).
class GridCheckingAnother : public MemoryGrid
{
public:
    GridCheckingAnother(int columns, int rows, MemoryGrid& other, const SessionDeals& deals)
        : MemoryGrid(columns, rows, true)
        , m_other(other)
        , m_deals(deals)
    {
    }

    void SetSuspicion(int column, int row, std::optional<ResultFinding> suspicion) override
    {
        InnerCount = CheckGrid(m_other, std::nullopt, &m_deals, TScoreProvider());
        MemoryGrid::SetSuspicion(column, row, std::move(suspicion));
    }

    qint32 InnerCount = -1;

private:
    MemoryGrid& m_other;
    const SessionDeals& m_deals;
};

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

    // The grid holds both sections one under the other, boards as columns; a mistake of each kind is planted,
    // most in section 2, whose boards have the same numbers as section 1's. The grid's cells are judged as the
    // same rows are, with every board's field and round taken within its own section.
    void theGridIsJudgedAsItsRowsAre()
    {
        std::vector<CheckedResult> rows = TwoSectionsTwoRounds();
        const auto at = [&rows](qint32 section, qint32 table, qint32 board) -> CheckedResult& {
            return rows[size_t((section - 1) * 20 + (table - 1) * 4 + board - 1)];
        };
        at(2, 3, 1).Received.NsEw = QStringLiteral("E"); // side: East's heart led
        at(2, 4, 3).Received.NsEw = QStringLiteral("S"); // declarer within the side
        at(2, 5, 2).Received.Contract = QStringLiteral("4 S"); // board 1's record on board 2
        at(2, 5, 2).Received.NsEw = QStringLiteral("N");
        at(2, 5, 2).Received.LeadCard = QStringLiteral("HA");
        at(2, 1, 4).Received.Result = QStringLiteral("-4"); // four tricks where East takes eight
        at(1, 2, 3).PairNS = at(1, 2, 3).Received.PairNS = 3; // pairs the movement does not seat there
        const SessionDeals deals = FourBoardsTwoSections();

        QStringList expected { QStringLiteral("1 2 3 pairs"), QStringLiteral("2 1 4 tricks"), QStringLiteral("2 3 1 side"),
            QStringLiteral("2 4 3 declarer"), QStringLiteral("2 5 2 board") };
        QStringList found;
        for (const ResultFinding& finding : Check(rows, &deals))
            found << QStringLiteral("%1 %2 %3 %4").arg(finding.Section).arg(finding.Table).arg(finding.Board).arg(
                FindingKindWord(finding.Kind));
        QCOMPARE(found, expected);

        MemoryGrid grid(5, 11, true);
        for (const CheckedResult& row : rows) {
            const ReceivedResult& received = row.Received;
            grid.SetCellEntry(received.Board, (received.Section - 1) * 5 + received.Table,
                CellEntry { CellEntry::Why::Transferred, received, {}, {}, row.MovementNS, row.MovementEW });
        }
        QCOMPARE(CheckGrid(grid, std::nullopt, &deals, TScoreProvider()), 5);
        for (const ResultFinding& finding : Check(rows, &deals)) {
            const CellEntry* entry = grid.EntryAt(finding.Board, (finding.Section - 1) * 5 + finding.Table);
            QVERIFY(entry && entry->Suspicion);
            QCOMPARE(entry->Suspicion->Reason, finding.Reason);
            QCOMPARE(entry->Suspicion->ProposedNotation, finding.ProposedNotation);
        }
        // A later pass that touched board 2 only checks it and board 1 again (the same round) and leaves boards 3
        // and 4 as they were.
        QCOMPARE(CheckGrid(grid, std::vector<qint32> { 2 }, &deals, TScoreProvider()), 5);
        QVERIFY(grid.EntryAt(3, 9)->Suspicion);
    }

    // Without deals a board's field is its own section's tables: section 2, where East-West declared at four
    // tables, shows its fifth table's North as an outlier, which section 1's North-South declarers would hide.
    void eachSectionIsAFieldOfItsOwn()
    {
        std::vector<CheckedResult> rows;
        for (qint32 section = 1; section <= 2; ++section) {
            for (qint32 table = 1; table <= 5; ++table) {
                const bool east = section == 2 && table != 3;
                rows.push_back(Row(table, 1, QStringLiteral("4 S"), east ? QStringLiteral("E") : QStringLiteral("N"),
                    QStringLiteral("=")));
                rows.back().Received.Section = section;
            }
        }
        const std::vector<ResultFinding> findings = Check(rows, nullptr);
        QCOMPARE(findings.size(), size_t(1));
        QCOMPARE(findings.front().Section, 2);
        QCOMPARE(findings.front().Table, 3);
        MemoryGrid grid(2, 11, true);
        for (const CheckedResult& row : rows)
            grid.SetCellEntry(1, (row.Received.Section - 1) * 5 + row.Received.Table,
                CellEntry { CellEntry::Why::Transferred, row.Received, {}, {} });
        QCOMPARE(CheckGrid(grid, std::nullopt, nullptr, TScoreProvider()), 1);
        QVERIFY(grid.EntryAt(1, 8)->Suspicion);
    }

    void aCheckStartedInsideACheckLeavesItWhole()
    {
        const SessionDeals deals = FourBoardsTwoSections();
        std::vector<CheckedResult> rows = TwoSectionsTwoRounds();
        MemoryGrid inner(5, 11, true);
        GridCheckingAnother outer(5, 11, inner, deals);
        for (const CheckedResult& row : rows) {
            const ReceivedResult& received = row.Received;
            CellEntry entry { CellEntry::Why::Transferred, received, {}, {}, row.MovementNS, row.MovementEW };
            inner.SetCellEntry(received.Board, (received.Section - 1) * 5 + received.Table, entry);
            // The outer grid: every table of section 1 keyed East for North on board 1.
            if (received.Section == 1 && received.Board == 1)
                entry.Received.NsEw = QStringLiteral("E");
            outer.SetCellEntry(received.Board, (received.Section - 1) * 5 + received.Table, entry);
        }
        QCOMPARE(CheckGrid(outer, std::nullopt, &deals, TScoreProvider()), 5);
        QCOMPARE(outer.InnerCount, 0);
        for (int table = 1; table <= 5; ++table)
            QVERIFY(outer.EntryAt(1, table)->Suspicion);
    }

    // What the check reads of a row when its cell keeps it: the tricks, score and lead, or that the row cannot be
    // judged.
    void aRowIsReadOnceForTheCheck_data()
    {
        QTest::addColumn<QString>("contract");
        QTest::addColumn<QString>("declarer");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("lead");
        QTest::addColumn<bool>("judged");
        QTest::addColumn<int>("tricks");
        QTest::addColumn<int>("score");
        QTest::addColumn<bool>("hasLead");
        QTest::newRow("made, the lead in small letters")
            << "4 S" << "N" << "=" << " h10 " << true << 10 << 420 << true;
        QTest::newRow("doubled down by East") << "4 H x" << "E" << "-1" << "SA" << true << 9 << 100 << true;
        QTest::newRow("a lead that is no card") << "3 NT" << "S" << "+1" << "X9" << true << 10 << 430 << false;
        QTest::newRow("fourteen tricks") << "4 S" << "N" << "+4" << "" << false << 0 << 0 << false;
        QTest::newRow("no declarer") << "4 S" << "" << "=" << "" << false << 0 << 0 << false;
    }

    void aRowIsReadOnceForTheCheck()
    {
        QFETCH(QString, contract);
        QFETCH(QString, declarer);
        QFETCH(QString, result);
        QFETCH(QString, lead);
        QFETCH(bool, judged);
        QFETCH(int, tricks);
        QFETCH(int, score);
        QFETCH(bool, hasLead);
        CheckedResult row = Row(1, 1, contract, declarer, result, lead);
        CellEntries kept;
        kept.Set(1, 1, CellEntry { CellEntry::Why::Transferred, row.Received, {}, {} });
        const std::optional<PlayReading>& reading = kept.At(1, 1)->Reading;
        QVERIFY(reading);
        QCOMPARE(reading->Judged, judged);
        if (!judged)
            return;
        QCOMPARE(reading->Tricks, tricks);
        QCOMPARE(reading->NsScore, score);
        QCOMPARE(reading->Lead.has_value(), hasLead);
    }

    // The cells keep what was set last and read it again each time: a reading handed in with an entry is not
    // taken on trust, an erasure has none, and nothing outside the grid is kept.
    void cellsReadTheirEntryAgainEachTimeItIsSet()
    {
        CellEntries kept;
        CellEntry entry { CellEntry::Why::Transferred,
            Row(1, 1, QStringLiteral("4 S"), QStringLiteral("N"), QStringLiteral("=")).Received, {}, {} };
        kept.Set(2, 7, entry);
        QCOMPARE(kept.At(2, 7)->Reading->NsScore, 420);
        entry = *kept.At(2, 7);
        entry.Received.NsEw = QStringLiteral("E"); // corrected, with the old reading still in the copy
        kept.Set(2, 7, entry);
        QCOMPARE(kept.At(2, 7)->Reading->NsScore, -420);
        QVERIFY(kept.At(1, 7) == nullptr);
        QVERIFY(kept.At(2, 8) == nullptr);
        entry.State = CellEntry::Why::Erased;
        kept.Set(2, 7, entry);
        QVERIFY(!kept.At(2, 7)->Reading);
        kept.Set(-1, 3, entry);
        kept.Set(3, -1, entry);
        QVERIFY(kept.At(-1, 3) == nullptr);
        QVERIFY(kept.At(3, -1) == nullptr);
        kept.Set(2, 400, *kept.At(2, 7)); // a cell of the grid set further down its own column
        QCOMPARE(kept.At(2, 400)->State, CellEntry::Why::Erased);
        QVERIFY(!kept.SetSuspicion(5, 5, std::nullopt));
        QVERIFY(kept.SetSuspicion(2, 7, ResultFinding {}));
        QVERIFY(kept.At(2, 7)->Suspicion);
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
