// The Access path that runs only on Windows, checked where it is pure: the driver chosen from a driver
// list, the creation attributes, the connection string, the statements as Jet receives them, and the
// waits for a lock of the terminal server.
#include "scoringdb/Database.h"
#include "scoringdb/DatabaseFailures.h"
#include "scoringdb/uCreateBWS.h"

#include <QSet>
#include <QTest>

using namespace kibic;

class TestAccessDriver : public QObject
{
    Q_OBJECT

private slots:
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

    // The path goes whole, in braces: a folder's ";" would otherwise end it, and a "}" is doubled.
    void connectionStringSwitchesOnJet4Sql_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("dbq");
        QTest::newRow("plain") << QStringLiteral("C:\\T\\cup.bws") << QStringLiteral("{C:\\T\\cup.bws}");
        QTest::newRow("a semicolon") << QStringLiteral("C:\\Turnieje;2026\\cup.bws")
                                     << QStringLiteral("{C:\\Turnieje;2026\\cup.bws}");
        QTest::newRow("a closing brace") << QStringLiteral("C:\\a}b\\cup.bws") << QStringLiteral("{C:\\a}}b\\cup.bws}");
        QTest::newRow("a space and Polish letters") << QStringLiteral("C:\\Puchar Łodzi\\cup.bws")
                                                    << QStringLiteral("{C:\\Puchar Łodzi\\cup.bws}");
    }

    void connectionStringSwitchesOnJet4Sql()
    {
        QFETCH(QString, path);
        QFETCH(QString, dbq);
        QCOMPARE(AccessConnectionString(QStringLiteral("Microsoft Access Driver (*.mdb)"), path),
            QStringLiteral("DRIVER={Microsoft Access Driver (*.mdb)};DBQ=") + dbq + QStringLiteral(";ExtendedAnsiSQL=1"));
    }

#ifndef Q_OS_WIN
    // A path as Qt keeps it reaches the driver with the system's own separators.
    void connectionStringUsesTheSystemsSeparators()
    {
        QCOMPARE(AccessConnectionString(QStringLiteral("D"), QStringLiteral("/t/cup.bws")),
            QStringLiteral("DRIVER={D};DBQ={/t/cup.bws};ExtendedAnsiSQL=1"));
    }
#endif

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

    // Locks and lost connections are told by the driver's codes; the texts are in the language of the
    // Windows installation and are never read.
    void failuresAreToldByTheirCodes_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("state");
        QTest::addColumn<qint64>("native");
        QTest::addColumn<int>("kind");
        const int sqlite = int(DriverFamily::Sqlite);
        const int jet = int(DriverFamily::Jet);
        const int other = int(DatabaseFailureKind::Other);
        const int busy = int(DatabaseFailureKind::Busy);
        const int lost = int(DatabaseFailureKind::ConnectionLost);
        QTest::newRow("SQLite busy") << sqlite << QString() << qint64(5) << busy;
        QTest::newRow("SQLite table locked") << sqlite << QString() << qint64(6) << busy;
        QTest::newRow("SQLite busy, extended") << sqlite << QString() << qint64(517) << busy;
        QTest::newRow("SQLite ODBC busy") << sqlite << QStringLiteral("HY000") << qint64(5) << busy;
        QTest::newRow("SQLite no such column") << sqlite << QStringLiteral("HY000") << qint64(1) << other;
        QTest::newRow("Jet 3218 as ADO gives it") << jet << QStringLiteral("HY000") << qint64(3218) << busy;
        QTest::newRow("Jet 3218 with a sign") << jet << QStringLiteral("HY000") << qint64(-3218) << busy;
        QTest::newRow("Jet 3260") << jet << QStringLiteral("HY000") << qint64(3260) << busy;
        QTest::newRow("Jet placed in a state") << jet << QStringLiteral("HY000") << qint64(3734) << busy;
        QTest::newRow("Jet ISAM write conflict") << jet << QStringLiteral("HY000") << qint64(-1102) << busy;
        QTest::newRow("Jet opened exclusively") << jet << QStringLiteral("HY000") << qint64(-1032) << busy;
        QTest::newRow("Jet read-only") << jet << QStringLiteral("42000") << qint64(-1809) << other;
        QTest::newRow("Jet syntax") << jet << QStringLiteral("42000") << qint64(-3503) << other;
        QTest::newRow("Jet disk or network") << jet << QStringLiteral("HY000") << qint64(-1022) << lost;
        QTest::newRow("link failure") << jet << QStringLiteral("08S01") << qint64(0) << lost;
        QTest::newRow("timeout") << jet << QStringLiteral("HYT00") << qint64(0) << busy;
        QTest::newRow("SQLite's 5 is not a Jet code") << jet << QStringLiteral("HY000") << qint64(5) << other;
        QTest::newRow("Jet's 3218 is not a SQLite code") << sqlite << QStringLiteral("HY000") << qint64(3218) << other;
        QTest::newRow("a number that only contains 3218") << jet << QStringLiteral("HY000") << qint64(32180) << other;
    }

    void failuresAreToldByTheirCodes()
    {
        QFETCH(int, family);
        QFETCH(QString, state);
        QFETCH(qint64, native);
        QFETCH(int, kind);
        // Whatever the text says: a Polish lock text with a code of no lock is no lock, and the reverse.
        const QList<DriverDiagnostic> records { DriverDiagnostic { QStringLiteral("01000"), 0,
                                                    QStringLiteral("[Microsoft][Menedżer sterowników ODBC] ostrzeżenie") },
            DriverDiagnostic { state, native, QStringLiteral("Nie można aktualizować; obecnie zablokowane.") } };
        QCOMPARE(int(ClassifyDatabaseFailure(DriverFamily(family), records)), kind);
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
