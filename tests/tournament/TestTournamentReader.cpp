// Reading a tournament description: the choice of reader, the counts, the files made on the way,
// descriptions that cannot be followed, and the hand-over of a non-typical sector.
#include "TournamentTestSupport.h"

#include "common/KibicError.h"
#include "tournament/TournamentReader.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using namespace kibic::test;

namespace {

// One section of 5 tables, 5 rounds of 3 boards, no switch, no shift, 10 pairs, 5 result slots per
// board, 15 boards, no non-typical sector, EW step -2.
const QByteArray kExample = "5 5 3 1 0 9 0 10 5 0 0 0 0 15 0\r\n1 2 3 4 5 6 7 8 9 10\r\n-2\r\n";

// A small individual description: one table, one round, no switch.
const QByteArray kIndividual = "1 1 2 1 0 0 0 4 1 0 0 0 0 2 1  1 2 3 4  0 0 0 0";

// Bytes that are no description: a fixed sequence of a simple generator, the same on every run.
QByteArray RandomBytes(int size, quint32 seed)
{
    QByteArray bytes;
    quint32 state = seed;
    for (int i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes.append(static_cast<char>(state >> 24));
    }
    return bytes;
}

TournamentModel FreshModel()
{
    TournamentModel model;
    model.ScoringKind = 2;
    return model;
}

} // namespace

class TestTournamentReader : public QObject
{
    Q_OBJECT

private slots:
    void readerFollowsTheExtension_data()
    {
        QTest::addColumn<QString>("onDisk");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("pairs");
        QTest::newRow("inf") << "cup.inf"
                             << "cup.inf" << true;
        QTest::newRow("INF chosen") << "cup.inf"
                                    << "cup.INF" << true;
        QTest::newRow("ind") << "cup.ind"
                             << "cup.ind" << false;
        QTest::newRow("IND chosen") << "cup.ind"
                                    << "cup.IND" << false;
        QTest::newRow("Ind chosen, IND on disk") << "cup.IND"
                                                 << "cup.Ind" << false;
        QTest::newRow("INF on disk") << "cup.INF"
                                     << "cup.inf" << true;
        QTest::newRow("other extension reads the pairs file") << "cup.inf"
                                                              << "cup.bws" << true;
    }

    void readerFollowsTheExtension()
    {
        QFETCH(QString, onDisk);
        QFETCH(QString, chosen);
        QFETCH(bool, pairs);
        QTemporaryDir dir;
        WriteFile(dir.filePath(onDisk), pairs ? kExample : kIndividual);
        TournamentModel model = FreshModel();
        model.PairsEvent = !pairs;
        RecordingCompleter completer;
        QVERIFY(ReadTournament(model, dir.filePath(chosen), completer));
        QCOMPARE(model.PairsEvent, pairs);
        QCOMPARE(model.TournamentBase, dir.filePath(QStringLiteral("cup")));
        QCOMPARE(model.TableCount, pairs ? 5 : 1);
        QVERIFY(completer.Calls.isEmpty());
    }

