// The double-dummy analysis through DDS: the tricks and the par of published deals, the strains and hands
// in their right places, a cancel between groups of deals, and the texts the director reads.
#include "common/KibicError.h"
#include "deals/DoubleDummy.h"
#include "deals/PbnReader.h"

#include <QFile>
#include <QTest>

using namespace kibic;

namespace {

// The three deals of DDS 2.9.0's own examples (examples/hands.cpp, Bo Haglund and Soren Hein, published
// with the solver under the Apache 2.0 licence), with the double-dummy tables and the dealer pars that the
// examples give for them: DDtable (spades, hearts, diamonds, clubs, no trump; in each North, East, South,
// West), dealer[], vul[], dealerScore[] and dealerContract[].
const QString kPublishedDeals
    = QStringLiteral("[Board \"1\"]\n[Dealer \"N\"]\n[Vulnerable \"None\"]\n"
                     "[Deal \"N:QJ6.K652.J85.T98 873.J97.AT764.Q4 K5.T83.KQ9.A7652 AT942.AQ4.32.KJ3\"]\n\n"
                     "[Board \"2\"]\n[Dealer \"E\"]\n[Vulnerable \"NS\"]\n"
                     "[Deal \"E:QJT5432.T.6.QJ82 .J97543.K7532.94 87.A62.QJT4.AT75 AK96.KQ8.A98.K63\"]\n\n"
                     "[Board \"3\"]\n[Dealer \"N\"]\n[Vulnerable \"None\"]\n"
                     "[Deal \"N:73.QJT.AQ54.T752 QT6.876.KJ9.AQ84 5.A95432.7632.K6 AKJ9842.K.T8.J93\"]\n");

const int kPublishedTables[3][20] = {
    { 5, 8, 5, 8, 6, 6, 6, 6, 5, 7, 5, 7, 7, 5, 7, 5, 6, 6, 6, 6 },
    { 4, 9, 4, 9, 10, 2, 10, 2, 8, 3, 8, 3, 6, 7, 6, 7, 9, 3, 9, 3 },
    { 3, 10, 3, 10, 9, 4, 9, 4, 8, 4, 8, 4, 3, 9, 3, 9, 4, 8, 4, 8 },
};
const int kPublishedParScores[3] = { -110, 100, -300 };
const char* const kPublishedParContracts[3] = { "2S-EW", "4S*-EW-1", "5H*-NS-2" };

// Stops the analysis once the first group of deals is done.
class CancelAfterFirstGroup : public AnalysisProgress
{
public:
    void Advanced(int done, int total) override
    {
        Reports.append(QStringLiteral("%1/%2").arg(done).arg(total));
        m_cancelled = true;
    }
    [[nodiscard]] bool Cancelled() const override { return m_cancelled; }
    QStringList Reports;

private:
    bool m_cancelled = false;
};

std::vector<Deal> DealerDeals()
{
    QFile file(QStringLiteral(KIBIC_TEST_DATA_DIR "/deals/dealer-40.pbn"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no dealer-40.pbn");
    return ParsePbn(file.readAll(), file.fileName());
}

} // namespace

class TestDoubleDummy : public QObject
{
    Q_OBJECT

private slots:
    void publishedDeals()
    {
        const std::vector<Deal> deals = ParsePbn(kPublishedDeals.toUtf8(), QStringLiteral("dds.pbn"));
        const AnalysisOutcome outcome = MakeDdsSolver()->Analyse(deals, nullptr);
        QVERIFY(!outcome.Cancelled);
        QCOMPARE(outcome.Analyses.size(), std::size_t(3));
        const std::array<Denomination, 5> ddsOrder = kStrains;
        for (int d = 0; d < 3; ++d) {
            const DealAnalysis& analysis = outcome.Analyses[static_cast<std::size_t>(d)];
            for (int strain = 0; strain < 5; ++strain) {
                for (int seat = 0; seat < 4; ++seat) {
                    const int tricks = analysis.Table.TricksOf(
                        kSeats[static_cast<std::size_t>(seat)], ddsOrder[static_cast<std::size_t>(strain)]);
                    if (tricks != kPublishedTables[d][4 * strain + seat])
                        QFAIL(qPrintable(QStringLiteral("deal %1, %2 by %3: %4 tricks, published %5")
                                             .arg(d + 1)
                                             .arg(StrainName(ddsOrder[static_cast<std::size_t>(strain)]),
                                                 SeatLetter(kSeats[static_cast<std::size_t>(seat)]))
                                             .arg(tricks)
                                             .arg(kPublishedTables[d][4 * strain + seat])));
                }
            }
            QCOMPARE(analysis.Par.ScoreNS, kPublishedParScores[d]);
            QCOMPARE(analysis.Par.Contracts, QStringList { QString::fromLatin1(kPublishedParContracts[d]) });
        }
    }

    // Each hand holds one whole suit: a declarer takes all thirteen tricks with his own suit as trumps and
    // none in no trump, where the leader on his left runs a suit of thirteen.
    void oneSuitEach()
    {
        const std::vector<Deal> deals = ParsePbn(
            QByteArrayLiteral(
                "[Board \"1\"]\n[Deal \"N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"]\n"),
            QStringLiteral("suits.pbn"));
        const DoubleDummyTable table = MakeDdsSolver()->Analyse(deals, nullptr).Analyses.front().Table;
        const std::array<Denomination, 4> own
            = { Denomination::Spades, Denomination::Hearts, Denomination::Diamonds, Denomination::Clubs };
        for (int seat = 0; seat < 4; ++seat) {
            QCOMPARE(table.TricksOf(kSeats[static_cast<std::size_t>(seat)], own[static_cast<std::size_t>(seat)]), 13);
            QCOMPARE(table.TricksOf(kSeats[static_cast<std::size_t>(seat)], Denomination::NoTrump), 0);
        }
    }

    // A session of 40 deals goes in groups; a cancel after the first stops before the next, keeping the
    // analyses done, which are those of a whole run.
    void cancelBetweenGroups()
    {
        const std::vector<Deal> deals = DealerDeals();
        CancelAfterFirstGroup progress;
        const AnalysisOutcome cancelled = MakeDdsSolver()->Analyse(deals, &progress);
        QVERIFY(cancelled.Cancelled);
        QCOMPARE(progress.Reports, QStringList { QStringLiteral("8/40") });
        QCOMPARE(cancelled.Analyses.size(), std::size_t(8));
        const std::vector<Deal> first(deals.begin(), deals.begin() + 8);
        const AnalysisOutcome whole = MakeDdsSolver()->Analyse(first, nullptr);
        for (std::size_t i = 0; i < 8; ++i)
            QCOMPARE(cancelled.Analyses[i].Table, whole.Analyses[i].Table);
    }

    // A deal that is none (a card in two hands) is refused before DDS sees it.
    void refusesWhatIsNoDeal()
    {
        std::vector<Deal> deals = ParsePbn(kPublishedDeals.toUtf8(), QStringLiteral("dds.pbn"));
        deals[1].Holdings[IndexOf(Seat::North)][IndexOf(Denomination::Spades)] |= Holding(1u << 12);
        try {
            (void)MakeDdsSolver()->Analyse(deals, nullptr);
            QFAIL("the deal was analysed");
        } catch (const KibicError& error) {
            QCOMPARE(error.Message(), QStringLiteral("Rozdanie 2 nie nadaje się do analizy: karta ♠Q w kilku rękach (N i E)."));
        }
    }

    void texts_data()
    {
        QTest::addColumn<QString>("tricks"); // N, E, S, W in spades, hearts, diamonds, clubs, no trump
        QTest::addColumn<QString>("contracts");
        QTest::newRow("sides alike") << "10 3 10 3 | 9 4 9 4 | 5 8 5 8 | 6 7 6 7 | 9 4 9 4"
                                     << "NS 3BA 4♠ 3♥; EW 2♦ 1♣";
        QTest::newRow("hands of a side apart") << "10 3 9 3 | 6 6 6 6 | 6 6 6 6 | 6 6 6 6 | 9 4 8 4"
                                               << "N 3BA 4♠; S 2BA 3♠";
        QTest::newRow("nothing makes") << "6 6 6 6 | 6 6 6 6 | 6 6 6 6 | 6 6 6 6 | 6 6 6 6"
                                       << "nikt nic nie wygrywa";
    }

    void texts()
    {
        QFETCH(QString, tricks);
        QFETCH(QString, contracts);
        DoubleDummyTable table;
        const QStringList strains = tricks.split(QLatin1Char('|'));
        for (int strain = 0; strain < 5; ++strain) {
            const QStringList counts = strains[strain].split(QLatin1Char(' '), Qt::SkipEmptyParts);
            for (int seat = 0; seat < 4; ++seat)
                table.SetTricks(kSeats[static_cast<std::size_t>(seat)], kStrains[static_cast<std::size_t>(strain)],
                    counts[seat].toInt());
        }
        QCOMPARE(MakeableContractsText(table), contracts);
    }

    void parText()
    {
        QCOMPARE(ParText({ 620, { QStringLiteral("4S-NS") } }), QStringLiteral("NS 620 (4S-NS)"));
        QCOMPARE(ParText({ -100, { QStringLiteral("5Hx-NS"), QStringLiteral("5Dx-NS") } }),
            QStringLiteral("EW 100 (5Hx-NS, 5Dx-NS)"));
        QCOMPARE(ParText({ 0, {} }), QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestDoubleDummy)
#include "TestDoubleDummy.moc"
