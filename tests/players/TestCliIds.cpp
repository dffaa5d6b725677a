// kibic-cli ids, run as a script would run it beside a scoring database.
#include "support/ProgramRun.h"
#include "PlayersFixture.h"

#include <QDir>

using namespace kibic::test;

namespace {

ProgramRun Cli(const QStringList& arguments)
{
    return RunCli(QStringList { QStringLiteral("ids") } + arguments);
}

void SeatOnePair(const PlayersFixture& fixture, bool pairsEvent)
{
    fixture.WriteDescription(pairsEvent, { 1, 2 });
    fixture.CreateScoringDatabase(pairsEvent);
    fixture.AddRound(1, 1, 1, 1, 2);
    fixture.AddSeat(1, 1, QStringLiteral("N"), QStringLiteral("1001"));
    fixture.AddSeat(1, 1, QStringLiteral("E"), QStringLiteral("7"));
}

// ZyRT's configuration, named by the machine-wide registry key, names the names file.
void RegisterNamesFile(const PlayersFixture& fixture, const QString& namesFile)
{
    const QString configuration = fixture.Path(QStringLiteral("zyrt.cfg"));
    WriteAll(configuration, "[OPCJE]\r\nx=1\r\n  [Nazwiska] \r\n" + namesFile.toUtf8() + "\r\n");
    const QString ini = fixture.Path(QStringLiteral("registry/HKLM/Software/Trevik/Gawotnik.ini"));
    QVERIFY(QDir().mkpath(QFileInfo(ini).absolutePath()));
    WriteAll(ini, "[General]\nZyRT=" + configuration.toUtf8() + '\n');
}

const QList<QStringList> kOnePlayer = { { QStringLiteral("01001"), QStringLiteral("Jan"), QStringLiteral("Kowalski"),
    QStringLiteral("12"), QStringLiteral("WAR"), QString(), QString() } };

} // namespace

class TestCliIds : public QObject
{
    Q_OBJECT

private slots:
    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no flow") << QStringList { QStringLiteral("a.bws") };
        QTest::newRow("both flows") << QStringList { QStringLiteral("a.bws"), QStringLiteral("--cezar"),
            QStringLiteral("--names-file") };
        QTest::newRow("no file") << QStringList { QStringLiteral("--cezar") };
        QTest::newRow("two files") << QStringList { QStringLiteral("a.bws"), QStringLiteral("b.bws"),
            QStringLiteral("--cezar") };
        QTest::newRow("unknown option") << QStringList { QStringLiteral("a.bws"), QStringLiteral("--cezar"),
            QStringLiteral("--all") };
    }

    void usage()
    {
        QFETCH(QStringList, arguments);
        QCOMPARE(Cli(arguments).ExitCode, 2);
    }

    void missingDatabaseFails()
    {
        PlayersFixture fixture;
        const ProgramRun run = Cli({ fixture.Bws(), QStringLiteral("--cezar") });
        QCOMPARE(run.ExitCode, 1);
        QCOMPARE(run.ErrLines().size(), 1);
        QVERIFY(run.ErrLines()[0].contains(fixture.Bws()));
    }

    void cezarFlowThenOverwriteOnlyWithYes()
    {
        PlayersFixture fixture;
        SeatOnePair(fixture, true);
        fixture.CreatePlayerDatabase(kOnePlayer);
        const QString lu2 = fixture.Base + QStringLiteral(".LU2");
        const QString luc = fixture.Base + QStringLiteral(".LUC");

        ProgramRun run = Cli({ fixture.Bws(), QStringLiteral("--cezar") });
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.ErrLines(), QStringList { QStringLiteral("Błędne ID w parze 2 !") });
        QVERIFY(run.Out.contains(QDir::toNativeSeparators(lu2)) && run.Out.contains(QDir::toNativeSeparators(luc)));
        QCOMPARE(ReadAll(lu2).count("\r\n"), 11 + 4 * 8);
        QCOMPARE(ReadAll(luc).left(26), QByteArray("J Kowalski") + QByteArray(7, ' ') + "  12WAR  ");

        WriteAll(lu2, "old");
        WriteAll(luc, "old");
        run = Cli({ fixture.Bws(), QStringLiteral("--cezar") });
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.ErrLines(),
            (QStringList { QStringLiteral("Błędne ID w parze 2 !"), QDir::toNativeSeparators(lu2) + QStringLiteral(" istnieje. Nadpisać?"),
                QDir::toNativeSeparators(luc) + QStringLiteral(" istnieje. Nadpisać?") }));
        QVERIFY2(run.Out.contains(QStringLiteral("bez zmian")), qPrintable(run.Out));
        QCOMPARE(ReadAll(lu2), QByteArray("old"));
        QCOMPARE(ReadAll(luc), QByteArray("old"));

        run = Cli({ QStringLiteral("--yes"), fixture.Bws(), QStringLiteral("--cezar") });
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(ReadAll(lu2).count("\r\n"), 11 + 4 * 8);
        QCOMPARE(ReadAll(luc).size(), 4 * 26);
    }

    void individualEventFromSettings()
    {
        PlayersFixture fixture;
        SeatOnePair(fixture, false);
        fixture.CreatePlayerDatabase(kOnePlayer);
        const ProgramRun run = Cli({ fixture.Bws(), QStringLiteral("--cezar") });
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.ErrLines(), QStringList { QStringLiteral("Błędne ID zawodnika 2 !") });
        QCOMPARE(ReadAll(fixture.Base + QStringLiteral(".LZA")).size(), 2 * 26);
        QVERIFY(QFile::exists(fixture.Base + QStringLiteral(".LU1")));
    }

    void namesFileFromZyrtConfiguration()
    {
        PlayersFixture fixture;
        SeatOnePair(fixture, true);
        const QString names = fixture.Path(QStringLiteral("NAZWISKA.DAT"));
        QVERIFY(QFile::copy(kDataDir + QStringLiteral("names31.dat"), names));
        RegisterNamesFile(fixture, names);
        const ProgramRun run = Cli({ fixture.Bws(), QStringLiteral("--names-file") });
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.ErrLines(), QStringList());
        QVERIFY(!QFile::exists(fixture.Base + QStringLiteral(".LU2")));
        const QByteArray luc = ReadAll(fixture.Base + QStringLiteral(".LUC"));
        QCOMPARE(luc.size(), 4 * 26);
        QCOMPARE(luc.left(26), QByteArray("J Nowak") + QByteArray(10, ' ') + "  12WA   ");
        QCOMPARE(luc.mid(52, 26),
            QByteArray("M \x9C\xA2"
                       "d\xA8")
                + QByteArray(11, ' ') + "   3LDZ  ");
    }

    void noNamesFileAndNoPlayerDatabaseFails()
    {
        PlayersFixture fixture;
        SeatOnePair(fixture, true);
        const ProgramRun run = Cli({ fixture.Bws(), QStringLiteral("--names-file") });
        QCOMPARE(run.ExitCode, 1);
        QCOMPARE(run.ErrLines(),
            (QStringList {
                QStringLiteral("SORTEL nie jest zainstalowana!"), QStringLiteral("Brak bazy z nazwiskami!") }));
        QVERIFY(!QFile::exists(fixture.Base + QStringLiteral(".LUC")));
    }
};

QTEST_GUILESS_MAIN(TestCliIds)
#include "TestCliIds.moc"
