// The movement of an individual tournament: the four seats' steps, the switch ranges, and several
// non-typical sectors generated from the description alone.
#include "TournamentTestSupport.h"

#include "common/KibicError.h"
#include "tournament/IndividualMovement.h"
#include "tournament/TournamentReader.h"

#include <QTemporaryDir>
#include <QTest>
#include <set>

using namespace kibic;
using namespace kibic::test;

namespace {

struct Individual
{
    int Tables = 3;
    int Rounds = 3;
    int ExtraTables = 0; // the fifth number as written, coded with 10000 for several sectors
    int Shift = 0;
    int FirstSwitchStart = 0;
    int FirstSwitchEnd = 0;
    int SecondSwitchStart = 99;
    int ExtraPlayers = 0;
    QList<int> Steps { -1, 1, 0, 2 }; // North, East, South, West
};

QByteArray Description(const Individual& d, const QByteArray& seating = {})
{
    const int players = 4 * d.Tables + d.ExtraPlayers;
    return Numbers({ d.Tables, d.Rounds, 2, 1, d.ExtraTables, 0, d.Shift, players, 1, 0, 0, d.FirstSwitchStart,
               d.FirstSwitchEnd, 2 * d.Tables, d.SecondSwitchStart })
        + Range(1, players) + Numbers({ d.Steps[0], d.Steps[1], d.Steps[2], d.Steps[3] }) + seating;
}

TournamentModel ReadIndividual(const QByteArray& description, RecordingCompleter* seen = nullptr)
{
    QTemporaryDir dir;
    TournamentModel model;
    model.TournamentBase = dir.filePath(QStringLiteral("cup"));
    model.PairsEvent = true;
    RecordingCompleter completer;
    const bool read = ReadIndividualTournament(
        model, TText::FromBytes(description, QStringLiteral("cup.ind")), seen ? *seen : completer);
    if (!read)
        QTest::qFail("unexpected result of the individual reader", __FILE__, __LINE__);
    return model;
}

} // namespace

class TestIndividualMovement : public QObject
{
    Q_OBJECT

private slots:
    void seatsMoveByTheirSteps()
    {
        // Players 1..3 North, 4..6 East, 7..9 South, 10..12 West; North moves one table down, East one
        // up, South stays, West two up.
        const TournamentModel model = ReadIndividual(Description(Individual {}));
        QVERIFY(!model.PairsEvent);
        QCOMPARE(model.Movement[1][1], (MovementEntry { 1, 4, 7, 10, 1, 1 }));
        QCOMPARE(model.Movement[1][2], (MovementEntry { 3, 5, 7, 12, 2, 3 }));
        QCOMPARE(model.Movement[1][3], (MovementEntry { 2, 6, 7, 11, 3, 2 }));
        QCOMPARE(model.Movement[3][1], (MovementEntry { 3, 6, 9, 12, 1, 3 }));
    }

    void northWrapsBothWaysInRoundOne()
    {
        Individual d;
        d.Shift = 1;
        d.Steps = { 2, 0, 0, 0 };
        const TournamentModel model = ReadIndividual(Description(d));
        QCOMPARE(model.Movement[1][1].Table, 3);
        QCOMPARE(model.Movement[2][1].Table, 1);
        QCOMPARE(model.Movement[3][1].Table, 2);
        for (int b = 1; b <= 3; ++b)
            QCOMPARE(model.Movement[size_t(b)][1].NS, model.Movement[size_t(b)][1].Table); // North players 1..3
    }

    void switchRanges_data()
    {
        QTest::addColumn<int>("firstStart");
        QTest::addColumn<int>("firstEnd");
        QTest::addColumn<int>("secondStart");
        QTest::addColumn<QList<int>>("switched");
        QTest::newRow("none") << 0 << 0 << 5 << QList<int> {};
        QTest::newRow("second start beyond the rounds") << 0 << 0 << 200 << QList<int> {};
        QTest::newRow("rounds 3 and 4") << 2 << 4 << 5 << QList<int> { 3, 4 };
        QTest::newRow("from round 4 on") << 0 << 0 << 3 << QList<int> { 4, 5 };
        QTest::newRow("both ranges") << 1 << 2 << 3 << QList<int> { 2, 4, 5 };
        QTest::newRow("start not below end is empty") << 4 << 2 << 9 << QList<int> {};
        QTest::newRow("first range beyond the rounds") << 3 << 255 << 5 << QList<int> { 4, 5 };
        QTest::newRow("all") << 0 << 0 << 0 << QList<int> { 1, 2, 3, 4, 5 };
    }

