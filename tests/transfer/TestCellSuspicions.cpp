// The grid's suspicious cells: which cell keeps which finding, what "Popraw według propozycji" would open,
// how many the line under the status counts, and how a suspicious cell's tooltip begins.
#include "transfer/CellHints.h"
#include "transfer/CellSuspicions.h"
#include "transfer/uScoreProvider.h"

#include <QTest>

using namespace kibic;

namespace {

ResultFinding SideSwapped(bool proposed)
{
    ResultFinding finding;
    finding.Kind = FindingKind::Side;
    finding.Section = 1;
    finding.Table = 3;
    finding.Round = 2;
    finding.Board = 7;
    finding.Reason = QStringLiteral("rozgrywający po stronie EW, a na pozostałych stołach po stronie NS");
    if (proposed) {
        ScoreCorrection correction;
        correction.Contract = QStringLiteral("4 S");
        correction.Declarer = QStringLiteral("N");
        correction.Tricks = QStringLiteral("=");
        finding.Proposed = correction;
        finding.ProposedNotation = QStringLiteral("4 S N =");
    }
    return finding;
}

CellEntry Received(std::optional<ResultFinding> suspicion, CellEntry::Why why = CellEntry::Why::Transferred)
{
    CellEntry entry;
    entry.State = why;
    entry.Received.Round = 2;
    entry.Received.Board = 7;
    entry.Received.Contract = QStringLiteral("4 S");
    entry.Received.NsEw = QStringLiteral("E");
    entry.Received.Result = QStringLiteral("=");
    entry.Suspicion = std::move(suspicion);
    return entry;
}

} // namespace

class TestCellSuspicions : public QObject
{
    Q_OBJECT

private slots:
    // A cell keeps the finding of its latest entry: a later clean entry, an erasure or a cleared mark forgets
    // it; the proposal is offered only where the finding has one.
    void cellsKeepTheirLatestFinding()
    {
        CellSuspicions cells;
        cells.Remember(7, 3, Received(SideSwapped(true)));
        cells.Remember(2, 1, Received(SideSwapped(false)));
        cells.Remember(4, 4, Received(std::nullopt));
        QCOMPARE(cells.Count(), 2);
        QVERIFY(cells.At(7, 3));
        QCOMPARE(cells.At(7, 3)->Kind, FindingKind::Side);
        QVERIFY(!cells.At(3, 7));
        QVERIFY(!cells.At(4, 4));
        QCOMPARE(cells.ProposalAt(7, 3)->Declarer, QStringLiteral("N"));
        QVERIFY(!cells.ProposalAt(2, 1));
        QVERIFY(!cells.ProposalAt(4, 4));

        cells.Remember(7, 3, Received(std::nullopt));
        QVERIFY(!cells.At(7, 3));
        cells.Remember(7, 3, Received(SideSwapped(true)));
        cells.Remember(7, 3, Received(SideSwapped(true), CellEntry::Why::Erased));
        QVERIFY(!cells.At(7, 3));
        cells.Remember(2, 1, CellEntry { CellEntry::Why::MarkCleared, {}, {}, {} });
        QCOMPARE(cells.Count(), 0);

        cells.Remember(7, 3, Received(SideSwapped(true)));
        cells.Clear();
        QCOMPARE(cells.Count(), 0);
        QVERIFY(!cells.ProposalAt(7, 3));
    }

    void suspiciousTooltipBeginsWithTheReasonAndTheProposal_data()
    {
        QTest::addColumn<bool>("proposed");
        QTest::addColumn<QString>("beginning");
        QTest::newRow("with a proposal")
            << true
            << QStringLiteral("Podejrzany zapis: rozgrywający po stronie EW, a na pozostałych stołach po stronie NS\n"
                              "Propozycja: 4 S N =\n");
        QTest::newRow("nothing to propose")
            << false
            << QStringLiteral("Podejrzany zapis: rozgrywający po stronie EW, a na pozostałych stołach po stronie NS\n"
                              "Propozycji nie ma: sprawdź zapis przy stole\n");
    }

    void suspiciousTooltipBeginsWithTheReasonAndTheProposal()
    {
        QFETCH(bool, proposed);
        QFETCH(QString, beginning);
        const TScoreProvider scorer;
        const QString plain = CellHint(QStringLiteral("A3"), QStringLiteral("7"), Received(std::nullopt), scorer);
        const QString hint = CellHint(QStringLiteral("A3"), QStringLiteral("7"), Received(SideSwapped(proposed)), scorer);
        QCOMPARE(hint, beginning + plain);
        QVERIFY(plain.startsWith(QStringLiteral("Stół A3, rozdanie 7, runda 2\n")));
    }
};

QTEST_GUILESS_MAIN(TestCellSuspicions)
#include "TestCellSuspicions.moc"
