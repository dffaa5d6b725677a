// The movement of a pairs tournament: Mitchell sections, the even-table skip, the shift, the switch of
// NS and EW, and the exchange and meeting between two sections.
#include "TournamentTestSupport.h"

#include "tournament/TournamentReader.h"

#include <QTemporaryDir>
#include <QTest>
#include <set>

using namespace kibic;
using namespace kibic::test;

namespace {

struct Section
{
    int Tables = 5;
    int Rounds = 5;
    int Sections = 1;
    int SwitchRound = 99; // no switch
    int Shift = 0;
    int EWStep = -2;
};

QByteArray Description(const Section& s, const QByteArray& tail = {})
{
    const int pairs = 2 * s.Tables * s.Sections;
    return Numbers({s.Tables, s.Rounds, 2, s.Sections, 0, s.SwitchRound, s.Shift, pairs, 1, 0, 0, 0, 0, 2 * s.Tables, 0})
        + Range(1, pairs) + QByteArray::number(s.EWStep) + ' ' + tail;
}

TournamentModel ReadPairs(const QByteArray& description)
{
    QTemporaryDir dir;
    TournamentModel model;
    model.TournamentBase = dir.filePath(QStringLiteral("cup"));
    RecordingCompleter completer;
    const bool read = ReadPairsTournament(model, TText::FromBytes(description, QStringLiteral("cup.inf")), completer);
    if (!read || !completer.Calls.isEmpty())
        QTest::qFail("unexpected result of the pairs reader", __FILE__, __LINE__);
    return model;
}

} // namespace

class TestPairsMovement : public QObject
{
    Q_OBJECT

private slots:
    void fiveTableMitchell_data()
    {
        QTest::addColumn<int>("boardSet");
        QTest::addColumn<int>("round");
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("ns");
        QTest::addColumn<int>("ew");
        QTest::newRow("set 1 round 1") << 1 << 1 << 1 << 1 << 6;
        QTest::newRow("set 1 round 2") << 1 << 2 << 5 << 5 << 9;
        QTest::newRow("set 1 round 3") << 1 << 3 << 4 << 4 << 7;
        QTest::newRow("set 1 round 4") << 1 << 4 << 3 << 3 << 10;
        QTest::newRow("set 1 round 5") << 1 << 5 << 2 << 2 << 8;
        QTest::newRow("set 3 round 1") << 3 << 1 << 3 << 3 << 8;
        QTest::newRow("set 5 round 5") << 5 << 5 << 1 << 1 << 7;
    }

    void fiveTableMitchell()
    {
        QFETCH(int, boardSet);
        QFETCH(int, round);
        QFETCH(int, table);
        QFETCH(int, ns);
        QFETCH(int, ew);
        const TournamentModel model = ReadPairs(Description(Section{}));
        QCOMPARE(model.Movement[size_t(boardSet)][size_t(round)], (MovementEntry{ns, ew, 0, 0, round, table}));
    }