    void pairsExample()
    {
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("cup.inf")), kExample);
        TournamentModel model = FreshModel();
        RecordingCompleter completer;
        QVERIFY(ReadTournament(model, dir.filePath(QStringLiteral("cup.inf")), completer));
        QCOMPARE(model.TableCount, 5);
        QCOMPARE(model.RoundCount, 5);
        QCOMPARE(model.BoardsPerRound, 3);
        QCOMPARE(model.SectionCount, 1);
        QCOMPARE(model.ParticipantCount, 10);
        QCOMPARE(model.ResultsPerBoard, 5);
        QCOMPARE(model.BoardCount, 15);
        QCOMPARE(model.ExtraTableCount, 0);
        QCOMPARE(model.ScoringKind, 2);
        QCOMPARE(model.ParticipantNumbers, (std::vector<qint32> { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 }));
        QCOMPARE(model.BoardNumbers, (std::vector<qint32> { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15 }));
        QCOMPARE(model.Movement.size(), size_t(6));
        for (const auto& boardSet : model.Movement)
            QCOMPARE(boardSet.size(), size_t(6));
        QCOMPARE(ReadFile(dir.filePath(QStringLiteral("cup.KNT"))).size(), 75 * 8);
        // Board set 1: round 1 at table 1 NS 1 EW 6; round 2 at table 5 NS 5 EW 9; round 3 at table 4 NS 4 EW 7.
        QCOMPARE(model.Movement[1][1], (MovementEntry { 1, 6, 0, 0, 1, 1 }));
        QCOMPARE(model.Movement[1][2], (MovementEntry { 5, 9, 0, 0, 2, 5 }));
        QCOMPARE(model.Movement[1][3], (MovementEntry { 4, 7, 0, 0, 3, 4 }));
    }

    void firstNumberOfPairs_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("tables");
        QTest::addColumn<int>("scoringKind");
        QTest::newRow("10000 + 8") << 10008 << 8 << 0;
        QTest::newRow("8") << 8 << 8 << 2;
    }

    void firstNumberOfPairs()
    {
        QFETCH(int, first);
        QFETCH(int, tables);
        QFETCH(int, scoringKind);
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("cup.inf")),
            Numbers({ first, 7, 2, 1, 0, 9, 0, 16, 3, 0, 0, 0, 0, 14, 0 }) + Range(1, 16) + "-2");
        TournamentModel model = FreshModel();
        RecordingCompleter completer;
        QVERIFY(ReadTournament(model, dir.filePath(QStringLiteral("cup.inf")), completer));
        QCOMPARE(model.TableCount, tables);
        QCOMPARE(model.ScoringKind, scoringKind);
        QCOMPARE(model.Movement.size(), size_t(tables) + 1);

        TournamentModel reopened = FreshModel();
        reopened.TournamentBase = dir.filePath(QStringLiteral("cup"));
        reopened.PairsEvent = true;
        ReadTournamentHeader(reopened);
        QCOMPARE(reopened.TableCount, tables);
        QCOMPARE(reopened.ScoringKind, 2);
    }

    void pairsHeader()
    {
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("cup.INF")),
            Numbers({ 10006, 5, 4, 2, 51, 52, 53, 24, 6, 54, 55, 56, 57, 20, 3 }) + Range(1, 24));
        TournamentModel model;
        model.TournamentBase = dir.filePath(QStringLiteral("cup"));
        model.PairsEvent = true;
        model.ExtraSectionCount = 4;
        ReadTournamentHeader(model);
        QCOMPARE(model.TableCount, 6);
        QCOMPARE(model.RoundCount, 5);
        QCOMPARE(model.BoardsPerRound, 4);
        QCOMPARE(model.SectionCount, 2);
        QCOMPARE(model.ParticipantCount, 24);
        QCOMPARE(model.ResultsPerBoard, 6);
        QCOMPARE(model.BoardCount, 20);
        QCOMPARE(model.ExtraTableCount, 3);
        QCOMPARE(model.ExtraSectionCount, 0);
        QCOMPARE(model.GridTableCount, 2 * 6 + 3);
        QVERIFY(model.BoardNumbers.empty());
        QVERIFY(model.Movement.empty());
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("cup.KNT"))));
    }

    void individualHeader_data()
    {
        QTest::addColumn<int>("fifth");
        QTest::addColumn<int>("extraSections");
        QTest::addColumn<int>("extraTables");
        QTest::newRow("10000 + 206") << 10206 << 2 << 6;
        QTest::newRow("6") << 6 << 0 << 6;
        QTest::newRow("exactly 10000") << 10000 << 0 << 10000;
        QTest::newRow("10000 + 5") << 10005 << 0 << 5;
    }

    void individualHeader()
    {
        QFETCH(int, fifth);
        QFETCH(int, extraSections);
        QFETCH(int, extraTables);
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("cup.ind")),
            Numbers({ 10003, 3, 2, 1, fifth, 61, 62, 40, 7, 63, 64, 65, 66, 9, 67 }));
        TournamentModel model;
        model.TournamentBase = dir.filePath(QStringLiteral("cup"));
        model.PairsEvent = false;
        model.ExtraSectionCount = 9;
        ReadTournamentHeader(model);
        QCOMPARE(model.TableCount, 3);
        QCOMPARE(model.RoundCount, 3);
        QCOMPARE(model.BoardsPerRound, 2);
        QCOMPARE(model.SectionCount, 1);
        QCOMPARE(model.ExtraSectionCount, extraSections);
        QCOMPARE(model.ExtraTableCount, extraTables);
        QCOMPARE(model.ParticipantCount, 40);
        QCOMPARE(model.ResultsPerBoard, 7);
        QCOMPARE(model.BoardCount, 9);
        QCOMPARE(model.GridTableCount, 3 + extraTables);
    }

    void boardNumberingIsRead()
    {
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("cup.inf")), kExample);
        WriteFile(dir.filePath(QStringLiteral("cup.INR")), "-4\r\n");
        TournamentModel model = FreshModel();
        RecordingCompleter completer;
        QVERIFY(ReadTournament(model, dir.filePath(QStringLiteral("cup.inf")), completer));
        QCOMPARE(model.BoardNumbers, (std::vector<qint32> { 0, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3 }));
    }

    void existingContractFileIsKept()
    {
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("cup.inf")), kExample);
        WriteFile(dir.filePath(QStringLiteral("cup.knt")), "results");
        TournamentModel model = FreshModel();
        RecordingCompleter completer;
        QVERIFY(ReadTournament(model, dir.filePath(QStringLiteral("cup.inf")), completer));
        QCOMPARE(ReadFile(dir.filePath(QStringLiteral("cup.knt"))), QByteArray("results"));
        // Listed, not asked by name: on Windows "cup.KNT" names the same file as "cup.knt".
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
            (QStringList { QStringLiteral("cup.inf"), QStringLiteral("cup.knt") }));
    }

    void secondReadResizesTheArrays()
    {
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("big.inf")), kExample);
        WriteFile(dir.filePath(QStringLiteral("small.inf")), "3 2 2 1 0 9 0 6 1 0 0 0 0 4 0 1 2 3 4 5 6 -2");
        TournamentModel model = FreshModel();
        RecordingCompleter completer;
        QVERIFY(ReadTournament(model, dir.filePath(QStringLiteral("big.inf")), completer));
        QVERIFY(ReadTournament(model, dir.filePath(QStringLiteral("small.inf")), completer));
        QCOMPARE(model.Movement.size(), size_t(4));
        QCOMPARE(model.Movement[1].size(), size_t(3));
        QCOMPARE(model.ParticipantNumbers.size(), size_t(7));
        QCOMPARE(model.BoardNumbers.size(), size_t(5));
    }

    void descriptionThatCannotBeFollowed_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<QString>("message");
        QTest::newRow("rounds below 0") << ".inf" << Numbers({ 5, -3, 3, 1, 0, 9, 0, 10, 5, 0, 0, 0, 0, 15, 0 })
                                        << "liczba rund -3 jest niemożliwa";
        QTest::newRow("++ participants") << ".inf" << QByteArray("5 5 3 1 0 9 0 ++ 5 0 0 0 0 15 0")
                                         << "liczba uczestników 2147483647 jest zbyt duża";
        QTest::newRow("++ extra tables") << ".inf" << QByteArray("5 5 3 1 0 9 0 10 5 0 0 0 0 15 ++")
                                         << "liczba stołów sektora nietypowego 2147483647 jest zbyt duża";
        QTest::newRow("negative extra tables") << ".inf" << Numbers({ 5, 5, 3, 1, 0, 9, 0, 10, 5, 0, 0, 0, 0, 15, -1 })
                                               << "liczba stołów sektora nietypowego -1 jest niemożliwa";
        QTest::newRow("negative tables") << ".inf" << Numbers({ -5, 5, 3, 1, 0, 9, 0, 10, 5, 0, 0, 0, 0, 15, 0 })
                                         << "liczba stołów -5 jest niemożliwa";
        QTest::newRow("movement too large") << ".inf" << Numbers({ 9999, 9999, 1, 1, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0 })
                                            << "turniej o 9999 stołach, 9999 rundach";
        // Contract records within the limit, but a movement too large to follow.
        QTest::newRow("movement too large, 2,000,000 contract records")
            << ".inf" << Numbers({ 2000, 2000, 1, 1, 0, 0, 0, 0, 1000, 0, 0, 0, 0, 2000, 0 })
            << "turniej o 2000 stołach, 2000 rundach";
        QTest::newRow("extra tables too many, 2,000,000 contract records")
            << ".inf" << Numbers({ 1000, 1, 2, 1, 0, 0, 0, 0, 1000, 0, 0, 0, 0, 2000, 3000 })
            << "i 3000 stołach sektora nietypowego jest zbyt duży";
        QTest::newRow("too many sections")
            << ".inf" << Numbers({ 500, 0, 1, 1000000, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0 }) << "1000000 sektorach";
        QTest::newRow("participant list too short")
            << ".inf" << Numbers({ 5, 5, 3, 1, 0, 9, 0, 5, 5, 0, 0, 0, 0, 15, 0 }) + Range(1, 5) + "-2"
            << "pozycja 6 wykracza poza listę 5 uczestników";
        QTest::newRow("switch round below 0")
            << ".inf" << Numbers({ 5, 5, 3, 1, 0, -1, 0, 10, 5, 0, 0, 0, 0, 15, 0 }) + Range(1, 10) + "-2"
            << "runda zmiany stron -1 jest ujemna";
        QTest::newRow("meeting position beyond the list")
            << ".inf" << Numbers({ 3, 3, 2, 2, 0, 9, 0, 12, 3, 0, 0, 0, 0, 18, 0 }) + Range(1, 12) + "-2 0 7"
            << "pozycja 13 wykracza poza listę 12 uczestników";
        QTest::newRow("sector position beyond the list")
            << ".inf"
            << Numbers({ 2, 2, 2, 1, 0, 9, 0, 6, 2, 0, 0, 0, 0, 4, 1 }) + Range(1, 6) + "1 0 1 0 3 0  1 0 1 0 2 0"
            << "pozycja 3 sektora nietypowego wykracza poza listę 6 uczestników";
        QTest::newRow("individual switch bound above 255")
            << ".ind" << Numbers({ 1, 1, 2, 1, 0, 0, 0, 4, 1, 0, 0, 0, 256, 2, 0 }) << "granica zmiany stron 256";
        QTest::newRow("individual switch bound below 0")
            << ".ind" << Numbers({ 1, 1, 2, 1, 0, 0, 0, 4, 1, 0, 0, -2, 0, 2, 0 }) << "granica zmiany stron -1";
        QTest::newRow("individual seat beyond the list")
            << ".ind" << Numbers({ 1, 1, 2, 1, 1, 0, 0, 4, 1, 0, 0, 0, 0, 2, 0 }) + "1 2 3 4  0 0 0 0  1 2 3 5"
            << "pozycja 5 wykracza poza listę 4 uczestników";
        QTest::newRow("individual sectors need more slots than tables")
            << ".ind"
            << Numbers({ 3, 3, 2, 1, 10302, 0, 0, 12, 1, 0, 0, 0, 0, 6, 3 }) + Range(1, 12) + "1 1 1 1 "
                + QByteArray("1 2 3 4 ").repeated(3 * 3)
            << "3 sektorów nietypowych po 3 rund wymaga 9 miejsc";
        QTest::newRow("individual sector with more tables than board sets")
            << ".ind"
            << Numbers({ 2, 1, 2, 1, 10106, 0, 0, 8, 1, 0, 0, 0, 0, 4, 1 }) + Range(1, 8) + "1 1 1 1 "
                + QByteArray("5 6 7 8 ").repeated(2 * 6)
            << "sektor nietypowy o 6 stołach";
        QTest::newRow("individual list too short")
            << ".ind" << Numbers({ 2, 2, 2, 1, 0, 0, 0, 7, 1, 0, 0, 0, 0, 4, 2 }) + Range(1, 7) + "1 1 1 1"
            << "pozycja 8 wykracza poza listę 7 uczestników";
        // Exactly 10000 tables is the scoring flag of no table at all.
        QTest::newRow("exactly 10000 tables")
            << ".inf" << Numbers({ 10000, 7, 2, 1, 0, 9, 0, 16, 3, 0, 0, 0, 0, 14, 0 })
            << "nagłówek nie podaje ani jednego stołu w sektorze";
        QTest::newRow("individual without rounds") << ".ind" << Numbers({ 1, 0, 2, 1, 0, 0, 0, 4, 1, 0, 0, 0, 0, 2, 1 })
                                                   << "nagłówek nie podaje ani jednej rundy";
        // 700 bytes that are no description, saved under its name.
        QTest::newRow("random bytes") << ".inf" << RandomBytes(700, 26)
                                      << "a to nie jest liczba (liczba 1 z 15 nagłówka)";
        QTest::newRow("random bytes, individual")
            << ".ind" << RandomBytes(700, 5) << "a to nie jest liczba (liczba 1 z 15 nagłówka)";
        // A description cut off in the middle says where it ends.
        QTest::newRow("cut off in the participant list")
            << ".inf" << Numbers({ 5, 5, 3, 1, 0, 9, 0, 10, 5, 0, 0, 0, 0, 15, 0 }) + Range(1, 6)
            << "plik kończy się przed tym, co zapowiada (brak: pozycja 7 z 10 listy uczestników)";
        QTest::newRow("cut off before the EW step")
            << ".inf" << Numbers({ 5, 5, 3, 1, 0, 9, 0, 10, 5, 0, 0, 0, 0, 15, 0 }) + Range(1, 10)
            << "(brak: krok par EW po liście uczestników)";
        QTest::newRow("cut off in the sector's seating")
            << ".inf" << Numbers({ 2, 2, 2, 1, 0, 9, 0, 6, 2, 0, 0, 0, 0, 4, 1 }) + Range(1, 6) + "1 0 1 0 2 0  1 0 1"
            << "(brak: rozstawienie kompletu 2 przy stole 1 sektora nietypowego)";
        QTest::newRow("individual cut off in the seat steps")
            << ".ind" << Numbers({ 1, 1, 2, 1, 0, 0, 0, 4, 1, 0, 0, 0, 0, 2, 1 }) + Range(1, 4) + "0 0"
            << "(brak: krok miejsca S po liście uczestników)";
        QTest::newRow("individual cut off in the sector's seating")
            << ".ind" << Numbers({ 1, 1, 2, 1, 1, 0, 0, 8, 1, 0, 0, 0, 0, 2, 1 }) + Range(1, 8) + "0 0 0 0  5 6"
            << "(brak: rozstawienie kompletu 1 przy stole 1 sektora nietypowego)";
        QTest::newRow("a word in the participant list")
            << ".inf" << Numbers({ 5, 5, 3, 1, 0, 9, 0, 10, 5, 0, 0, 0, 0, 15, 0 }) + "1 2 3 cztery 5 6 7 8 9 10 -2"
            << "w wierszu 1 stoi „cztery”, a to nie jest liczba (pozycja 4 z 10 listy uczestników)";
    }

    void descriptionThatCannotBeFollowed()
    {
        QFETCH(QString, extension);
        QFETCH(QByteArray, description);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("cup") + extension);
        WriteFile(fileName, description);
        TournamentModel model = FreshModel();
        RecordingCompleter completer;
        try {
            (void)ReadTournament(model, fileName, completer);
            QFAIL("no error");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(fileName), qPrintable(error.Message()));
            QVERIFY2(error.Message().contains(message), qPrintable(error.Message()));
        }
        QVERIFY(completer.Calls.isEmpty());
        // A tournament refused as too large leaves no contract file (up to 16 MB of it) behind.
        if (message.contains(QStringLiteral("zbyt du")))
            QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("cup.KNT"))));
    }

    // A negative position of the non-typical sector is no meeting; whoever completes the sector decides.
    void negativeSectorPositionIsHandedOver()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("cup.inf"));
        WriteFile(fileName,
            Numbers({ 2, 2, 2, 1, 0, 9, 0, 6, 2, 0, 0, 0, 0, 4, 1 }) + Range(1, 6) + "1 0 -1 0 2 0  1 0 1 0 2 0");
        TournamentModel model = FreshModel();
        RecordingCompleter completer;
        QVERIFY(ReadTournament(model, fileName, completer));
        QCOMPARE(completer.Calls, QStringList { QStringLiteral("pairs") });
        const MovementEntry& row = completer.MovementSeen[1][size_t(completer.Sector.SlotOffset + 1)];
        QCOMPARE(row.NS, -1);
        QCOMPARE(row.EW, 2);
    }

    void hugeContractFileIsNotMade()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("cup.inf"));
        WriteFile(fileName, Numbers({ 5, 5, 3, 1, 0, 9, 0, 10, 100, 0, 0, 0, 0, 100000, 0 }));
        TournamentModel model = FreshModel();
        RecordingCompleter completer;
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)ReadTournament(model, fileName, completer));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("cup.KNT"))));
    }

    void missingDescriptionNamesTheFile()
    {
        QTemporaryDir dir;
        TournamentModel model = FreshModel();
        RecordingCompleter completer;
        try {
            (void)ReadTournament(model, dir.filePath(QStringLiteral("none.inf")), completer);
            QFAIL("no error");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(dir.filePath(QStringLiteral("none.inf"))), qPrintable(error.Message()));
        }
        QVERIFY(model.PairsEvent);
        QCOMPARE(model.TournamentBase, dir.filePath(QStringLiteral("none")));
    }

    void badBoardNumberingStopsTheReading()
    {
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("cup.inf")), kExample);
        WriteFile(dir.filePath(QStringLiteral("cup.INR")), "1\r\nx\r\n");
        TournamentModel model = FreshModel();
        RecordingCompleter completer;
        QVERIFY_THROWS_EXCEPTION(
            KibicError, (void)ReadTournament(model, dir.filePath(QStringLiteral("cup.inf")), completer));
    }

    void pairsSectorIsHandedOver_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<bool>("answer");
        QTest::newRow("no shift, completed") << 0 << true;
        QTest::newRow("shift 1, abandoned") << 1 << false;
    }

    void pairsSectorIsHandedOver()
    {
        QFETCH(int, shift);
        QFETCH(bool, answer);
        // 3 tables, 3 rounds, one section and a sector of 2 tables; pairs 101..106 in the section and
        // 107..110 in the sector. Board set 2 has only one meeting in the sector.
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("cup.inf")),
            Numbers({ 3, 3, 2, 1, 0, 9, shift, 10, 3, 0, 0, 0, 0, 6, 2 }) + Range(101, 110)
                + "\r\n2 0  1 0 2 0  3 0 4 0\r\n1 0  1 0 3 0  2 0 4 0\r\n2 0  1 0 4 0  2 0 3 0\r\n");
        TournamentModel model = FreshModel();
        RecordingCompleter completer(answer);
        QCOMPARE(ReadTournament(model, dir.filePath(QStringLiteral("cup.inf")), completer), answer);
        QCOMPARE(completer.Calls, QStringList { QStringLiteral("pairs") });
        QCOMPARE(completer.Sector.RowCount, 2);
        QCOMPARE(completer.Sector.SlotOffset, 3);
        QCOMPARE(completer.Sector.PositionOffset, 6);
        QCOMPARE(completer.Sector.Shift, shift);
        const auto& seen = completer.MovementSeen;
        QCOMPARE(seen.size(), size_t(4));
        QCOMPARE(seen[1].size(), size_t(6));
        QCOMPARE(seen[1][4], (MovementEntry { 1, 2, 0, 0, 0, 0 }));
        QCOMPARE(seen[1][5], (MovementEntry { 3, 4, 0, 0, 0, 0 }));
        QCOMPARE(seen[2][4], (MovementEntry { 1, 3, 0, 0, 0, 0 }));
        QCOMPARE(seen[2][5], (MovementEntry { 0, 0, 0, 0, 0, 0 }));
        QCOMPARE(seen[3][4], (MovementEntry { 1, 4, 0, 0, 0, 0 }));
        QCOMPARE(seen[3][5], (MovementEntry { 2, 3, 0, 0, 0, 0 }));
        // The ordinary section is already in pair numbers, with the EW step -2.
        if (shift == 0) {
            QCOMPARE(seen[1][1], (MovementEntry { 101, 104, 0, 0, 1, 1 }));
            QCOMPARE(seen[1][2], (MovementEntry { 103, 105, 0, 0, 2, 3 }));
        }
    }

    void individualSectorIsHandedOver()
    {
        // One table, one round; the sector's single table seats list indices 5..8.
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("cup.ind")),
            Numbers({ 1, 1, 2, 1, 1, 0, 3, 8, 1, 0, 0, 0, 0, 2, 1 }) + Range(11, 18) + "0 0 0 0  5 6 7 8");
        TournamentModel model = FreshModel();
        RecordingCompleter completer;
        QVERIFY(ReadTournament(model, dir.filePath(QStringLiteral("cup.ind")), completer));
        QCOMPARE(completer.Calls, QStringList { QStringLiteral("individual") });
        QCOMPARE(completer.Sector.RowCount, 1);
        QCOMPARE(completer.Sector.SlotOffset, 1);
        QCOMPARE(completer.Sector.PositionOffset, 4);
        QCOMPARE(completer.Sector.Shift, 3);
        QCOMPARE(completer.MovementSeen[1][1], (MovementEntry { 11, 12, 13, 14, 1, 1 }));
        QCOMPARE(completer.MovementSeen[1][2], (MovementEntry { 15, 16, 17, 18, 0, 0 }));
    }
};

QTEST_GUILESS_MAIN(TestTournamentReader)
#include "TestTournamentReader.moc"
