// "Czytaj identyfikatory" as a whole: the choice of flow, the player database and its messages, the names
// file, and what a failure leaves behind.
#include "PlayersFixture.h"

#include "common/KibicError.h"
#include "players/ReadIdentifiers.h"
#include "scoringdb/Database.h"

using namespace kibic;
using namespace kibic::test;

namespace {

// The three pairs 5, 1, 2: pair 1 NS and pair 2 EW at table 1, pair 5 NS at table 2 (its EW seat empty)
// in round 1; round 2 seats them otherwise.
void SeatThreePairs(const PlayersFixture& fixture)
{
    QVERIFY(QFile::copy(kDataDir + QStringLiteral("three-pairs.inf"), fixture.Base + QStringLiteral(".inf")));
    fixture.CreateScoringDatabase();
    fixture.AddRound(1, 1, 2, 2, 5);
    fixture.AddRound(1, 1, 1, 1, 2);
    fixture.AddRound(1, 2, 1, 5, 0);
    fixture.AddRound(1, 2, 2, 1, 0);
    fixture.AddSeat(1, 1, QStringLiteral("N"), QStringLiteral("1001"));
    fixture.AddSeat(1, 1, QStringLiteral("S"), QStringLiteral(" 1002 "));
    fixture.AddSeat(1, 1, QStringLiteral("E"), QStringLiteral("1003"));
    fixture.AddSeat(1, 1, QStringLiteral("W"), QStringLiteral("999"));
    fixture.AddSeat(1, 2, QStringLiteral("N"), QStringLiteral("12345"));
    fixture.AddSeat(1, 2, QStringLiteral("S"), QString());
    fixture.AddSeat(1, 2, QStringLiteral("E"), QStringLiteral("4321"));
}

const QList<QStringList> kPlayers = {
    { QStringLiteral("01003"), QStringLiteral("Anna"), QStringLiteral("Konstantynopolitańska"), QStringLiteral("123"),
        QStringLiteral("KRAKOW"), QStringLiteral("b"), QStringLiteral("AZS") },
    { QStringLiteral("01001"), QStringLiteral(" Jan"), QStringLiteral("Kowalski "), QStringLiteral("12"),
        QStringLiteral("WAR"), QString(), QStringLiteral("KS Warszawa") },
    { QStringLiteral("01002"), QStringLiteral("Łukasz"), QStringLiteral("Żółć"), QStringLiteral(" 7"),
        QStringLiteral("Łódź"), QStringLiteral("mistrz"), QStringLiteral("  ") },
    { QStringLiteral("01001"), QStringLiteral("Drugi"), QStringLiteral("Wiersz"), QStringLiteral("1"),
        QStringLiteral("X"), QString(), QString() },
    // Rows without a real identifier never give a player a name.
    { QStringLiteral(""), QStringLiteral("Pusty"), QStringLiteral("Wiersz"), QString(), QString(), QString(),
        QString() },
    { QStringLiteral("?"), QStringLiteral("Nieznany"), QStringLiteral("Wiersz"), QString(), QString(), QString(),
        QString() },
};

} // namespace

class TestReadIdentifiers : public QObject
{
    Q_OBJECT

private slots:
    void cezarFlowWritesBothListsFromThePlayerDatabase()
    {
        PlayersFixture fixture;
        SeatThreePairs(fixture);
        fixture.CreatePlayerDatabase(kPlayers);
        TournamentModel model = fixture.Model(true, 3, fixture.Path(QStringLiteral("names.dat")));
        RecordingOperator op;
        const IdentifierListsOutcome outcome = ReadIdentifiers(model, true, op);

        // Pair 2's West keyed in 999 (no Cezar identifier), pair 5's North an unknown one.
        QCOMPARE(op.Texts(),
            (QStringList { QStringLiteral("Błędne ID w parze 2 !"), QStringLiteral("Błędne ID w parze 5 !") }));
        for (const auto& dialog : op.Dialogs) {
            QCOMPARE(dialog.Kind, DialogKind::Info);
            QCOMPARE(dialog.Buttons, DialogButtons(DialogButton::Ok));
        }
        QCOMPARE(outcome.Lists.size(), std::size_t(2));
        QCOMPARE(outcome.Lists[0].FileName, fixture.Base + QStringLiteral(".LU2"));
        QCOMPARE(outcome.Lists[1].FileName, fixture.Base + QStringLiteral(".LUC"));
        QCOMPARE(ReadAll(fixture.Base + QStringLiteral(".LU2")), ReadAll(kDataDir + QStringLiteral("three-pairs.LU2")));
        // Łukasz Żółć reaches the name list in ZyRT's letter codes.
        QCOMPARE(ReadAll(fixture.Base + QStringLiteral(".LUC")), ReadAll(kDataDir + QStringLiteral("three-pairs.LUC")));
        QVERIFY(!model.MemberNumbers);
    }