    void evenTablesSkipHalfway_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("skipRound");
        QTest::newRow("no shift: skip in round 4") << 0 << 4;
        QTest::newRow("shift 1: skip in round 3") << 1 << 3;
    }

    void evenTablesSkipHalfway()
    {
        QFETCH(int, shift);
        QFETCH(int, skipRound);
        Section six;
        six.Tables = 6;
        six.Rounds = 5;
        six.Shift = shift;
        const TournamentModel model = ReadPairs(Description(six));
        // EW pairs are 7..12; each round they move two places down, and in the skip round one more.
        for (int r = 2; r <= 5; ++r) {
            const int before = model.Movement[1][size_t(r - 1)].EW - 6;
            const int after = model.Movement[1][size_t(r)].EW - 6;
            const int moved = ((before - after) % 6 + 6) % 6;
            QCOMPARE(moved, r == skipRound ? 3 : 2);
        }
        if (shift == 0)
            QCOMPARE(model.Movement[1][4], (MovementEntry{4, 12, 0, 0, 4, 4}));
    }

    void shiftWrapsBothLines_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("ewStep");
        QTest::addColumn<QList<int>>("tables"); // round-1 tables of board sets 1..5
        QTest::newRow("shift 1") << 1 << -2 << QList<int>{5, 1, 2, 3, 4};
        QTest::newRow("shift 2") << 2 << -2 << QList<int>{4, 5, 1, 2, 3};
        QTest::newRow("shift 3, EW step product beyond the tables") << 3 << -2 << QList<int>{3, 4, 5, 1, 2};
        QTest::newRow("shift -1") << -1 << -2 << QList<int>{2, 3, 4, 5, 1};
        QTest::newRow("shift 7") << 7 << 3 << QList<int>{4, 5, 1, 2, 3};
    }

    void shiftWrapsBothLines()
    {
        QFETCH(int, shift);
        QFETCH(int, ewStep);
        QFETCH(QList<int>, tables);
        Section s;
        s.Shift = shift;
        s.EWStep = ewStep;
        const TournamentModel model = ReadPairs(Description(s));
        std::set<int> ewPairs;
        for (int b = 1; b <= 5; ++b) {
            const MovementEntry& entry = model.Movement[size_t(b)][1];
            QCOMPARE(entry.Table, tables[b - 1]);
            QCOMPARE(entry.NS, entry.Table); // NS pair k sits at table k
            QVERIFY(entry.EW >= 6 && entry.EW <= 10);
            ewPairs.insert(entry.EW);
        }
        QCOMPARE(ewPairs.size(), size_t(5));
    }

    void switchRoundExchangesNSandEW_data()
    {
        QTest::addColumn<int>("switchRound");
        QTest::addColumn<int>("firstSwitched");
        QTest::newRow("after round 2") << 2 << 3;
        QTest::newRow("after round 0: all") << 0 << 1;
        QTest::newRow("after round 4") << 4 << 5;
        QTest::newRow("after the last round: none") << 5 << 6;
        QTest::newRow("far beyond: none") << 2000000000 << 6;
    }

    void switchRoundExchangesNSandEW()
    {
        QFETCH(int, switchRound);
        QFETCH(int, firstSwitched);
        const TournamentModel plain = ReadPairs(Description(Section{}));
        Section s;
        s.SwitchRound = switchRound;
        const TournamentModel switched = ReadPairs(Description(s));
        for (int b = 1; b <= 5; ++b) {
            for (int r = 1; r <= 5; ++r) {
                MovementEntry expected = plain.Movement[size_t(b)][size_t(r)];
                if (r >= firstSwitched)
                    std::swap(expected.NS, expected.EW);
                QCOMPARE(switched.Movement[size_t(b)][size_t(r)], expected);
            }
        }
    }

    // Two sections of 3 tables and 3 rounds: pairs 1..3 NS and 4..6 EW in section 1, 7..9 NS and
    // 10..12 EW in section 2. Without exchanges board set 1 is played by (1,4) (3,5) (2,6) in
    // section 1 and (7,10) (9,11) (8,12) in section 2, board set 2 by (2,5) (1,6) (3,4) and
    // (8,11) (7,12) (9,10), board set 3 by (3,6) (2,4) (1,5) and (9,12) (8,10) (7,11).
    void twoSections_data()
    {
        using Row = QList<QPair<qint32, qint32>>;
        QTest::addColumn<int>("switchRound");
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<Row>("set1");
        QTest::addColumn<Row>("set2");
        QTest::addColumn<Row>("set3");
        QTest::newRow("nothing exchanged") << 9 << QByteArray("0 0")
                                           << Row{{1, 4}, {3, 5}, {2, 6}, {7, 10}, {9, 11}, {8, 12}}
                                           << Row{{2, 5}, {1, 6}, {3, 4}, {8, 11}, {7, 12}, {9, 10}}
                                           << Row{{3, 6}, {2, 4}, {1, 5}, {9, 12}, {8, 10}, {7, 11}};
        QTest::newRow("last-round EW exchanged") << 9 << QByteArray("1 0")
                                                 << Row{{1, 4}, {3, 5}, {2, 12}, {7, 10}, {9, 11}, {8, 6}}
                                                 << Row{{2, 5}, {1, 6}, {3, 10}, {8, 11}, {7, 12}, {9, 4}}
                                                 << Row{{3, 6}, {2, 4}, {1, 11}, {9, 12}, {8, 10}, {7, 5}};
        // After a switch in round 3 the pairs that moved sit NS; they are the ones exchanged.
        QTest::newRow("last-round NS exchanged after the switch")
            << 2 << QByteArray("1 0") << Row{{1, 4}, {3, 5}, {12, 2}, {7, 10}, {9, 11}, {6, 8}}
            << Row{{2, 5}, {1, 6}, {10, 3}, {8, 11}, {7, 12}, {4, 9}}
            << Row{{3, 6}, {2, 4}, {11, 1}, {9, 12}, {8, 10}, {5, 7}};
        // Pair 1 meets pair 7 on every board set in pair 7's place; 7's opponent takes pair 1's place.
        QTest::newRow("pair 1 meets pair 7") << 9 << QByteArray("0 1")
                                             << Row{{10, 4}, {3, 5}, {2, 6}, {7, 1}, {9, 11}, {8, 12}}
                                             << Row{{2, 5}, {12, 6}, {3, 4}, {8, 11}, {7, 1}, {9, 10}}
                                             << Row{{3, 6}, {2, 4}, {11, 5}, {9, 12}, {8, 10}, {7, 1}};
        QTest::newRow("pair 1 meets pair 7, all switched")
            << 0 << QByteArray("0 1") << Row{{4, 10}, {5, 3}, {6, 2}, {1, 7}, {11, 9}, {12, 8}}
            << Row{{5, 2}, {6, 12}, {4, 3}, {11, 8}, {1, 7}, {10, 9}}
            << Row{{6, 3}, {4, 2}, {5, 11}, {12, 9}, {10, 8}, {1, 7}};
    }

    void twoSections()
    {
        using Row = QList<QPair<qint32, qint32>>;
        QFETCH(int, switchRound);
        QFETCH(QByteArray, tail);
        QFETCH(Row, set1);
        QFETCH(Row, set2);
        QFETCH(Row, set3);
        Section s;
        s.Tables = 3;
        s.Rounds = 3;
        s.Sections = 2;
        s.SwitchRound = switchRound;
        const TournamentModel model = ReadPairs(Description(s, tail));
        const QList<Row> expected{set1, set2, set3};
        for (int b = 1; b <= 3; ++b) {
            Row actual;
            for (int slot = 1; slot <= 6; ++slot)
                actual << Pairs(model, b, slot);
            QCOMPARE(actual, expected[b - 1]);
        }
    }

    // Every ordinary single section with an odd number of tables playing all rounds, or an even number
    // playing one round fewer, is a proper Mitchell: each table of each round holds one board set, no
    // pair plays a board set twice, and no NS pair meets the same EW pair twice.
    void everyMitchellIsProper_data()
    {
        QTest::addColumn<int>("tables");
        for (int t = 3; t <= 15; ++t)
            QTest::addRow("%d tables", t) << t;
    }

    void everyMitchellIsProper()
    {
        QFETCH(int, tables);
        Section s;
        s.Tables = tables;
        s.Rounds = tables % 2 == 1 ? tables : tables - 1;
        const TournamentModel model = ReadPairs(Description(s));
        QCOMPARE(model.Movement.size(), size_t(tables) + 1);
        std::set<std::pair<int, int>> roundTables;
        std::set<std::pair<int, int>> meetings;
        for (int b = 1; b <= tables; ++b) {
            std::set<int> nsPairs;
            std::set<int> ewPairs;
            for (int r = 1; r <= s.Rounds; ++r) {
                const MovementEntry& entry = model.Movement[size_t(b)][size_t(r)];
                QCOMPARE(entry.Round, r);
                QVERIFY(entry.Table >= 1 && entry.Table <= tables);
                QVERIFY2(roundTables.insert({r, entry.Table}).second, "two board sets at one table");
                QVERIFY(entry.NS >= 1 && entry.NS <= tables);
                QVERIFY(entry.EW > tables && entry.EW <= 2 * tables);
                QVERIFY2(nsPairs.insert(entry.NS).second, "NS pair plays a board set twice");
                QVERIFY2(ewPairs.insert(entry.EW).second, "EW pair plays a board set twice");
                QVERIFY2(meetings.insert({entry.NS, entry.EW}).second, "NS and EW pair meet twice");
            }
        }
        QCOMPARE(roundTables.size(), size_t(tables * s.Rounds));
    }
};

QTEST_GUILESS_MAIN(TestPairsMovement)
#include "TestPairsMovement.moc"
