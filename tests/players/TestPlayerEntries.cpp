// The participant list from the description and the identifiers placed from PlayerNumbers and RoundData.
#include "PlayersFixture.h"

#include "common/KibicError.h"
#include "players/PlayerEntries.h"

using namespace kibic;
using namespace kibic::test;

namespace {

QByteArray Ids(const PlayerEntries& entries)
{
    QByteArrayList ids;
    for (std::size_t i = 1; i < entries.size(); ++i)
        ids.append(entries[i].Id);
    return ids.join(',');
}

QList<int> Numbers(const PlayerEntries& entries)
{
    QList<int> numbers;
    for (std::size_t i = 1; i < entries.size(); ++i)
        numbers.append(entries[i].ParticipantNo);
    return numbers;
}

struct Seat
{
    int Table;
    const char* Direction;
    const char* Number;
};

} // namespace

Q_DECLARE_METATYPE(Seat)

class TestPlayerEntries : public QObject
{
    Q_OBJECT

private slots:
    void identifier_data()
    {
        QTest::addColumn<QByteArray>("keyedIn");
        QTest::addColumn<bool>("cezar");
        QTest::addColumn<QByteArray>("identifier");
        QTest::newRow("cezar below 1000") << QByteArray("999") << true << QByteArray();
        QTest::newRow("cezar letters") << QByteArray("abc") << true << QByteArray();
        QTest::newRow("cezar 0999 is 999") << QByteArray("0999") << true << QByteArray();
        QTest::newRow("cezar 1000") << QByteArray("1000") << true << QByteArray("01000");
        QTest::newRow("cezar 1234") << QByteArray("1234") << true << QByteArray("01234");
        QTest::newRow("cezar padded already") << QByteArray("01000") << true << QByteArray("01000");
        QTest::newRow("cezar six digits") << QByteArray("123456") << true << QByteArray("123456");
        QTest::newRow("cezar digit then letter") << QByteArray("12a45") << true << QByteArray();
        QTest::newRow("cezar negative") << QByteArray("-1000") << true << QByteArray();
        QTest::newRow("cezar beyond 32 bits") << QByteArray("99999999999") << true << QByteArray();
        QTest::newRow("names one digit") << QByteArray("7") << false << QByteArray("00007");
        QTest::newRow("names letters") << QByteArray("ab") << false << QByteArray("000ab");
        QTest::newRow("names 0999 kept") << QByteArray("0999") << false << QByteArray("00999");
        QTest::newRow("names six digits") << QByteArray("123456") << false << QByteArray("123456");
    }

    void identifier()
    {
        QFETCH(QByteArray, keyedIn);
        QFETCH(bool, cezar);
        QFETCH(QByteArray, identifier);
        QCOMPARE(MakeIdentifier(keyedIn, cezar ? IdentifierKind::Cezar : IdentifierKind::NamesFile), identifier);
    }

    void participantList_data()
    {
        QTest::addColumn<bool>("pairsEvent");
        QTest::addColumn<QList<int>>("participants");
        QTest::addColumn<QList<int>>("entries");
        QTest::newRow("pairs fill two entries each, sorted")
            << true << QList<int> { 5, 1, 2 } << QList<int> { 1, 1, 2, 2, 5, 5 };
        QTest::newRow("individual one entry each, sorted")
            << false << QList<int> { 7, 3, 12, 1 } << QList<int> { 1, 3, 7, 12 };
        QTest::newRow("no participants") << true << QList<int> {} << QList<int> {};
    }

    void participantList()
    {
        QFETCH(bool, pairsEvent);
        QFETCH(QList<int>, participants);
        QFETCH(QList<int>, entries);
        PlayersFixture fixture;
        fixture.WriteDescription(pairsEvent, participants);
        const PlayerEntries list = ReadParticipantList(fixture.Model(pairsEvent, participants.size()));
        QCOMPARE(Numbers(list), entries);
        for (std::size_t i = 1; i < list.size(); ++i) {
            PlayerEntry unknown;
            unknown.ParticipantNo = list[i].ParticipantNo;
            QCOMPARE(list[i], unknown);
        }
    }

    void participantListOfTheSampleDescription()
    {
        PlayersFixture fixture;
        QVERIFY(QFile::copy(kDataDir + QStringLiteral("three-pairs.inf"), fixture.Base + QStringLiteral(".INF")));
        // The file on disk has its extension in capitals, as ZyRT on Windows may leave it.
        QCOMPARE(Numbers(ReadParticipantList(fixture.Model(true, 3))), (QList<int> { 1, 1, 2, 2, 5, 5 }));
    }