    void individualMessagesNamePlayers()
    {
        PlayersFixture fixture;
        fixture.WriteDescription(false, { 4, 7, 1, 2 });
        fixture.CreateScoringDatabase(false);
        fixture.AddRound(1, 1, 1, 1, 2, 4, 7);
        fixture.AddSeat(1, 1, QStringLiteral("W"), QStringLiteral("abc"));
        fixture.AddSeat(1, 1, QStringLiteral("S"), QStringLiteral("0999"));
        fixture.AddSeat(1, 1, QStringLiteral("N"), QStringLiteral("1000"));
        fixture.CreatePlayerDatabase({ { QStringLiteral("01000"), QStringLiteral("Ola"), QStringLiteral("Lis"),
            QString(), QString(), QString(), QString() } });
        TournamentModel model = fixture.Model(false, 4);
        RecordingOperator op;
        (void)ReadIdentifiers(model, false, op);
        QCOMPARE(op.Texts(),
            (QStringList { QStringLiteral("Błędne ID zawodnika 4 !"), QStringLiteral("Błędne ID zawodnika 7 !") }));
        const QByteArray lu1 = ReadAll(fixture.Base + QStringLiteral(".LU1"));
        const QByteArray expected = QByteArray("?\r\n").repeated(11)
            + "1\r\nOla\r\nLis\r\n?\r\n?\r\n?\r\n?\r\n01000\r\n"
              "2\r\n?\r\n?\r\n?\r\n?\r\n?\r\n?\r\n?\r\n"
              "4\r\n?\r\n?\r\n?\r\n?\r\n?\r\n?\r\n?\r\n";
        QVERIFY(lu1.startsWith(expected));
        QCOMPARE(ReadAll(fixture.Base + QStringLiteral(".LZA")).size(), 4 * 26);
    }

    // Without a usable player database the names-file flow runs, after the message, before anything else.
    void playerDatabaseUnavailable_data()
    {
        QTest::addColumn<int>("setUp"); // 0 nothing registered, 1 missing file, 2 no table players
        QTest::addColumn<QString>("message");
        QTest::addColumn<DialogKind>("kind");
        QTest::newRow("not registered") << 0 << QStringLiteral("SORTEL nie jest zainstalowana!") << DialogKind::Error;
        QTest::newRow("registered file missing")
            << 1 << QStringLiteral("Sortel musi być zainstalowana!") << DialogKind::Info;
        QTest::newRow("no table players") << 2 << QStringLiteral("Sortel musi być zainstalowana!") << DialogKind::Info;
    }

    void playerDatabaseUnavailable()
    {
        QFETCH(int, setUp);
        QFETCH(QString, message);
        QFETCH(DialogKind, kind);
        PlayersFixture fixture;
        if (setUp == 1)
            fixture.RegisterPlayerDatabase(fixture.Path(QStringLiteral("gone.db")));
        if (setUp == 2)
            fixture.CreatePlayerDatabase({}, false);
        SeatThreePairs(fixture);
        TournamentModel model = fixture.Model(true, 3, kDataDir + QStringLiteral("names31.dat"));
        RecordingOperator op;
        const IdentifierListsOutcome outcome = ReadIdentifiers(model, true, op);
        QCOMPARE(op.Texts(), QStringList { message });
        QCOMPARE(op.Dialogs[0].Kind, kind);
        QCOMPARE(op.Dialogs[0].Buttons, DialogButtons(DialogButton::Ok));
        // The names-file flow: only the name list, with the names file's identifiers (01001 is Nowak).
        QCOMPARE(outcome.Lists.size(), std::size_t(1));
        QVERIFY(!QFile::exists(fixture.Base + QStringLiteral(".LU2")));
        const QByteArray luc = ReadAll(fixture.Base + QStringLiteral(".LUC"));
        QCOMPARE(luc.size(), 156);
        QCOMPARE(luc.left(26), QByteArray("J Nowak") + QByteArray(10, ' ') + "  12WA   ");
        QVERIFY(!model.MemberNumbers);
    }

