// The Access path that runs only on Windows, checked where it is pure: the driver chosen from a driver
// list, the creation attributes, the connection string, the statements as Jet receives them, and the
// waits for a lock of the terminal server.
#include "scoringdb/Database.h"
#include "scoringdb/uCreateBWS.h"

#include <QSet>
#include <QTest>

using namespace kibic;

class TestAccessDriver : public QObject
{
    Q_OBJECT

private slots:
    // The Access driver refuses a 64-bit parameter; the IDs a pass binds are read as 64-bit numbers.
    void parametersReachTheDriverAsItKnowsThem_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("bound");
        QTest::newRow("an ID") << QVariant(qint64(18000)) << QVariant(18000);
        QTest::newRow("the lowest Long") << QVariant(qint64(-2147483647 - 1)) << QVariant(-2147483647 - 1);
        QTest::newRow("the highest Long") << QVariant(quint64(2147483647)) << QVariant(2147483647);
        QTest::newRow("beyond a Long") << QVariant(qint64(2147483648LL)) << QVariant(qint64(2147483648LL));
        QTest::newRow("a 32-bit number") << QVariant(7) << QVariant(7);
        QTest::newRow("a text") << QVariant(QStringLiteral("4 S")) << QVariant(QStringLiteral("4 S"));
        QTest::newRow("a null number") << QVariant(QMetaType::fromType<qint64>()) << QVariant(QMetaType::fromType<qint64>());
    }

    void parametersReachTheDriverAsItKnowsThem()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, bound);
        const QVariant result = OdbcParameter(value);
        QCOMPARE(result.typeId(), bound.typeId());
        QCOMPARE(result.isNull(), bound.isNull());
        QCOMPARE(result, bound);
    }

    void driverChoice_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("chosen");
        const QString jet = QStringLiteral("Microsoft Access Driver (*.mdb)");
        const QString ace = QStringLiteral("Microsoft Access Driver (*.mdb, *.accdb)");
        QTest::newRow("every Windows") << QStringList{QStringLiteral("SQL Server"), jet, QStringLiteral("Microsoft Excel Driver (*.xls)")} << jet;
        QTest::newRow("both, ACE first") << QStringList{ace, jet} << jet;
        QTest::newRow("ACE only") << QStringList{QStringLiteral("SQL Server"), ace} << ace;
        QTest::newRow("other letter case") << QStringList{QStringLiteral("microsoft access driver (*.MDB)")} << jet;
        QTest::newRow("none") << QStringList{QStringLiteral("SQLite3"), QStringLiteral("SQL Server")} << QString();
        QTest::newRow("empty list") << QStringList{} << QString();
        QTest::newRow("a lookalike") << QStringList{QStringLiteral("Microsoft Access Driver")} << QString();
    }

    void driverChoice()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, chosen);
        QCOMPARE(ChooseAccessDriver(installed), chosen);
    }

    void creationAttributesMakeAJet4File()
    {
        const QString attributes = AccessCreationAttributes(QStringLiteral("C:\\Turnieje\\Puchar Kibica\\cup.bws"));
        QCOMPARE(attributes,
            QStringLiteral("CREATE_DBV4=\"C:\\Turnieje\\Puchar Kibica\\cup.bws\" General") + QChar(0) + QChar(0));
        QCOMPARE(attributes.size(), 57);
    }

    void connectionStringSwitchesOnJet4Sql()
    {
        QCOMPARE(AccessConnectionString(QStringLiteral("Microsoft Access Driver (*.mdb)"), QStringLiteral("C:\\T\\cup.bws")),
            QStringLiteral("DRIVER={Microsoft Access Driver (*.mdb)};DBQ=C:\\T\\cup.bws;ExtendedAnsiSQL=1"));
    }

    // Jet receives the eleven statements exactly as written; SQLite only its auto-number in its own words.
    void statementsReachJetUnchanged()
    {
        for (const bool bm2 : {false, true}) {
            for (const QString& statement : TableStatements(true, bm2)) {
                QCOMPARE(TranslateStatement(statement, SqlDialect::Access), statement);
                const QString sqlite = TranslateStatement(statement, SqlDialect::Sqlite);
                QCOMPARE(sqlite.contains(QStringLiteral("COUNTER")), false);
                QCOMPARE(sqlite.contains(QStringLiteral("[Counter] INTEGER")), statement.contains(QStringLiteral("[Counter] INTEGER")));
            }
        }
    }

    void rowsAreIdentifiedByTheirKeys_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<bool>("counter");
        QTest::newRow("Tables") << QStringLiteral("Tables") << QStringList{QStringLiteral("Section"), QStringLiteral("Table")} << false;
        QTest::newRow("PlayerNumbers") << QStringLiteral("PlayerNumbers")
                                       << QStringList{QStringLiteral("Section"), QStringLiteral("Table"), QStringLiteral("Direction")} << false;
        QTest::newRow("RoundData") << QStringLiteral("RoundData")
                                   << QStringList{QStringLiteral("Section"), QStringLiteral("Table"), QStringLiteral("Round")} << false;
        QTest::newRow("[Section]") << QStringLiteral("Section") << QStringList{QStringLiteral("ID")} << false;
        QTest::newRow("Settings") << QStringLiteral("settings") << QStringList{QStringLiteral("Section")} << false;
        QTest::newRow("Clients") << QStringLiteral("Clients") << QStringList{QStringLiteral("ID")} << true;
        QTest::newRow("ReceivedData") << QStringLiteral("ReceivedData") << QStringList{QStringLiteral("ID")} << true;
        QTest::newRow("IntermediateData") << QStringLiteral("IntermediateData") << QStringList{QStringLiteral("ID")} << true;
        QTest::newRow("PlayData") << QStringLiteral("PlayData") << QStringList{QStringLiteral("ID")} << true;
        QTest::newRow("HandRecord") << QStringLiteral("HandRecord") << QStringList{QStringLiteral("Section"), QStringLiteral("Board")} << false;
        QTest::newRow("players") << QStringLiteral("players") << QStringList{} << false;
    }

    void rowsAreIdentifiedByTheirKeys()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, keys);
        QFETCH(bool, counter);
        QCOMPARE(RowKeyColumns(table), keys);
        QCOMPARE(HasCounterColumn(table), counter);
    }

    void lockFailures_data()
    {
        QTest::addColumn<QString>("nativeCode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("lock");
        QTest::newRow("SQLite busy") << QStringLiteral("5") << QStringLiteral("database is locked Unable to fetch row") << true;
        QTest::newRow("SQLite ODBC") << QString() << QStringLiteral("database is locked (5)") << true;
        QTest::newRow("SQLite table") << QStringLiteral("6") << QStringLiteral("database table is locked") << true;
        QTest::newRow("Jet 3218") << QStringLiteral("-3218")
                                  << QStringLiteral("[Microsoft][ODBC Microsoft Access Driver] Could not update; currently locked.") << true;
        QTest::newRow("Jet 3260 by number") << QStringLiteral("3260") << QStringLiteral("[Microsoft] Could not update.") << true;
        QTest::newRow("Jet text only") << QStringLiteral("-1102")
                                       << QStringLiteral("Could not update; currently locked by user 'Admin' on machine 'SALA'.") << true;
        QTest::newRow("Jet table lock") << QString() << QStringLiteral("Table 'ReceivedData' could not be locked because it is in use") << true;
        QTest::newRow("missing column") << QStringLiteral("1") << QStringLiteral("no such column: Processed9") << false;
        QTest::newRow("Jet syntax") << QStringLiteral("-3503") << QStringLiteral("Syntax error in CREATE TABLE statement.") << false;
        QTest::newRow("a number that only contains 3218") << QStringLiteral("32180") << QStringLiteral("disk full") << false;
    }

    void lockFailures()
    {
        QFETCH(QString, nativeCode);
        QFETCH(QString, text);
        QFETCH(bool, lock);
        QCOMPARE(IsLockFailure(nativeCode, text), lock);
    }

    // The pauses are a few milliseconds each, not all alike, and end once the second is spent.
    void retryPausesAreShortJitteredAndBounded()
    {
        LockRetry retry(kBusyTimeoutMs, 12345);
        QSet<int> seen;
        qint64 elapsed = 0;
        int tries = 0;
        for (;;) {
            const int pause = retry.NextPauseMs(elapsed);
            if (pause < 0)
                break;
            QVERIFY(pause >= LockRetry::kShortestPauseMs && pause <= LockRetry::kLongestPauseMs);
            seen.insert(pause);
            elapsed += pause;
            ++tries;
        }
        QVERIFY(elapsed >= kBusyTimeoutMs);
        QVERIFY(elapsed <= kBusyTimeoutMs + LockRetry::kLongestPauseMs);
        QVERIFY(tries > 200);
        QVERIFY(seen.size() >= 3);
        QCOMPARE(LockRetry(kBusyTimeoutMs, 1).NextPauseMs(kBusyTimeoutMs), -1);
        QCOMPARE(LockRetry(kBusyTimeoutMs, 1).NextPauseMs(kBusyTimeoutMs - 1), 1);
        QVERIFY(kBusyTimeoutMs <= 1500);
    }

    // The driver manager answers on every platform; on this computer's Linux the ODBC tests use its
    // SQLite driver, and no Access driver is there to be chosen.
    void installedDriversAreListed()
    {
        const QStringList drivers = InstalledOdbcDrivers();
#ifndef Q_OS_WIN
        QVERIFY2(drivers.contains(QStringLiteral("SQLite3")), qPrintable(drivers.join(QLatin1Char(','))));
        QCOMPARE(AccessDriver(), QString());
        QVERIFY(!AccessDriverAvailable());
        QVERIFY(!CreatesAccessFiles());
#else
        QCOMPARE(AccessDriver(), ChooseAccessDriver(drivers));
#endif
    }
};

QTEST_GUILESS_MAIN(TestAccessDriver)
#include "TestAccessDriver.moc"