    void switchRanges()
    {
        QFETCH(int, firstStart);
        QFETCH(int, firstEnd);
        QFETCH(int, secondStart);
        QFETCH(QList<int>, switched);
        Individual plain;
        plain.Tables = 5;
        plain.Rounds = 5;
        plain.SecondSwitchStart = 5;
        const TournamentModel unswitched = ReadIndividual(Description(plain));
        Individual d = plain;
        d.FirstSwitchStart = firstStart;
        d.FirstSwitchEnd = firstEnd;
        d.SecondSwitchStart = secondStart;
        const TournamentModel model = ReadIndividual(Description(d));
        for (int b = 1; b <= 5; ++b) {
            for (int r = 1; r <= 5; ++r) {
                MovementEntry expected = unswitched.Movement[size_t(b)][size_t(r)];
                if (switched.contains(r)) {
                    std::swap(expected.NS, expected.EW);
                    std::swap(expected.South, expected.West);
                }
                QCOMPARE(model.Movement[size_t(b)][size_t(r)], expected);
            }
        }
    }

    // The ends of the two ranges (a1 + 1, e1, a2 + 1 and the last round) must lie in 0..255, not the
    // numbers of the description themselves.
    void switchBoundsAreTheEndsOfTheRanges_data()
    {
        QTest::addColumn<int>("firstStart");
        QTest::addColumn<int>("firstEnd");
        QTest::addColumn<int>("secondStart");
        QTest::addColumn<int>("lastRound");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QList<int>>("switched"); // of rounds 0..5 and 254, 255
        QTest::newRow("first start 256") << 256 << 300 << 9 << 5 << true << QList<int>();
        QTest::newRow("first start 255: start 256") << 255 << 0 << 9 << 5 << true << QList<int>();
        QTest::newRow("first end 256") << 0 << 256 << 9 << 5 << true << QList<int>();
        QTest::newRow("second start 256") << 0 << 0 << 256 << 5 << true << QList<int>();
        QTest::newRow("second start 255: start 256") << 0 << 0 << 255 << 255 << true << QList<int>();
        QTest::newRow("second start ++") << 0 << 0 << 2147483647 << 5 << true << QList<int>();
        QTest::newRow("first start -2") << -2 << 2 << 9 << 5 << true << QList<int>();
        QTest::newRow("first start -1: start 0") << -1 << 2 << 9 << 5 << false << QList<int> { 0, 1, 2 };
        QTest::newRow("second start -1: start 0") << 0 << 0 << -1 << 2 << false << QList<int> { 0, 1, 2 };
        QTest::newRow("last round 300, second range empty") << 0 << 0 << 300 << 300 << true << QList<int>();
        QTest::newRow("last round 300") << 0 << 0 << 3 << 300 << true << QList<int>();
        QTest::newRow("second start 254, last round 255") << 0 << 0 << 254 << 255 << false << QList<int> { 255 };
        QTest::newRow("rounds 3 and 4") << 2 << 4 << 5 << 5 << false << QList<int> { 3, 4 };
    }

    void switchBoundsAreTheEndsOfTheRanges()
    {
        QFETCH(int, firstStart);
        QFETCH(int, firstEnd);
        QFETCH(int, secondStart);
        QFETCH(int, lastRound);
        QFETCH(bool, refused);
        QFETCH(QList<int>, switched);
        try {
            const SwitchRounds rounds(firstStart, firstEnd, secondStart, lastRound, QStringLiteral("t.ind"));
            QVERIFY2(!refused, "a bound outside 0..255 was accepted");
            for (int round : { 0, 1, 2, 3, 4, 5, 254, 255 })
                QCOMPARE(rounds.Contains(round), switched.contains(round));
        } catch (const KibicError& error) {
            QVERIFY2(refused, qPrintable(error.Message()));
            QVERIFY2(error.Message().contains(QStringLiteral("t.ind")), qPrintable(error.Message()));
        }
    }