    // A registered Access file on a computer without the Access driver: the information says why.
    void accessPlayerDatabaseWithoutTheDriverSaysWhy()
    {
        if (AccessDriverAvailable())
            QSKIP("this computer has an Access driver");
        PlayersFixture fixture;
        const QString file = fixture.Path(QStringLiteral("pelikar.mdb"));
        QFile jet(file);
        QVERIFY(jet.open(QIODevice::WriteOnly));
        jet.write(QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2028, '\0'));
        jet.close();
        fixture.RegisterPlayerDatabase(file);
        SeatThreePairs(fixture);
        TournamentModel model = fixture.Model(true, 3, kDataDir + QStringLiteral("names31.dat"));
        RecordingOperator op;
        (void)ReadIdentifiers(model, true, op);
        QCOMPARE(op.Texts().size(), 1);
        const QString text = op.Texts().front();
        QVERIFY2(text.startsWith(QStringLiteral("Sortel musi być zainstalowana!\nPlik ") + file), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("nie ma sterownika ODBC \"Microsoft Access Driver (*.mdb)\"")),
            qPrintable(text));
        QCOMPARE(op.Dialogs[0].Kind, DialogKind::Info);
    }

    void playerDatabaseChecksComeFirst()
    {
        PlayersFixture fixture; // no description, no scoring database
        TournamentModel model = fixture.Model(true, 3, kDataDir + QStringLiteral("names31.dat"));
        RecordingOperator op;
        QVERIFY_THROWS_EXCEPTION(KibicError, ReadIdentifiers(model, true, op));
        QCOMPARE(op.Texts(), QStringList { QStringLiteral("SORTEL nie jest zainstalowana!") });
        QVERIFY(model.MemberNumbers);
    }

    void namesFileFlowKeepsZyrtCodes()
    {
        PlayersFixture fixture;
        fixture.WriteDescription(true, { 3 });
        fixture.CreateScoringDatabase();
        fixture.AddRound(1, 1, 1, 3, 0);
        fixture.AddSeat(1, 1, QStringLiteral("S"), QStringLiteral("7"));
        fixture.AddSeat(1, 1, QStringLiteral("N"), QStringLiteral("12345"));
        fixture.CreatePlayerDatabase(kPlayers); // not used: "cezarowe" is unchecked
        TournamentModel model = fixture.Model(true, 1, kDataDir + QStringLiteral("names31.dat"));
        RecordingOperator op;
        (void)ReadIdentifiers(model, false, op);
        QVERIFY(op.Dialogs.empty());
        QVERIFY(!QFile::exists(fixture.Base + QStringLiteral(".LU2")));
        QCOMPARE(ReadAll(fixture.Base + QStringLiteral(".LUC")),
            QByteArray("K Konstantynopoli 123OPOLE")
                + "M \x9C\xA2"
                  "d\xA8"
                + QByteArray(11, ' ') + "   3LDZ  ");
    }

    void withoutNamesFileTheCezarFlowRunsWhateverTheBox()
    {
        PlayersFixture fixture;
        SeatThreePairs(fixture);
        fixture.CreatePlayerDatabase(kPlayers);
        TournamentModel model = fixture.Model(true, 3);
        RecordingOperator op;
        (void)ReadIdentifiers(model, false, op);
        QVERIFY(QFile::exists(fixture.Base + QStringLiteral(".LU2")));
        QVERIFY(!model.MemberNumbers);
    }

    void failureWritesNothingAndKeepsTheButton_data()
    {
        QTest::addColumn<int>(
            "fault"); // 0 no scoring database, 1 no description, 2 names file unreadable, 3 none known,
                      // 4 names file shorter than its first 20 bytes, 5 names file without a whole record
        QTest::newRow("scoring database missing") << 0;
        QTest::newRow("description missing") << 1;
        QTest::newRow("names file missing") << 2;
        QTest::newRow("no names file and no player database") << 3;
        QTest::newRow("names file of 10 bytes") << 4;
        QTest::newRow("names file of 30 bytes") << 5;
    }

    void failureWritesNothingAndKeepsTheButton()
    {
        QFETCH(int, fault);
        PlayersFixture fixture;
        SeatThreePairs(fixture);
        if (fault == 0)
            QVERIFY(QFile::remove(fixture.Bws()));
        if (fault == 1)
            QVERIFY(QFile::remove(fixture.Base + QStringLiteral(".inf")));
        const QString namesFile = fixture.Path(QStringLiteral("names.dat"));
        if (fault == 4 || fault == 5)
            WriteAll(namesFile, QByteArray(fault == 4 ? 10 : 30, '0'));
        // A good name list from an earlier reading must survive, even when the operator lets it be replaced.
        const QByteArray goodList(3 * 2 * 26, 'x');
        WriteAll(fixture.Base + QStringLiteral(".LUC"), goodList);
        TournamentModel model = fixture.Model(true, 3, fault == 3 ? QString() : namesFile);
        RecordingOperator op;
        op.Answers = { ModalResult::Yes, ModalResult::Yes };
        QVERIFY_THROWS_EXCEPTION(KibicError, ReadIdentifiers(model, false, op));
        QVERIFY(model.MemberNumbers);
        QCOMPARE(ReadAll(fixture.Base + QStringLiteral(".LUC")), goodList);
        QVERIFY(!QFile::exists(fixture.Base + QStringLiteral(".LU2")));
    }
};

QTEST_GUILESS_MAIN(TestReadIdentifiers)
#include "TestReadIdentifiers.moc"
