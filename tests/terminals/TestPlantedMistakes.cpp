// The mistakes that the rehearsal keys in on purpose (--mistakes): each kind on the row it names and nowhere
// else, the rows around them as they would be without mistakes, and the list of what was planted.
#include "PlannedRows.h"
#include "PlantedMistakes.h"
#include "RehearsalOptions.h"
#include "RehearsalPlan.h"
#include "RehearsalServer.h"
#include "ScoringFixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <map>
#include <set>

using namespace kibic;
using namespace kibic::terminals;
using namespace kibic::test;

namespace {

// A deal of the whole pack: card (suit, rank) in the hand (rank + suit) mod 4, thirteen cards a hand.
Deal RotatedDeal(int board)
{
    Deal deal;
    deal.Board = board;
    for (const Suit suit : kSuits) {
        for (int rank = 2; rank <= 14; ++rank) {
            const Seat seat = kSeats[static_cast<std::size_t>((rank + IndexOf(suit)) % 4)];
            deal.Holdings[IndexOf(seat)][IndexOf(suit)] |= static_cast<Holding>(1u << rank);
        }
    }
    return deal;
}

// North-South take 8 to 10 tricks on odd boards and 3 to 5 on even ones, by strain; East-West the rest. So the
// record of one board keyed on its neighbour lies far from the neighbour's deal.
DoubleDummyTable PlainTable(int board)
{
    DoubleDummyTable table;
    for (const Denomination strain : kStrains) {
        const int northSouth = (board % 2 == 1 ? 8 : 3) + IndexOf(strain) % 3;
        for (const Seat seat : kibic::kSeats)
            table.SetTricks(seat, strain, seat == Seat::North || seat == Seat::South ? northSouth : 13 - northSouth);
    }
    return table;
}

RehearsalOptions WithMistakes(double rate, quint64 seed = 5)
{
    RehearsalOptions options;
    options.Seed = seed;
    options.EraseProbability = 0.3;
    options.NotPlayedProbability = 0.03;
    options.SplitProbability = 0.03;
    options.MistakeRate = rate;
    return options;
}

const Seating& SeatingOf(const ScoringLayout& layout, const ReceivedRow& row)
{
    for (const Seating& seating : layout.Seatings) {
        if (seating.Section == row.Section && seating.Table == row.Table && seating.Round == row.Round)
            return seating;
    }
    qFatal("no seating");
}

Seat DeclarerSeat(const KeyedResult& keyed)
{
    return *SeatOfLetter(keyed.Declarer.front());
}

int TricksTaken(const KeyedResult& keyed)
{
    const int level = keyed.Contract.left(1).toInt();
    return level + 6 + (keyed.Result == QStringLiteral("=") ? 0 : keyed.Result.toInt());
}

Denomination StrainOf(const KeyedResult& keyed)
{
    const QString letters = keyed.Contract.split(QLatin1Char(' '))[1];
    for (const Denomination strain : kStrains) {
        if (StrainLetters(strain) == letters)
            return strain;
    }
    qFatal("no strain");
}

} // namespace

