// The player database found through the registry: its name, its row count and what the settings
// window is told when identifiers cannot be looked up in it.
#include "PlayersFixture.h"

#include "common/KibicError.h"
#include "platform/Registry.h"
#include "players/PlayerDatabase.h"
#include "scoringdb/Database.h"

#include <QTest>

using namespace kibic;
using namespace kibic::test;

namespace {

const QString kMissing = QStringLiteral("Brak bazy .BAN/.BAI lub\nSortel nie jest zainstalowana");

} // namespace

class TestPlayerDatabase : public QObject
{
    Q_OBJECT

private slots:
    // What is registered decides the answer; a database that cannot be read is no player database.
    void playersMissing_data()
    {
        QTest::addColumn<QString>("registered"); // "-": no registry file; a name: that file in the folder
        QTest::addColumn<int>("players"); // -1: the file is not made; -2: a database without players
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing registered") << QStringLiteral("-") << -1 << kMissing;
        QTest::newRow("registered but gone") << QStringLiteral("gone.db") << -1 << kMissing;
        QTest::newRow("no table players") << QStringLiteral("gracze.db") << -2 << kMissing;
        QTest::newRow("no players") << QStringLiteral("gracze.db") << 0 << kMissing;
        QTest::newRow("one player") << QStringLiteral("gracze.db") << 1 << QString();
        QTest::newRow("three players") << QStringLiteral("gracze.db") << 3 << QString();
    }

    void playersMissing()
    {
        QFETCH(QString, registered);
        QFETCH(int, players);
        QFETCH(QString, expected);
        PlayersFixture fixture;
        if (players == -2) {
            (void)fixture.CreatePlayerDatabase({}, false);
        } else if (players >= 0) {
            QList<QStringList> rows;
            for (int i = 1; i <= players; ++i)
                rows.append({ QStringLiteral("0100%1").arg(i), QStringLiteral("Jan"), QStringLiteral("Nowak"),
                    QString(), QString(), QString(), QString() });
            (void)fixture.CreatePlayerDatabase(rows);
        } else if (registered != QStringLiteral("-")) {
            fixture.RegisterPlayerDatabase(fixture.Path(registered));
        }
        QCOMPARE(PlayersMissingText(), expected);
        if (players >= 0)
            QCOMPARE(CountPlayers(PlayerDatabaseName()), qint64(players));
    }

    // The key is opened with creation allowed: a missing key is made empty and the name is empty.
    void missingKeyIsMadeEmpty()
    {
        PlayersFixture fixture;
        QCOMPARE(PlayerDatabaseName(), QString());
        const std::optional<RegistryKey> key = RegistryKey::Open(RegistryHive::CurrentUser, PlayerDatabaseKey.toString(), false);
        QVERIFY(key);
        QCOMPARE(key->ReadString(PlayerDatabaseValue.toString()), QString());
    }

    void countOfAnUnreadableDatabaseRaises()
    {
        PlayersFixture fixture;
        const QString path = fixture.CreatePlayerDatabase({}, false);
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)CountPlayers(path));
    }

    // An Access file on a computer without the Access driver: both texts say why.
    void accessFileWithoutTheDriverSaysWhy()
    {
        if (AccessDriverAvailable())
            QSKIP("this computer has an Access driver");
        PlayersFixture fixture;
        const QString file = fixture.Path(QStringLiteral("pelikar.mdb"));
        WriteAll(file, QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2028, '\0'));
        fixture.RegisterPlayerDatabase(file);
        const QString reason = AccessFileUnreadableText(file);
        QVERIFY(!reason.isEmpty());
        QCOMPARE(PlayersMissingText(), kMissing + QLatin1Char('\n') + reason);
        QCOMPARE(PlayerDatabaseUnreadableText(file), QStringLiteral("Sortel musi być zainstalowana!\n") + reason);
        QCOMPARE(PlayerDatabaseUnreadableText(fixture.Path(QStringLiteral("gracze.db"))),
            QStringLiteral("Sortel musi być zainstalowana!"));
    }
};

QTEST_GUILESS_MAIN(TestPlayerDatabase)
#include "TestPlayerDatabase.moc"