    // Two non-typical sectors of 3 tables (E = 6) after one section of 3 tables, 3 rounds, no shift,
    // North step 1. Each board set's 6 extra slots are seated from the description with list indices.
    void severalNonTypicalSectors_data()
    {
        QTest::addColumn<int>("secondSwitchStart");
        QTest::addColumn<bool>("roundThreeSwitched");
        QTest::newRow("no switch") << 3 << false;
        QTest::newRow("round 3 switched") << 2 << true;
    }

    void severalNonTypicalSectors()
    {
        QFETCH(int, secondSwitchStart);
        QFETCH(bool, roundThreeSwitched);
        Individual d;
        d.ExtraTables = 10206;
        d.SecondSwitchStart = secondSwitchStart;
        d.ExtraPlayers = 24;
        d.Steps = { 1, -1, 1, -1 };
        QByteArray seating;
        for (int b = 1; b <= 3; ++b)
            for (int p = 1; p <= 6; ++p)
                seating += Numbers({ 12 + 4 * (p - 1) + 1, 12 + 4 * (p - 1) + 2, 12 + 4 * (p - 1) + 3, 12 + 4 * p });
        RecordingCompleter completer;
        const TournamentModel model = ReadIndividual(Description(d, seating), &completer);
        QVERIFY(completer.Calls.isEmpty());
        QCOMPARE(model.ExtraSectionCount, 2);
        QCOMPARE(model.ExtraTableCount, 6);
        QCOMPARE(model.Movement[1].size(), size_t(3 + 6 + 1));
        const QList<QList<int>> tables { {}, { 1, 2, 3 }, { 2, 3, 1 }, { 3, 1, 2 } };
        for (int sector = 0; sector < 2; ++sector) {
            for (int c = 1; c <= 3; ++c) {
                for (int r = 1; r <= 3; ++r) {
                    const int p = 3 * sector + r;
                    const MovementEntry& entry = model.Movement[size_t(c)][size_t(3 + p)];
                    QCOMPARE(entry.Round, r);
                    QCOMPARE(entry.Table, tables[c][r - 1]);
                    MovementEntry seated { 12 + 4 * (p - 1) + 1, 12 + 4 * (p - 1) + 2, 12 + 4 * (p - 1) + 3, 12 + 4 * p,
                        r, tables[c][r - 1] };
                    if (roundThreeSwitched && r == 3) {
                        std::swap(seated.NS, seated.EW);
                        std::swap(seated.South, seated.West);
                    }
                    QCOMPARE(entry, seated);
                }
            }
        }
    }

    void singleNonTypicalSectorIsHandedOver()
    {
        Individual d;
        d.ExtraTables = 2;
        d.Shift = 1;
        d.ExtraPlayers = 8;
        QByteArray seating;
        for (int b = 1; b <= 3; ++b)
            seating += "13 14 15 16  17 18 19 20 ";
        RecordingCompleter completer;
        const TournamentModel model = ReadIndividual(Description(d, seating), &completer);
        QCOMPARE(completer.Calls, QStringList { QStringLiteral("individual") });
        QCOMPARE(completer.Sector.RowCount, 2);
        QCOMPARE(completer.Sector.SlotOffset, 3);
        QCOMPARE(completer.Sector.PositionOffset, 12);
        QCOMPARE(completer.Sector.Shift, 1);
        QCOMPARE(completer.MovementSeen[2][4], (MovementEntry { 13, 14, 15, 16, 0, 0 }));
        QCOMPARE(completer.MovementSeen[2][5], (MovementEntry { 17, 18, 19, 20, 0, 0 }));
    }

    // A description that announces a sector and ends before its seating is cut off: refused, saying where.
    void missingSeatingIsRefused()
    {
        Individual d;
        d.ExtraTables = 10103; // one sector of 3 tables, seating missing from the file
        QTemporaryDir dir;
        TournamentModel model;
        model.TournamentBase = dir.filePath(QStringLiteral("cup"));
        RecordingCompleter completer;
        try {
            (void)ReadIndividualTournament(model, TText::FromBytes(Description(d), QStringLiteral("cup.ind")), completer);
            QFAIL("read");
        } catch (const KibicError& error) {
            QCOMPARE(error.Message(),
                QStringLiteral("Błąd w pliku cup.ind: plik kończy się przed tym, co zapowiada (brak: rozstawienie "
                               "kompletu 1 przy stole 1 sektora nietypowego)."));
        }
    }
};

QTEST_GUILESS_MAIN(TestIndividualMovement)
#include "TestIndividualMovement.moc"