class TestPlantedMistakes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pairsFile = m_dir.filePath(QStringLiteral("puchar.bws"));
        CreateScoringDatabase(m_pairsFile, DemoPairs());
        m_plain = ReadScoringLayout(m_pairsFile);
        m_dealt = m_plain;
        for (const Seating& seating : m_plain.Seatings) {
            for (int board = seating.LowBoard; board <= seating.HighBoard; ++board)
                m_dealt.Deals.Add({ seating.Section, board }, { RotatedDeal(board), PlainTable(board) });
        }
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("error");
        QTest::newRow("none") << QStringList {} << 0.0 << QString() << QString();
        QTest::newRow("rate and list") << QStringList { QStringLiteral("--mistakes"), QStringLiteral("0.05"),
            QStringLiteral("--mistakes-list=/t/lista pomyłek.txt") }
                                       << 0.05 << QStringLiteral("/t/lista pomyłek.txt") << QString();
        QTest::newRow("largest") << QStringList { QStringLiteral("--mistakes=0.15") } << 0.15 << QString() << QString();
        QTest::newRow("too many") << QStringList { QStringLiteral("--mistakes=0.2") } << 0.0 << QString()
                                  << QStringLiteral("Prawdopodobieństwo --mistakes musi być liczbą od 0 do 0.15, a jest "
                                                    "\"0.2\".");
        QTest::newRow("negative") << QStringList { QStringLiteral("--mistakes=-0.01") } << 0.0 << QString()
                                  << QStringLiteral("Prawdopodobieństwo --mistakes musi być liczbą od 0 do 0.15, a jest "
                                                    "\"-0.01\".");
        QTest::newRow("empty list") << QStringList { QStringLiteral("--mistakes-list= ") } << 0.0 << QString()
                                    << QStringLiteral("Plik listy pomyłek --mistakes-list nie może mieć pustej nazwy.");
    }

    void commandLine()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, error);
        const ParsedRehearsalArguments parsed
            = ParseRehearsalArguments(QStringList { QStringLiteral("/f:[c.bws]") } + options);
        QCOMPARE(parsed.Error, error);
        QCOMPARE(parsed.Ok, error.isEmpty());
        if (parsed.Ok) {
            QTEST(parsed.Options.MistakeRate, "rate");
            QTEST(parsed.Options.MistakesFile, "list");
        }
    }

    // Each kind changes the row the way its name says, and only the last entry of a board that names a
    // declarer is keyed in wrongly.
    void eachKindOnItsRow_data()
    {
        QTest::addColumn<bool>("dealt");
        QTest::newRow("with deals") << true;
        QTest::newRow("without deals") << false;
    }

    void eachKindOnItsRow()
    {
        QFETCH(bool, dealt);
        const ScoringLayout& layout = dealt ? m_dealt : m_plain;
        const std::vector<ReceivedRow> clean = PlanAll(layout, WithMistakes(0.0));
        const std::vector<ReceivedRow> rows = PlanAll(layout, WithMistakes(0.1));
        QCOMPARE(rows.size(), clean.size());

        std::map<MistakeKind, int> kinds;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ReceivedRow& row = rows[i];
            const ReceivedRow& played = clean[i];
            QCOMPARE(row.Board, played.Board);
            if (!row.Mistake) {
                QVERIFY(SameKeyed(row.Keyed, played.Keyed));
                QCOMPARE(row.PairNS, played.PairNS);
                QCOMPARE(row.PairEW, played.PairEW);
                QCOMPARE(row.Declarer, played.Declarer);
                continue;
            }
            ++kinds[row.Mistake->Kind];
            QVERIFY(SameKeyed(row.Mistake->Played, played.Keyed));
            QVERIFY(!played.Keyed.Declarer.isEmpty());
            QVERIFY(row.Kind != RowKind::Erasure);
            for (std::size_t j = i + 1; j < rows.size(); ++j) {
                const bool sameBoard = rows[j].Section == row.Section && rows[j].Table == row.Table
                    && rows[j].Round == row.Round && rows[j].Board == row.Board;
                QVERIFY2(!sameBoard, "a planted entry is not the board's last");
            }
            const Seating& seating = SeatingOf(layout, row);
            const Seat was = DeclarerSeat(played.Keyed);
            switch (row.Mistake->Kind) {
            case MistakeKind::Side:
            case MistakeKind::Outlier:
                QCOMPARE(row.Mistake->Kind == MistakeKind::Side, dealt);
                QCOMPARE(DeclarerSeat(row.Keyed), NextSeat(was));
                QCOMPARE(row.Keyed.Contract, played.Keyed.Contract);
                QCOMPARE(row.Keyed.Result, played.Keyed.Result);
                QCOMPARE(row.Declarer, was == Seat::North || was == Seat::South ? seating.EWPair : seating.NSPair);
                break;
            case MistakeKind::Declarer: {
                QVERIFY(dealt);
                QCOMPARE(DeclarerSeat(row.Keyed), PartnerOf(was));
                QCOMPARE(row.Keyed.LeadCard, played.Keyed.LeadCard);
                const Deal* deal = layout.Deals.DealOf(row.Section, row.Board);
                const std::optional<Seat> leader = deal->HolderOf(*CardOfLeadText(row.Keyed.LeadCard));
                QVERIFY(leader && *leader != NextSeat(DeclarerSeat(row.Keyed)));
                break;
            }
            case MistakeKind::Tricks: {
                QVERIFY(dealt);
                QCOMPARE(row.Keyed.Contract, played.Keyed.Contract);
                const int makeable = layout.Deals.TableOf(row.Section, row.Board)->TricksOf(was, StrainOf(row.Keyed));
                QCOMPARE(std::abs(TricksTaken(row.Keyed) - makeable), 4);
                break;
            }
            case MistakeKind::Board: {
                bool fromAnother = false;
                for (std::size_t j = 0; j < clean.size(); ++j) {
                    const ReceivedRow& other = clean[j];
                    fromAnother = fromAnother
                        || (other.Section == row.Section && other.Table == row.Table && other.Round == row.Round
                            && other.Board != row.Board && SameKeyed(other.Keyed, row.Keyed));
                }
                QVERIFY2(fromAnother, "the record is not that of another board of the round");
                QVERIFY(!SameKeyed(row.Keyed, played.Keyed));
                if (dealt) {
                    const int makeable = layout.Deals.TableOf(row.Section, row.Board)
                                             ->TricksOf(DeclarerSeat(row.Keyed), StrainOf(row.Keyed));
                    QVERIFY(std::abs(TricksTaken(row.Keyed) - makeable) >= 3);
                }
                break;
            }
            case MistakeKind::Pairs: {
                QVERIFY(row.PairNS != seating.NSPair || row.PairEW != seating.EWPair);
                bool ofAnotherTable = false;
                for (const Seating& other : layout.Seatings) {
                    ofAnotherTable = ofAnotherTable
                        || (other.Round == row.Round && other.Section == row.Section && other.Table != row.Table
                            && other.NSPair == row.PairNS && other.EWPair == row.PairEW);
                }
                QVERIFY(ofAnotherTable);
                QVERIFY(SameKeyed(row.Keyed, played.Keyed));
                const bool northSouth = row.Keyed.Declarer == QStringLiteral("N") || row.Keyed.Declarer == QStringLiteral("S");
                QCOMPARE(row.Declarer, northSouth ? row.PairNS : row.PairEW);
                break;
            }
            }
        }
        const std::set<MistakeKind> expected = dealt
            ? std::set<MistakeKind> { MistakeKind::Side, MistakeKind::Declarer, MistakeKind::Tricks, MistakeKind::Board,
                  MistakeKind::Pairs }
            : std::set<MistakeKind> { MistakeKind::Board, MistakeKind::Pairs, MistakeKind::Outlier };
        std::set<MistakeKind> seen;
        for (const auto& [kind, count] : kinds)
            seen.insert(kind);
        QCOMPARE(seen, expected);
        // 150 boards, about 10 % of them each kind: between 4 and 30 of each.
        for (const auto& [kind, count] : kinds)
            QVERIFY2(count >= 4 && count <= 30, qPrintable(MistakeKindWord(kind) + QString::number(count)));
    }

    // The same seed plants the same mistakes; another seed others.
    void sameSeedSameMistakes()
    {
        const auto a = PlanAll(m_dealt, WithMistakes(0.05, 21));
        const auto b = PlanAll(m_dealt, WithMistakes(0.05, 21));
        const auto c = PlanAll(m_dealt, WithMistakes(0.05, 22));
        QStringList linesA, linesB, linesC;
        for (const auto& row : a)
            linesA << PlantedMistakeLine(row);
        for (const auto& row : b)
            linesB << PlantedMistakeLine(row);
        for (const auto& row : c)
            linesC << PlantedMistakeLine(row);
        QCOMPARE(linesA, linesB);
        QVERIFY(linesA != linesC);
        linesA.removeAll(QString());
        QVERIFY(!linesA.isEmpty());
    }

    void lineOfTheList_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("line");
        QTest::newRow("side") << int(MistakeKind::Side) << QStringLiteral("B\t4\t2\t27\tside\t4 S E -1 H10\t4 S N -1 H10");
        QTest::newRow("pairs") << int(MistakeKind::Pairs)
                               << QStringLiteral("B\t4\t2\t27\tpairs\t4 S E -1 H10 pary 13-18\t4 S N -1 H10 pary 14-16");
    }

    void lineOfTheList()
    {
        QFETCH(int, kind);
        ReceivedRow row;
        row.Section = 2;
        row.Table = 4;
        row.Round = 2;
        row.Board = 27;
        row.PairNS = 13;
        row.PairEW = 18;
        row.Keyed = { QStringLiteral("4 S"), QStringLiteral("E"), QStringLiteral("-1"), QStringLiteral("H10"), {} };
        QCOMPARE(PlantedMistakeLine(row), QString());
        KeyedResult played = row.Keyed;
        played.Declarer = QStringLiteral("N");
        row.Mistake = PlantedMistake { MistakeKind(kind), played, 14, 16 };
        QTEST(PlantedMistakeLine(row), "line");
    }

    // The server writes the list of what it keyed in wrongly beside the database, one line a mistake.
    void serverWritesTheList()
    {
        const RehearsalOptions options = OnACopy(QStringLiteral("lista.bws"));
        QStringList printed;
        QCOMPARE(Play(options, printed, printed), 0);
        const QString file = options.DatabaseFile;

        const QString list = m_dir.filePath(QStringLiteral("lista-pomylki.txt"));
        QCOMPARE(MistakesListFile(options), list);
        QVERIFY2(printed.join(QLatin1Char('\n')).contains(QStringLiteral("lista w pliku ") + list),
            qPrintable(printed.join(QLatin1Char('\n'))));
        QStringList expected;
        for (const ReceivedRow& row : PlanAll(ReadScoringLayout(file), options)) {
            if (row.Mistake)
                expected << PlantedMistakeLine(row);
        }
        QVERIFY(!expected.isEmpty());
        QFile written(list);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(written.readAll()), expected.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        QVERIFY2(printed.last().contains(QStringLiteral("pomyłki: %1 w pliku").arg(expected.size())),
            qPrintable(printed.last()));
    }

    void listThatCannotBeWritten()
    {
        RehearsalOptions options = OnACopy(QStringLiteral("bez-listy.bws"));
        options.MistakesFile = m_dir.filePath(QStringLiteral("nie ma/lista.txt"));
        QStringList printed;
        QStringList errors;
        QCOMPARE(Play(options, printed, errors), 1);
        QVERIFY2(errors.first().startsWith(QStringLiteral("Nie zapisano listy pomyłek do pliku ") + options.MistakesFile),
            qPrintable(errors.join(QLatin1Char('\n'))));
    }

private:
    // The options of a run at once, with mistakes, on a copy of the pairs event's database.
    RehearsalOptions OnACopy(const QString& name)
    {
        RehearsalOptions options = WithMistakes(0.05);
        options.DatabaseFile = m_dir.filePath(name);
        options.Once = true;
        if (!QFile::copy(m_pairsFile, options.DatabaseFile))
            qFatal("the database was not copied");
        return options;
    }

    static int Play(const RehearsalOptions& options, QStringList& printed, QStringList& errors)
    {
        RehearsalServer server(
            options, [] { return 0; }, [&](const QString& line) { printed << line; },
            [&](const QString& line) { errors << line; });
        return server.Run();
    }

    QTemporaryDir m_dir;
    QString m_pairsFile;
    ScoringLayout m_plain;
    ScoringLayout m_dealt;
};

QTEST_GUILESS_MAIN(TestPlantedMistakes)
#include "TestPlantedMistakes.moc"
