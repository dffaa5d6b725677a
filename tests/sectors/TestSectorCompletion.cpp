// Completing a non-typical sector: the kinds offered, the filled and computed proposals, the hand-over.
#include "HowellSector.h"
#include "SectorModels.h"

#include "common/KibicError.h"
#include "common/uNapisy.h"
#include "sectors/uSprNietyp.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using namespace kibic::test;

using TableRound = std::pair<qint32, qint32>;
Q_DECLARE_METATYPE(std::vector<std::vector<TableRound>>)

namespace {

QString Flags(const SectorKindChoice& choice)
{
    QString flags;
    for (const bool enabled : choice.Enabled)
        flags += enabled ? QLatin1Char('1') : QLatin1Char('0');
    return flags;
}

} // namespace

class TestSectorCompletion : public QObject
{
    Q_OBJECT

private slots:
    void kindsOffered_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("boardSets");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("sections");
        QTest::addColumn<QString>("enabled"); // RadioButton1..4; "" = window skipped
        QTest::newRow("all four") << 0 << 7 << 4 << 0 << "1111";
        QTest::newRow("n = TableCount - 2 is a Howell") << 0 << 6 << 4 << 0 << "1111";
        QTest::newRow("n = TableCount - 1 is no Howell") << 0 << 5 << 4 << 0 << "0011";
        QTest::newRow("n above TableCount") << 0 << 5 << 6 << 0 << "0011";
        QTest::newRow("ordinary section: no barometer") << 0 << 7 << 4 << 1 << "1101";
        QTest::newRow("two ordinary sections") << 0 << 7 << 2 << 2 << "1101";
        QTest::newRow("shift above 0") << 1 << 7 << 4 << 0 << "";
        QTest::newRow("shift below 0 changes nothing") << -1 << 7 << 4 << 0 << "1111";
        QTest::newRow("n >= TableCount - 1 beside a section") << 0 << 5 << 4 << 1 << "";
    }

    void kindsOffered()
    {
        QFETCH(int, shift);
        QFETCH(int, boardSets);
        QFETCH(int, n);
        QFETCH(int, sections);
        QFETCH(QString, enabled);
        SectorTournament t = MakeSectorTournament(boardSets, n, sections, 3, true, shift);
        t.SetRow(1, 1, 1, 2);
        ScriptedSectorOperator sectors;
        sectors.Kind = std::nullopt;
        sectors.EditorResult = true;
        RecordingOperator messages;
        SectorCompletion completion(sectors, messages);

        const bool result = completion.CompleteNonTypicalSector(t.Model, t.Sector);

        if (enabled.isEmpty()) {
            // Only "Coś innego" remains: no window, the editor opens on translated pairs, every cell empty.
            QVERIFY(!sectors.Offered);
            QVERIFY(result);
            QCOMPARE(sectors.EditorRuns, 1);
            QCOMPARE(sectors.EditorArguments, std::make_pair(n, 3 * sections));
            QCOMPARE(t.Row(1, 1).NS, 101);
            QCOMPARE(t.Row(1, 1).EW, 102);
            for (const auto& boardSet : t.TablesAndRounds())
                for (const auto& tableRound : boardSet)
                    QCOMPARE(tableRound, TableRound(0, 0));
        } else {
            QVERIFY(sectors.Offered);
            QCOMPARE(Flags(*sectors.Offered), enabled);
            // Closing TForm2 with its close box abandons the opening and leaves the positions.
            QVERIFY(!result);
            QCOMPARE(sectors.EditorRuns, 0);
            QCOMPARE(t.Row(1, 1).NS, 1);
        }
    }

    void tableNumberKinds_data()
    {
        QTest::addColumn<SectorKind>("kind");
        QTest::newRow("big Howell") << SectorKind::BigHowell;
        QTest::newRow("barometer") << SectorKind::Barometer;
    }

    // Row i of board set b is recorded at table i in round b.
    void tableNumberKinds()
    {
        QFETCH(SectorKind, kind);
        SectorTournament t = MakeSectorTournament(5, 3);
        for (qint32 b = 1; b <= 5; ++b) {
            t.SetRow(b, 1, 1, 6);
            t.SetRow(b, 2, 2, 5);
        }
        t.SetRow(4, 2, 3, 4); // row 3 stays empty everywhere
        ScriptedSectorOperator sectors;
        sectors.Kind = kind;
        RecordingOperator messages;
        SectorCompletion completion(sectors, messages);

        QVERIFY(completion.CompleteNonTypicalSector(t.Model, t.Sector));

        QCOMPARE(sectors.EditorRuns, 0);
        QCOMPARE(t.Row(4, 2), (MovementEntry { 103, 104, 0, 0, 4, 2 }));
        QCOMPARE(t.Row(4, 3), (MovementEntry { 101, 102, 0, 0, 4, 3 }));
        QCOMPARE(t.Row(2, 1), (MovementEntry { 101, 106, 0, 0, 2, 1 }));
        for (qint32 b = 1; b <= 5; ++b)
            for (qint32 i = 1; i <= 3; ++i)
                QCOMPARE(TableRound(t.Row(b, i).Table, t.Row(b, i).Round), TableRound(i, b));
    }

    void otherKindGoesToTheEditor_data()
    {
        QTest::addColumn<bool>("editorResult");
        QTest::newRow("accepted") << true;
        QTest::newRow("abandoned") << false;
    }

    void otherKindGoesToTheEditor()
    {
        QFETCH(bool, editorResult);
        SectorTournament t = MakeSectorTournament(7, 2, 1, 7);
        t.SetRow(3, 1, 4, 1);
        t.SetRow(3, 2, 0, 0);
        ScriptedSectorOperator sectors;
        sectors.Kind = SectorKind::Other;
        sectors.EditorResult = editorResult;
        RecordingOperator messages;
        SectorCompletion completion(sectors, messages);

        QCOMPARE(completion.CompleteNonTypicalSector(t.Model, t.Sector), editorResult);

        QCOMPARE(sectors.EditorRuns, 1);
        QCOMPARE(sectors.EditorArguments, std::make_pair(2, 7));
        // The editor gets pair numbers and nothing stated.
        QCOMPARE(sectors.AtEditor[3][7 + 1], (MovementEntry { 104, 101, 0, 0, 0, 0 }));
        QCOMPARE(sectors.AtEditor[3][7 + 2], MovementEntry {});
    }

    // T = 4, n = 2: the two ways row 1 of board set 2 can go. Board sets 3 and 4 follow at the table of
    // board set 2 (pair 5 again, or EW 4 after EW 3, then EW 1 after EW 4).
    void howellWorkedExample_data()
    {
        QTest::addColumn<int>("ns2");
        QTest::addColumn<int>("ew2");
        QTest::addColumn<std::vector<std::vector<TableRound>>>("expected");
        // Row 1 of every board set at table 1 in rounds 1..4; row 2 one table lower, no round found.
        QTest::newRow("same NS pair above T stays")
            << 5 << 3
            << std::vector<std::vector<TableRound>> { { { 1, 1 }, { 2, 0 } }, { { 1, 2 }, { 2, 0 } },
                   { { 1, 3 }, { 2, 0 } }, { { 1, 4 }, { 2, 0 } } };
        // Table 1 plays board sets 1..4 in rounds 1..4, table 2 board sets 2, 3, 4, 1.
        QTest::newRow("no pair seen again moves on")
            << 2 << 3
            << std::vector<std::vector<TableRound>> { { { 1, 1 }, { 2, 4 } }, { { 2, 1 }, { 1, 2 } },
                   { { 2, 2 }, { 1, 3 } }, { { 2, 3 }, { 1, 4 } } };
    }

    void howellWorkedExample()
    {
        QFETCH(int, ns2);
        QFETCH(int, ew2);
        using Movement = std::vector<std::vector<TableRound>>;
        QFETCH(Movement, expected);
        SectorTournament t = MakeSectorTournament(4, 2, 0, 0, true, 0, 5);
        t.SetRow(1, 1, 5, 1);
        t.SetRow(2, 1, ns2, ew2);
        t.SetRow(3, 1, 5, 4);
        t.SetRow(4, 1, 2, 1);

        ProposeHowellSector(t.Model, t.Sector);

        QCOMPARE(t.TablesAndRounds(), expected);
    }

    // When row 1 of a board set stays at the table of row 1 of the board set before it.
    void howellSameTable_data()
    {
        QTest::addColumn<int>("previousNS");
        QTest::addColumn<int>("previousEW");
        QTest::addColumn<int>("ns");
        QTest::addColumn<int>("ew");
        QTest::addColumn<bool>("sameTable");
        QTest::newRow("stationary NS seen as NS") << 8 << 1 << 8 << 2 << true;
        QTest::newRow("stationary NS seen as EW") << 3 << 8 << 8 << 2 << true;
        QTest::newRow("stationary EW seen as NS") << 8 << 3 << 2 << 8 << true;
        QTest::newRow("stationary EW seen as EW") << 2 << 8 << 3 << 8 << true;
        QTest::newRow("pair above T not seen before") << 8 << 1 << 9 << 3 << false;
        QTest::newRow("pair up to T seen again counts not") << 3 << 4 << 3 << 6 << false;
        QTest::newRow("EW one higher") << 3 << 4 << 6 << 5 << true;
        QTest::newRow("EW one lower") << 3 << 5 << 6 << 4 << false;
        QTest::newRow("EW the same") << 3 << 4 << 6 << 4 << false;
        QTest::newRow("EW 1 after T") << 3 << 7 << 6 << 1 << true;
        QTest::newRow("EW 1 after another") << 3 << 6 << 6 << 1 << false;
        QTest::newRow("NS one higher counts not") << 3 << 4 << 4 << 6 << false;
    }

    void howellSameTable()
    {
        QFETCH(int, previousNS);
        QFETCH(int, previousEW);
        QFETCH(int, ns);
        QFETCH(int, ew);
        QFETCH(bool, sameTable);
        SectorTournament t = MakeSectorTournament(7, 3, 0, 0, true, 0, 9);
        t.SetRow(1, 1, previousNS, previousEW);
        t.SetRow(2, 1, ns, ew);

        ProposeHowellSector(t.Model, t.Sector);

        QCOMPARE(TableRound(t.Row(2, 1).Table, t.Row(2, 1).Round), sameTable ? TableRound(1, 2) : TableRound(2, 1));
    }

    // A complete Howell of 8 pairs at 4 tables over 7 rounds with 7 board sets. Pair 8 sits at table 1;
    // in round r table 1 seats 8 and r, table 2 seats r+2 and r+6, table 3 r+4 and r+5, table 4 r+1 and
    // r+3 (pairs counted 1..7 cyclically), and table t plays board set r + k with k = 0, 1, 2, 4. Every
    // pair meets every other once and plays every board set once. ZyRT lists a board set's meetings in
    // the order they are played. The proposal finds the whole movement back:
    //   step 2: row 1 tables 1, 2, 3, 3 (EW 7 follows EW 6), 4, 4 (5 follows 4), 4 (6 follows 5);
    //   step 3: their rounds 1, 1, 1, 2, 1, 2, 3;
    //   step 4: the other rows walk down from there (row 1 at table 1: then 4, 3, 2);
    //   step 5: table 1 from board set 1 in round 1 meets board set 2 in its row 2 (row 1 at table 2),
    //           board set 3 in row 3, 4 in row 3, 5 in row 4 ... up to board set 7 in round 7;
    //           tables 2, 3 and 4 likewise from board sets 2, 3 and 5.
    void howellSevenBoardSets()
    {
        SectorTournament t = MakeSectorTournament(7, 4);
        // The Howell of howell.inf, its pairs 21..28 as the sector's positions 1..8.
        for (qint32 b = 1; b <= 7; ++b)
            for (qint32 i = 1; i <= 4; ++i)
                t.SetRow(b, i, kHowellPairs[b - 1][i - 1].first - 20, kHowellPairs[b - 1][i - 1].second - 20);
        ScriptedSectorOperator sectors;
        sectors.Kind = SectorKind::OneHowell;
        sectors.EditorResult = true;
        RecordingOperator messages;
        SectorCompletion completion(sectors, messages);

        QVERIFY(completion.CompleteNonTypicalSector(t.Model, t.Sector));

        QCOMPARE(t.TablesAndRounds(), kHowellMovement);
        // The proposal is computed on positions; the editor then gets pair numbers.
        QCOMPARE(sectors.EditorRuns, 1);
        QCOMPARE(t.Row(1, 1).NS, 108);
        QCOMPARE(t.Row(1, 1).EW, 101);
        QCOMPARE(t.Row(7, 3).NS, 101);
        QCOMPARE(t.Row(7, 3).EW, 105);
    }

    // Row 1 never stays: every board set moves to the other table, so at each table the next board sets
    // are found ever lower until the rows run out; later runs overwrite earlier ones.
    void howellRowsRunOut()
    {
        SectorTournament t = MakeSectorTournament(5, 2);
        const int ns[] = { 1, 2, 4, 1, 2 };
        for (qint32 b = 1; b <= 5; ++b) {
            t.SetRow(b, 1, ns[b - 1], 3);
            t.SetRow(b, 2, 2, 4);
        }

        ProposeHowellSector(t.Model, t.Sector);

        const std::vector<std::vector<TableRound>> expected = {
            { { 1, 2 }, { 2, 3 } },
            { { 2, 1 }, { 1, 3 } },
            { { 1, 1 }, { 2, 2 } },
            { { 2, 1 }, { 1, 2 } },
            { { 1, 1 }, { 2, 2 } },
        };
        QCOMPARE(t.TablesAndRounds(), expected);
    }

    // The message names the description of the tournament: pairs from positions of the description, an
    // individual barometer seating its first two players in empty seats of a sector that has only one.
    void positionBeyondTheListIsRefused_data()
    {
        QTest::addColumn<bool>("pairs");
        QTest::addColumn<QString>("message");
        QTest::newRow("pairs, position 9 of 4") << true << "cup.inf: pozycja 9 sektora nietypowego (numer 19 listy";
        QTest::newRow("individual barometer, position 2 of 1")
            << false << "cup.ind: pozycja 2 sektora nietypowego (numer 14 listy";
    }

    void positionBeyondTheListIsRefused()
    {
        QFETCH(bool, pairs);
        QFETCH(QString, message);
        SectorTournament t = pairs ? MakeSectorTournament(5, 2, 1, 5) : MakeSectorTournament(3, 2, 1, 3, false, 0, 1);
        QTemporaryDir dir;
        t.Model.TournamentBase = dir.filePath(QStringLiteral("cup"));
        if (pairs)
            t.SetRow(2, 1, 1, 9); // the sector has positions 1..4
        ScriptedSectorOperator sectors;
        sectors.Kind = SectorKind::Other;
        RecordingOperator messages;
        messages.Answer = ModalResult::Yes;
        SectorCompletion completion(sectors, messages);
        try {
            (void)(pairs ? completion.CompleteNonTypicalSector(t.Model, t.Sector)
                         : completion.CompleteIndividualNonTypicalSector(t.Model, t.Sector));
            QFAIL("a position beyond the participant list was accepted");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(message), qPrintable(error.Message()));
        }
        QCOMPARE(sectors.EditorRuns, 0);
    }

    // A negative position is no meeting: the kinds recorded by table number seat the sector's first two
    // pairs there, as for an empty row; the kinds that translate positions refuse it, naming the file.
    void negativePositions_data()
    {
        QTest::addColumn<SectorKind>("kind");
        QTest::addColumn<bool>("refused");
        QTest::newRow("one Howell") << SectorKind::OneHowell << true;
        QTest::newRow("big Howell") << SectorKind::BigHowell << false;
        QTest::newRow("barometer") << SectorKind::Barometer << false;
        QTest::newRow("something else") << SectorKind::Other << true;
    }

    void negativePositions()
    {
        QFETCH(SectorKind, kind);
        QFETCH(bool, refused);
        SectorTournament t = MakeSectorTournament(5, 2);
        QTemporaryDir dir;
        t.Model.TournamentBase = dir.filePath(QStringLiteral("cup"));
        for (qint32 b = 1; b <= 5; ++b) {
            t.SetRow(b, 1, 3, 4);
            t.SetRow(b, 2, 1, 2);
        }
        t.SetRow(3, 2, -1, -3);
        ScriptedSectorOperator sectors;
        sectors.Kind = kind;
        sectors.EditorResult = true;
        RecordingOperator messages;
        SectorCompletion completion(sectors, messages);
        try {
            QVERIFY(completion.CompleteNonTypicalSector(t.Model, t.Sector));
            QVERIFY2(!refused, "a negative position was translated");
            QCOMPARE(t.Row(3, 2), (MovementEntry { 101, 102, 0, 0, 3, 2 }));
        } catch (const KibicError& error) {
            QVERIFY2(refused, qPrintable(error.Message()));
            QVERIFY2(
                error.Message().contains(t.Model.TournamentBase + QStringLiteral(".inf")), qPrintable(error.Message()));
            QVERIFY2(error.Message().contains(QStringLiteral("pozycja -")), qPrintable(error.Message()));
            QCOMPARE(sectors.EditorRuns, 0);
        }
    }

    void movementTooShortIsRefused_data()
    {
        QTest::addColumn<int>("boardSetsInMovement");
        QTest::addColumn<int>("slotsOfBoardSet3");
        QTest::newRow("board sets missing") << 3 << 6;
        QTest::newRow("slots missing") << 6 << 5;
    }

    void movementTooShortIsRefused()
    {
        QFETCH(int, boardSetsInMovement);
        QFETCH(int, slotsOfBoardSet3);
        SectorTournament t = MakeSectorTournament(5, 3, 1, 2);
        t.Model.Movement.resize(static_cast<size_t>(boardSetsInMovement));
        t.Model.Movement[3].resize(static_cast<size_t>(slotsOfBoardSet3));
        ScriptedSectorOperator sectors;
        sectors.Kind = SectorKind::BigHowell;
        RecordingOperator messages;
        SectorCompletion completion(sectors, messages);
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)completion.CompleteNonTypicalSector(t.Model, t.Sector));
    }

    void individualQuestion_data()
    {
        QTest::addColumn<ModalResult>("answer");
        QTest::addColumn<bool>("editorResult");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<int>("editorRuns");
        QTest::newRow("Tak fills by table number") << ModalResult::Yes << false << true << 0;
        QTest::newRow("Nie runs the editor, accepted") << ModalResult::No << true << true << 1;
        QTest::newRow("Nie runs the editor, abandoned") << ModalResult::No << false << false << 1;
        QTest::newRow("close box abandons") << ModalResult::Cancel << true << false << 0;
    }

    void individualQuestion()
    {
        QFETCH(ModalResult, answer);
        QFETCH(bool, editorResult);
        QFETCH(bool, expected);
        QFETCH(int, editorRuns);
        // One section of 3 tables (12 players), then a sector of 2 tables whose players are 101..108.
        SectorTournament t = MakeSectorTournament(3, 2, 1, 3, false, 0, 8);
        for (qint32 b = 1; b <= 3; ++b) {
            t.Row(b, 1) = { 103, 104, 105, 106, 0, 0 };
            t.Row(b, 2) = { 0, 0, 107, 108, 0, 0 };
        }
        ScriptedSectorOperator sectors;
        sectors.EditorResult = editorResult;
        RecordingOperator messages;
        messages.Answer = answer;
        SectorCompletion completion(sectors, messages);

        QCOMPARE(completion.CompleteIndividualNonTypicalSector(t.Model, t.Sector), expected);

        QCOMPARE(messages.Messages.size(), size_t(1));
        QCOMPARE(messages.Messages[0].Text, uNapisy::CzyBarometr);
        QCOMPARE(messages.Messages[0].Kind, DialogKind::Confirm);
        QCOMPARE(messages.Messages[0].Buttons, YesNoQuestion);
        QCOMPARE(sectors.EditorRuns, editorRuns);
        QVERIFY(!sectors.Offered);
        if (answer == ModalResult::Yes) {
            // Empty seats take the sector's first and second player (positions p+1, p+2).
            QCOMPARE(t.Row(2, 1), (MovementEntry { 103, 104, 105, 106, 2, 1 }));
            QCOMPARE(t.Row(3, 2), (MovementEntry { 101, 102, 107, 108, 3, 2 }));
        } else {
            QCOMPARE(t.Row(3, 2), (MovementEntry { 0, 0, 107, 108, 0, 0 }));
        }
    }
};

QTEST_GUILESS_MAIN(TestSectorCompletion)
#include "TestSectorCompletion.moc"
