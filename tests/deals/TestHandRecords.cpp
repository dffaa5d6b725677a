// The deals in the scoring database: the boards each section plays under the tournament's numbering, the
// sixteen hand texts and the twenty-four evaluation values in their columns, the boards found on one side
// only, a second load replacing the first, a failed write leaving the earlier deals whole, and the deals
// read back by section and board.
#include "support/SqliteFile.h"
#include "DealsFixture.h"
#include "common/KibicError.h"
#include "deals/HandRecords.h"
#include "deals/LoadDeals.h"
#include "deals/PbnReader.h"
#include "deals/SessionDeals.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using namespace kibic::test;

namespace {

// An analysis that a test can tell apart for every deal, hand and strain.
std::vector<DealAnalysis> MarkedAnalyses(const std::vector<Deal>& deals)
{
    std::vector<DealAnalysis> analyses(deals.size());
    for (std::size_t d = 0; d < deals.size(); ++d) {
        for (int seat = 0; seat < 4; ++seat)
            for (int strain = 0; strain < 5; ++strain)
                analyses[d].Table.SetTricks(kSeats[static_cast<std::size_t>(seat)],
                    kStrains[static_cast<std::size_t>(strain)], (deals[d].Board + 5 * seat + strain) % 14);
    }
    return analyses;
}

int RowCount(const QString& file, const QString& table)
{
    DbConnection connection(ScoringConnectionString(file));
    return static_cast<int>(connection.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM [%1]").arg(table)));
}

} // namespace

class TestHandRecords : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->filePath(QStringLiteral("puchar"));
        m_file = m_base + QStringLiteral(".bws");
        m_pbn = m_dir->filePath(QStringLiteral("rozdania.pbn"));
    }

    void playedBoards_data()
    {
        QTest::addColumn<QByteArray>("numbering");
        QTest::addColumn<QString>("boards");
        QTest::newRow("no .INR") << QByteArray() << "1-15";
        QTest::newRow(".INR: after 20") << QByteArray("20\r\n") << "21-35";
        QTest::newRow(".INR: listed") << QByteArray("5\n6\n7\n1\n2\n3\n11\n12\n13\n30\n31\n32\n40\n41\n42\n")
                                      << "1,2,3,5,6,7,11,12,13,30,31,32,40,41,42";
    }

    // Every section plays every board set of the movement, numbered as the tournament's .INR numbers them.
    void playedBoards()
    {
        QFETCH(QByteArray, numbering);
        QFETCH(QString, boards);
        const TournamentModel model = Build(numbering);
        QStringList expected;
        for (const QString& part : boards.split(QLatin1Char(','))) {
            const QStringList range = part.split(QLatin1Char('-'));
            for (int b = range.first().toInt(); b <= range.last().toInt(); ++b)
                expected.append(QString::number(b));
        }
        QStringList section1;
        QStringList section2;
        for (const SessionBoard& board : PlayedBoards(model, m_file))
            (board.Section == 1 ? section1 : section2).append(QString::number(board.Board));
        QCOMPARE(section1, expected);
        QCOMPARE(section2, expected);
    }

    // A deal whose North holds all the spades: its sixteen texts in their columns, for both sections.
    void handTextsInTheirColumns()
    {
        const TournamentModel model = Build("20");
        WritePbn(Pbn({ 24 }) + Pbn({ 21, 22, 23 }));
        const DealsToLoad deals = PrepareDeals(model, m_file, m_pbn);
        StoreDeals(deals, nullptr);
        TTable table(ScoringConnectionString(m_file), QStringLiteral("HandRecord"));
        table.Open();
        QVERIFY(table.Locate(QStringLiteral("Section;Board"), { 2, 24 }));
        const QStringList columns = HandRecordColumns();
        QCOMPARE(columns.first(), QStringLiteral("NorthSpades"));
        QCOMPARE(columns.last(), QStringLiteral("WestClubs"));
        for (const QString& column : columns) {
            const bool full = column == QStringLiteral("NorthSpades") || column == QStringLiteral("EastHearts")
                || column == QStringLiteral("SouthDiamonds") || column == QStringLiteral("WestClubs");
            QCOMPARE(table.FieldAsString(column), full ? QStringLiteral("AKQJT98765432") : QString());
        }
        QCOMPARE(table.RecordCount(), 8);
        QCOMPARE(RowCount(m_file, QStringLiteral("HandEvaluation")), 0);
    }

    void evaluationInItsColumns()
    {
        const TournamentModel model = Build("20");
        WritePbn(Pbn({ 21, 22 }));
        const DealsToLoad deals = PrepareDeals(model, m_file, m_pbn);
        const std::vector<DealAnalysis> analyses = MarkedAnalyses(deals.Deals);
        StoreDeals(deals, &analyses);
        TTable table(ScoringConnectionString(m_file), QStringLiteral("HandEvaluation"));
        table.Open();
        QCOMPARE(table.RecordCount(), 4);
        QVERIFY(table.Locate(QStringLiteral("Section;Board"), { 1, 22 }));
        QCOMPARE(table.FieldAsInteger(QStringLiteral("NorthSpades")), (22 + 0 + 0) % 14);
        QCOMPARE(table.FieldAsInteger(QStringLiteral("NorthNotrump")), (22 + 0 + 4) % 14);
        QCOMPARE(table.FieldAsInteger(QStringLiteral("EastHearts")), (22 + 5 + 1) % 14);
        QCOMPARE(table.FieldAsInteger(QStringLiteral("WestClubs")), (22 + 15 + 3) % 14);
        // Board 22: North holds the diamonds, East the clubs, South the spades, West the hearts: 10 points each.
        for (const QString& column : HandEvaluationPointColumns())
            QCOMPARE(table.FieldAsInteger(column), 10);
        QCOMPARE(table.FieldNames().size(), 2 + 20 + 4);
    }

    // The boards on one side only are named in one message; those on both are written.
    void boardsOnOneSide()
    {
        const TournamentModel model = Build("20");
        QList<int> boards;
        for (int b = 18; b <= 37; ++b) {
            if (b != 23 && b != 30)
                boards.append(b);
        }
        WritePbn(Pbn(boards));
        const DealsToLoad deals = PrepareDeals(model, m_file, m_pbn);
        QCOMPARE(deals.Match.Missing, (QList<qint32> { 23, 30 }));
        QCOMPARE(deals.Match.NotPlayed, (QList<qint32> { 18, 19, 20, 36, 37 }));
        QCOMPARE(deals.Match.Message(m_pbn),
            QStringLiteral("Rozdań 18, 19, 20, 36, 37 z pliku rozdania.pbn turniej nie gra.\n"
                           "Rozdań 23, 30, które turniej gra, brak w pliku rozdania.pbn."));
        QCOMPARE(deals.Deals.size(), std::size_t(13));
        StoreDeals(deals, nullptr);
        QCOMPARE(RowCount(m_file, QStringLiteral("HandRecord")), 26);
    }

    // An .INR numbering that repeats (every 8 boards here) gives two boards each of the numbers 1..7: the
    // message says that they share the file's deal of their number.
    void repeatedNumbers()
    {
        const TournamentModel model = Build("-8\n");
        WritePbn(Pbn({ 1, 2, 3, 4, 5, 6, 7, 8, 9 }));
        const DealsToLoad deals = PrepareDeals(model, m_file, m_pbn);
        QCOMPARE(deals.Match.Repeated, (QList<qint32> { 1, 2, 3, 4, 5, 6, 7 }));
        QCOMPARE(deals.Match.NotPlayed, QList<qint32> { 9 });
        QVERIFY(deals.Match.Message(m_pbn).endsWith(QStringLiteral(
            "Numery rozdań 1, 2, 3, 4, 5, 6, 7 powtarzają się w numeracji turnieju (.INR), a pierniczki znają jeden "
            "rozkład na numer: wszystkie rozdania o tym numerze dostały rozkład z pliku rozdania.pbn.")));
        StoreDeals(deals, nullptr);
        QCOMPARE(RowCount(m_file, QStringLiteral("HandRecord")), 16);
    }

    void noBoardPlayed()
    {
        const TournamentModel model = Build("20");
        WritePbn(Pbn({ 1, 2, 3 }));
        try {
            (void)PrepareDeals(model, m_file, m_pbn);
            QFAIL("deals of no played board were accepted");
        } catch (const KibicError& error) {
            QCOMPARE(error.Message(),
                QStringLiteral("Żadne rozdanie z pliku rozdania.pbn nie jest grane w turnieju puchar.bws."));
        }
        QCOMPARE(
            HasTable(*std::make_unique<DbConnection>(ScoringConnectionString(m_file)), QStringLiteral("HandRecord")),
            false);
    }

    // Loading again replaces every row: a board the new file lacks keeps no deal, and the evaluation of an
    // earlier analysis goes when the new deals come without one.
    void secondLoadReplaces()
    {
        const TournamentModel model = Build("20");
        WritePbn(Pbn({ 21, 22, 23 }));
        DealsToLoad deals = PrepareDeals(model, m_file, m_pbn);
        const std::vector<DealAnalysis> analyses = MarkedAnalyses(deals.Deals);
        StoreDeals(deals, &analyses);
        WritePbn(Pbn({ 22, 25 }));
        deals = PrepareDeals(model, m_file, m_pbn);
        StoreDeals(deals, nullptr);
        QCOMPARE(RowCount(m_file, QStringLiteral("HandRecord")), 4);
        QCOMPARE(RowCount(m_file, QStringLiteral("HandEvaluation")), 0);
        const SessionDeals read = ReadSessionDeals(m_file);
        QVERIFY(!read.DealOf(1, 21));
        QVERIFY(read.DealOf(2, 25));
    }

    // A HandEvaluation that cannot take the rows (made by another program without the point columns) fails the
    // write: the deals loaded before are all still there, none half replaced.
    void failedWriteKeepsTheEarlierDeals()
    {
        const TournamentModel model = Build("20");
        WritePbn(Pbn({ 21, 22, 23 }));
        StoreDeals(PrepareDeals(model, m_file, m_pbn), nullptr);
        {
            DbConnection connection(ScoringConnectionString(m_file));
            connection.Execute(QStringLiteral("DROP TABLE [HandEvaluation]"));
            connection.Execute(QStringLiteral("CREATE TABLE [HandEvaluation] ([Section] INTEGER,[Board] INTEGER)"));
        }
        WritePbn(Pbn({ 24, 25 }));
        const DealsToLoad deals = PrepareDeals(model, m_file, m_pbn);
        const std::vector<DealAnalysis> analyses = MarkedAnalyses(deals.Deals);
        QVERIFY_THROWS_EXCEPTION(KibicError, StoreDeals(deals, &analyses));
        const SessionDeals read = ReadSessionDeals(m_file);
        QCOMPARE(read.Size(), std::size_t(6));
        QVERIFY(read.DealOf(1, 23));
        QVERIFY(!read.DealOf(1, 24));
    }

    // Read back by section and board: the deal, its tricks by declarer and strain, the hand holding a card.
    void sessionDeals()
    {
        const TournamentModel model = Build("20");
        const std::vector<Deal> published = ParsePbn(
            QByteArrayLiteral("[Board \"27\"]\n[Dealer \"E\"]\n"
                              "[Deal \"N:QJ6.K652.J85.T98 873.J97.AT764.Q4 K5.T83.KQ9.A7652 AT942.AQ4.32.KJ3\"]\n"),
            QStringLiteral("x.pbn"));
        WritePbn(QString::fromUtf8(
            QByteArrayLiteral("[Board \"27\"]\n[Dealer \"E\"]\n"
                              "[Deal \"N:QJ6.K652.J85.T98 873.J97.AT764.Q4 K5.T83.KQ9.A7652 AT942.AQ4.32.KJ3\"]\n")));
        const DealsToLoad deals = PrepareDeals(model, m_file, m_pbn);
        std::vector<DealAnalysis> analyses(1);
        analyses[0].Table.SetTricks(Seat::West, Denomination::Hearts, 7);
        analyses[0].Table.SetTricks(Seat::South, Denomination::NoTrump, 6);
        StoreDeals(deals, &analyses);

        const SessionDeals read = ReadSessionDeals(m_file);
        QCOMPARE(read.Size(), std::size_t(2));
        const Deal* deal = read.DealOf(2, 27);
        QVERIFY(deal);
        QCOMPARE(deal->Holdings, published.front().Holdings);
        // The terminals score a board by its number: board 27 (as board 11) is dealt by South, nobody vulnerable.
        QCOMPARE(deal->Dealer, Seat::South);
        QCOMPARE(deal->Vulnerable, Vulnerability::None);
        QCOMPARE(read.TricksOf(2, 27, Seat::West, Denomination::Hearts), std::optional<int>(7));
        QCOMPARE(read.TricksOf(1, 27, Seat::South, Denomination::NoTrump), std::optional<int>(6));
        QCOMPARE(read.TricksOf(1, 26, Seat::South, Denomination::NoTrump), std::nullopt);
        QCOMPARE(read.HolderOf(1, 27, { Denomination::Clubs, 13 }), std::optional<Seat>(Seat::West));
        QCOMPARE(read.HolderOf(1, 27, { Denomination::Hearts, 14 }), std::optional<Seat>(Seat::West));
        QCOMPARE(read.HolderOf(1, 27, { Denomination::Diamonds, 14 }), std::optional<Seat>(Seat::East));
        QCOMPARE(read.HolderOf(3, 27, { Denomination::Diamonds, 14 }), std::nullopt);
    }

    void noDealsInADatabaseWithoutHandRecord()
    {
        (void)Build({});
        QVERIFY(ReadSessionDeals(m_file).IsEmpty());
    }

    // A HandRecord of another program with "10" for the ten and spaces between the ranks is read; a row that is no
    // deal is refused with its section and board.
    void handRecordOfAnotherProgram()
    {
        const TournamentModel model = Build("20");
        WritePbn(Pbn({ 21 }));
        StoreDeals(PrepareDeals(model, m_file, m_pbn), nullptr);
        // Written by another program, with SQLite itself: spaces and "10" do not fit a TEXT(13) through a driver.
        (void)test::SqliteFile(m_file).Rows(
            QStringLiteral("UPDATE [HandRecord] SET [NorthHearts]='A K Q J 10 9 8 7 6 5 4 3 2' WHERE [Section]=1"));
        QCOMPARE(ReadSessionDeals(m_file).DealOf(1, 21)->HoldingOf(Seat::North, Denomination::Hearts), kAllRanks);
        (void)test::SqliteFile(m_file).Rows(QStringLiteral("UPDATE [HandRecord] SET [NorthSpades]='AKQ' WHERE [Section]=2"));
        try {
            (void)ReadSessionDeals(m_file);
            QFAIL("the damaged deal was read");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().startsWith(QStringLiteral("Tabela HandRecord, sektor 2, rozdanie 21: ")),
                qPrintable(error.Message()));
        }
    }

private:
    TournamentModel Build(const QByteArray& numbering) { return BuildTwoSections(m_base, numbering); }
    void WritePbn(const QString& text) { WriteText(m_pbn, text); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    QString m_file;
    QString m_pbn;
};

QTEST_GUILESS_MAIN(TestHandRecords)
#include "TestHandRecords.moc"