    void participantListFailures()
    {
        PlayersFixture fixture;
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)ReadParticipantList(fixture.Model(true, 3)));
        fixture.WriteDescription(false, { 1, 2 });
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)ReadParticipantList(fixture.Model(false, -1)));
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)ReadParticipantList(fixture.Model(false, 2147483647)));
    }

    // Table 3 of section 1 sits pair 2 NS and pair 5 EW in round 1, other pairs in round 2.
    void pairsPlacement_data()
    {
        QTest::addColumn<QList<Seat>>("seats");
        QTest::addColumn<QByteArray>("ids");
        QTest::newRow("N and S to pair 2, E and W to pair 5") << QList<Seat> { { 3, "N", "1111" }, { 3, "S", "2222" },
            { 3, "E", "3333" }, { 3, "W", "4444" } } << QByteArray("?,?,01111,02222,03333,04444");
        QTest::newRow("directions by first letter")
            << QList<Seat> { { 3, "NS", "1111" }, { 3, "Sx", "2222" }, { 3, "EW", "3333" }, { 3, "Wy", "4444" } }
            << QByteArray("?,?,01111,02222,03333,04444");
        QTest::newRow("unknown, lower-case or empty directions skipped")
            << QList<Seat> { { 3, "X", "1111" }, { 3, "n", "2222" }, { 3, "", "3333" } } << QByteArray("?,?,?,?,?,?");
        QTest::newRow("blank identifier skipped, later row overwrites")
            << QList<Seat> { { 3, "N", "1111" }, { 3, "N", "   " }, { 3, "S", "1234" }, { 3, "S", " 5678 " } }
            << QByteArray("?,?,01111,05678,?,?");
        QTest::newRow("table without round 1 skipped")
            << QList<Seat> { { 4, "N", "1111" } } << QByteArray("?,?,?,?,?,?");
        QTest::newRow("pair below 1 skipped") << QList<Seat> { { 5, "E", "1111" } } << QByteArray("?,?,?,?,?,?");
        QTest::newRow("pair not in the list skipped")
            << QList<Seat> { { 5, "N", "1111" } } << QByteArray("?,?,?,?,?,?");
        QTest::newRow("rejected cezar identifier is empty")
            << QList<Seat> { { 3, "W", "999" } } << QByteArray("?,?,?,?,?,");
    }

    void pairsPlacement()
    {
        QFETCH(QList<Seat>, seats);
        QFETCH(QByteArray, ids);
        PlayersFixture fixture;
        fixture.WriteDescription(true, { 5, 1, 2 });
        fixture.CreateScoringDatabase();
        fixture.AddRound(1, 3, 2, 1, 2);
        fixture.AddRound(1, 3, 1, 2, 5);
        fixture.AddRound(2, 3, 1, 1, 2); // another section's table 3
        fixture.AddRound(1, 4, 2, 1, 5);
        fixture.AddRound(1, 5, 1, 9, 0);
        for (const Seat& seat : seats)
            fixture.AddSeat(1, seat.Table, QString::fromLatin1(seat.Direction), QString::fromLatin1(seat.Number));
        const TournamentModel model = fixture.Model(true, 3);
        PlayerEntries entries = ReadParticipantList(model);
        PlaceIdentifiers(model, IdentifierKind::Cezar, entries);
        QCOMPARE(Ids(entries), ids);
    }

    void individualPlacement_data()
    {
        QTest::addColumn<QList<Seat>>("seats");
        QTest::addColumn<QByteArray>("ids");
        QTest::newRow("N E S W from NSPair EWPair custom_S custom_W") << QList<Seat> { { 1, "N", "1" }, { 1, "E", "2" },
            { 1, "S", "3" }, { 1, "W", "4" } } << QByteArray("00001,00003,00004,?,00002,?,?,?");
        QTest::newRow("directions compared exactly")
            << QList<Seat> { { 1, "NS", "1" }, { 1, "Sx", "3" } } << QByteArray("?,?,?,?,?,?,?,?");
        QTest::newRow("second table") << QList<Seat> { { 2, "W", "77" }, { 2, "S", "abc" } }
                                      << QByteArray("?,?,?,?,?,?,00abc,00077");
    }

    void individualPlacement()
    {
        QFETCH(QList<Seat>, seats);
        QFETCH(QByteArray, ids);
        PlayersFixture fixture;
        fixture.WriteDescription(false, { 1, 2, 3, 4, 5, 6, 7, 8 });
        fixture.CreateScoringDatabase(false);
        fixture.AddRound(1, 1, 1, 1, 5, 2, 3);
        fixture.AddRound(1, 2, 1, 4, 6, 7, 8);
        fixture.AddRound(1, 1, 2, 8, 7, 6, 5);
        for (const Seat& seat : seats)
            fixture.AddSeat(1, seat.Table, QString::fromLatin1(seat.Direction), QString::fromLatin1(seat.Number));
        const TournamentModel model = fixture.Model(false, 8);
        PlayerEntries entries = ReadParticipantList(model);
        PlaceIdentifiers(model, IdentifierKind::NamesFile, entries);
        QCOMPARE(Ids(entries), ids);
    }

    void missingScoringDatabaseRaises()
    {
        PlayersFixture fixture;
        fixture.WriteDescription(true, { 1 });
        const TournamentModel model = fixture.Model(true, 1);
        PlayerEntries entries = ReadParticipantList(model);
        QVERIFY_THROWS_EXCEPTION(KibicError, PlaceIdentifiers(model, IdentifierKind::Cezar, entries));
    }
};

QTEST_GUILESS_MAIN(TestPlayerEntries)
#include "TestPlayerEntries.moc"
