// The built rehearsal terminal server run as Kibic runs it: rows in the scoring database, its stop on a
// signal, its waiting for a database that another program holds.
#include "ResultChecks.h"
#include "ScoringFixture.h"
#include "support/ProgramRun.h"

#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <map>

using namespace kibic;
using namespace kibic::test;

namespace {

const QString kProgram = kibic::test::KibicProgram("kibic-terminals");

using kibic::test::ProgramRun;

QStringList ServerArguments(const QString& file, const QStringList& options)
{
    return QStringList { QStringLiteral("/f:[") + file + QStringLiteral("]"), QStringLiteral("/s"),
        QStringLiteral("/r"), QStringLiteral("/m") }
    + options;
}

ProgramRun RunServer(const QString& file, const QStringList& options, int timeoutMs = 60000)
{
    kibic::test::RunOptions run;
    run.TimeoutMs = timeoutMs;
    return kibic::test::RunProgram(kProgram, ServerArguments(file, options), run);
}

// The count in the last line: "... zapisano N wierszy ...".
int WrittenCount(const QString& output)
{
    static const QRegularExpression pattern(QStringLiteral("zapisano (\\d+) wiersz"));
    QRegularExpressionMatchIterator it = pattern.globalMatch(output);
    int last = -1;
    while (it.hasNext())
        last = it.next().captured(1).toInt();
    return last;
}

qint64 CountRows(const QString& file)
{
    DbConnection db(ScoringConnectionString(file));
    return db.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData]"));
}

// Every commit of the server is flushed to disk; in memory-backed /dev/shm, where there is one, the
// runs take a fraction of the time.
QString TemporaryFolderPattern()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return base + QStringLiteral("/kibic-terminals-XXXXXX");
}

} // namespace

class TestKibicTerminals : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(kProgram), qPrintable(kProgram));
        QVERIFY(m_dir.isValid());
    }

    void init() { ++m_case; }

    // The same seed and options give the same rows, whatever the pace; another seed gives others.
    void sameSeedSameRows()
    {
        const QString a = File(QStringLiteral("a"));
        const QString b = File(QStringLiteral("b"));
        const QString c = File(QStringLiteral("c"));
        for (const QString& file : { a, b, c })
            CreateScoringDatabase(file, DemoPairs());
        const QStringList options = { QStringLiteral("--seed"), QStringLiteral("7"), QStringLiteral("--erase"),
            QStringLiteral("0.1"), QStringLiteral("--not-played"), QStringLiteral("0.05"), QStringLiteral("--split"),
            QStringLiteral("0.05") };
        const ProgramRun first = RunServer(a, options + QStringList { QStringLiteral("--once") });
        QCOMPARE(first.ExitCode, 0);
        const ProgramRun paced = RunServer(b, options + QStringList { QStringLiteral("--rate"), QStringLiteral("400") });
        QCOMPARE(paced.ExitCode, 0);
        const ProgramRun other = RunServer(c, { QStringLiteral("--seed"), QStringLiteral("8"), QStringLiteral("--once") });
        QCOMPARE(other.ExitCode, 0);

        const auto rowsA = ReadReceivedRows(a);
        const auto rowsB = ReadReceivedRows(b);
        QVERIFY(rowsA.size() > 150);
        QCOMPARE(int(rowsA.size()), WrittenCount(first.Out));
        QVERIFY(rowsA == rowsB);
        QVERIFY(!(rowsA == ReadReceivedRows(c)));
        for (const StoredRow& row : rowsA) {
            QVERIFY(!row.AnyProcessed);
            const QString problem
                = WhatIsImpossible(row.Contract, row.Declarer, row.Result, row.LeadCard, row.Remarks, true);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
        // One progress line a round.
        QCOMPARE(first.Out.count(QRegularExpression(
                     QStringLiteral("^Runda \\d+ z 5: zapisano"), QRegularExpression::MultilineOption)),
            5);
    }

    // Erasures carry Erased and their remark into the table; the rows come round by round.
    void roundsInOrderWithErasures()
    {
        const QString file = File(QStringLiteral("order"));
        CreateScoringDatabase(file, DemoPairs());
        const ProgramRun run = RunServer(file,
            { QStringLiteral("--once"), QStringLiteral("--erase"), QStringLiteral("0.3"), QStringLiteral("--seed"),
                QStringLiteral("4") });
        QCOMPARE(run.ExitCode, 0);
        const auto rows = ReadReceivedRows(file);
        int round = 1;
        int erased = 0;
        std::map<std::tuple<int, int, int>, int> lastBoard;
        for (const StoredRow& row : rows) {
            QVERIFY(row.Round >= round);
            round = row.Round;
            int& last = lastBoard[{ row.Section, row.Table, row.Round }];
            QVERIFY(row.Board >= last);
            last = row.Board;
            if (row.Erased) {
                ++erased;
                QCOMPARE(row.Remarks, QStringLiteral("Result erased"));
            }
        }
        QCOMPARE(round, 5);
        QVERIFY(erased > 20);
    }

    void roundsOption_data()
    {
        QTest::addColumn<int>("rounds");
        QTest::newRow("one") << 1;
        QTest::newRow("three") << 3;
        QTest::newRow("beyond the last") << 9;
    }

    // --rounds K writes exactly the rows of rounds 1..K of a full run and leaves the tables in round K.
    void roundsOption()
    {
        QFETCH(int, rounds);
        if (m_fullRun.isEmpty()) {
            m_fullRun = File(QStringLiteral("full"));
            CreateScoringDatabase(m_fullRun, DemoPairs());
            QCOMPARE(
                RunServer(m_fullRun, { QStringLiteral("--once"), QStringLiteral("--erase"), QStringLiteral("0.2") })
                    .ExitCode,
                0);
        }
        const QString& full = m_fullRun;
        const QString part = File(QStringLiteral("part"));
        CreateScoringDatabase(part, DemoPairs());
        const ProgramRun run = RunServer(part,
            { QStringLiteral("--once"), QStringLiteral("--erase"), QStringLiteral("0.2"), QStringLiteral("--rounds"),
                QString::number(rounds) });
        QCOMPARE(run.ExitCode, 0);
        std::vector<StoredRow> expected;
        for (const StoredRow& row : ReadReceivedRows(full)) {
            if (row.Round <= rounds)
                expected.push_back(row);
        }
        QVERIFY(ReadReceivedRows(part) == expected);

        TTable tables(ScoringConnectionString(part), QStringLiteral("Tables"));
        tables.Open();
        QCOMPARE(tables.RecordCount(), 10);
        for (tables.First(); !tables.Eof(); tables.Next()) {
            const int current = tables.FieldAsInteger(QStringLiteral("CurrentRound"));
            const int board = tables.FieldAsInteger(QStringLiteral("CurrentBoard"));
            QCOMPARE(current, std::min(rounds, 5));
            // The last board of the set played at the table in that round.
            DbConnection db(ScoringConnectionString(part));
            const qint64 high = db.ScalarInteger(
                QStringLiteral("SELECT [HighBoard] FROM [RoundData] WHERE [Section]=? AND [Table]=? AND [Round]=?"),
                { tables.FieldAsInteger(QStringLiteral("Section")), tables.FieldAsInteger(QStringLiteral("Table")),
                    current });
            QCOMPARE(qint64(board), high);
        }
    }

    void remarksAtProbabilityOne_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("kind");
        QTest::newRow("not played") << QStringLiteral("--not-played") << QStringLiteral("not played");
        QTest::newRow("split") << QStringLiteral("--split") << QStringLiteral("split");
    }

    void remarksAtProbabilityOne()
    {
        QFETCH(QString, option);
        QFETCH(QString, kind);
        const QString file = File(QStringLiteral("remarks"));
        CreateScoringDatabase(file, DemoIndividual());
        const ProgramRun run = RunServer(file,
            { QStringLiteral("--once"), QStringLiteral("--erase"), QStringLiteral("0"), option, QStringLiteral("1") });
        QCOMPARE(run.ExitCode, 0);
        const auto rows = ReadReceivedRows(file);
        QCOMPARE(rows.size(), std::size_t(50));
        for (const StoredRow& row : rows) {
            if (kind == QStringLiteral("split"))
                QVERIFY2(IsSplitScore(row.Remarks), qPrintable(row.Remarks));
            else
                QCOMPARE(row.Remarks, QStringLiteral("Not played"));
            QCOMPARE(row.Contract, QString());
        }
    }

    void playerNumbers_data()
    {
        QTest::addColumn<bool>("memberNumbers");
        QTest::addColumn<bool>("individual");
        QTest::newRow("identifiers asked for, pairs") << true << false;
        QTest::newRow("identifiers asked for, individual") << true << true;
        QTest::newRow("not asked for") << false << false;
    }

    // With MemberNumbers on the seats get the identifiers of the players who sit there in round 1;
    // otherwise PlayerNumbers stays as the build left it.
    void playerNumbers()
    {
        QFETCH(bool, memberNumbers);
        QFETCH(bool, individual);
        FixtureTournament tournament = individual ? DemoIndividual() : DemoPairs();
        tournament.MemberNumbers = memberNumbers;
        const QString file = File(QStringLiteral("ids"));
        CreateScoringDatabase(file, tournament);
        const ProgramRun run = RunServer(file,
            { QStringLiteral("--once"), QStringLiteral("--rounds"), QStringLiteral("1"), QStringLiteral("--seed"),
                QStringLiteral("3") });
        QCOMPARE(run.ExitCode, 0);

        // The players of round 1, from RoundData.
        std::map<std::pair<int, int>, std::map<QString, int>> persons;
        TTable rounds(ScoringConnectionString(file), QStringLiteral("RoundData"));
        rounds.Open();
        for (rounds.First(); !rounds.Eof(); rounds.Next()) {
            if (rounds.FieldAsInteger(QStringLiteral("Round")) != 1)
                continue;
            auto& seats = persons[{
                rounds.FieldAsInteger(QStringLiteral("Section")), rounds.FieldAsInteger(QStringLiteral("Table")) }];
            const int ns = rounds.FieldAsInteger(QStringLiteral("NSPair"));
            const int ew = rounds.FieldAsInteger(QStringLiteral("EWPair"));
            if (individual) {
                seats = { { QStringLiteral("N"), ns }, { QStringLiteral("E"), ew },
                    { QStringLiteral("S"), rounds.FieldAsInteger(QStringLiteral("custom_S")) },
                    { QStringLiteral("W"), rounds.FieldAsInteger(QStringLiteral("custom_W")) } };
            } else {
                seats = { { QStringLiteral("N"), 2 * ns - 1 }, { QStringLiteral("S"), 2 * ns },
                    { QStringLiteral("E"), 2 * ew - 1 }, { QStringLiteral("W"), 2 * ew } };
            }
        }

        TTable numbers(ScoringConnectionString(file), QStringLiteral("PlayerNumbers"));
        numbers.Open();
        const int seatCount = individual ? 20 : 40;
        QCOMPARE(numbers.RecordCount(), seatCount);
        int filled = 0, asTheirOwn = 0;
        QSet<QString> distinct;
        for (numbers.First(); !numbers.Eof(); numbers.Next()) {
            const QString number = numbers.FieldAsString(QStringLiteral("Number"));
            if (number.isEmpty())
                continue;
            ++filled;
            distinct.insert(number);
            const int person = persons[{ numbers.FieldAsInteger(QStringLiteral("Section")),
                numbers.FieldAsInteger(QStringLiteral("Table")) }][numbers.FieldAsString(QStringLiteral("Direction"))];
            QVERIFY(person >= 1);
            if (number
                == QString::number(
                    person % 10 == 0 ? 100000 + (person * 4099) % 900000 : 1000 + (person * 4099) % 29000))
                ++asTheirOwn;
        }
        if (!memberNumbers) {
            QCOMPARE(filled, 0);
            QVERIFY(!run.Out.contains(QStringLiteral("Identyfikatory")));
            return;
        }
        QVERIFY2(asTheirOwn >= seatCount * 3 / 4, qPrintable(QString::number(asTheirOwn)));
        QVERIFY(filled >= asTheirOwn);
        QVERIFY(distinct.size() >= asTheirOwn);
        QVERIFY(run.Out.contains(
            QStringLiteral("Identyfikatory zawodników: wpisano %1 z %2").arg(filled).arg(seatCount)));
    }

    // Another program holds the write lock for longer than the database's busy timeout: the server
    // waits, tries again and loses no row.
    void noRowLostWhileTheFileIsLocked()
    {
        const QString reference = File(QStringLiteral("reference"));
        const QString file = File(QStringLiteral("locked"));
        CreateScoringDatabase(reference, DemoIndividual());
        CreateScoringDatabase(file, DemoIndividual());
        QCOMPARE(
            RunServer(reference, { QStringLiteral("--once"), QStringLiteral("--seed"), QStringLiteral("9") }).ExitCode,
            0);

        QProcess process;
        process.start(kProgram,
            ServerArguments(file,
                { QStringLiteral("--rate"), QStringLiteral("40"), QStringLiteral("--seed"), QStringLiteral("9") }));
        QVERIFY(process.waitForStarted());
        QElapsedTimer clock;
        clock.start();
        while (CountRows(file) < 5 && clock.elapsed() < 20000)
            QThread::msleep(20);
        {
            DbConnection other(ScoringConnectionString(file));
            other.BeginTransaction();
            (void)other.Execute(QStringLiteral("UPDATE [Tables] SET [Status]=1"));
            QThread::msleep(kBusyTimeoutMs + 1500);
            other.CommitTransaction();
        }
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        // SQLite's own busy timeout gives up before the lock goes, so the server's waiting shows; the
        // SQLite ODBC driver may wait out the whole lock itself.
        if (qEnvironmentVariable("KIBIC_DB_BACKEND") != QStringLiteral("odbc"))
            QVERIFY2(output.contains(QStringLiteral("Baza jest zajęta")), qPrintable(output));
        QVERIFY(ReadReceivedRows(file) == ReadReceivedRows(reference));
    }

    // SIGTERM ends the run after the row in hand, with exit code 0; what was written is a beginning of
    // the full run, each row whole.
    void cleanStopOnSigterm()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no signal that one program can send another; Ctrl+C reaches only a console's own programs");
#endif
        const QString reference = File(QStringLiteral("reference"));
        const QString file = File(QStringLiteral("stopped"));
        CreateScoringDatabase(reference, DemoPairs());
        CreateScoringDatabase(file, DemoPairs());
        QCOMPARE(RunServer(reference, { QStringLiteral("--once") }).ExitCode, 0);

        QProcess process;
        process.start(kProgram, ServerArguments(file, { QStringLiteral("--rate"), QStringLiteral("25") }));
        QVERIFY(process.waitForStarted());
        QElapsedTimer clock;
        clock.start();
        while (CountRows(file) < 8 && clock.elapsed() < 20000)
            QThread::msleep(20);
        process.terminate();
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        QVERIFY2(output.contains(QStringLiteral("Zatrzymano")), qPrintable(output));

        const auto written = ReadReceivedRows(file);
        const auto full = ReadReceivedRows(reference);
        QCOMPARE(int(written.size()), WrittenCount(output));
        QVERIFY(written.size() >= 8 && written.size() < full.size());
        QVERIFY(std::equal(written.begin(), written.end(), full.begin()));
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no file switch") << QStringList { QStringLiteral("/s"), QStringLiteral("/r") } << 2
                                        << QStringLiteral("/f:[PLIK.bws]");
        QTest::newRow("unknown option") << QStringList { QStringLiteral("/f:[x.bws]"), QStringLiteral("--fast") } << 2
                                        << QStringLiteral("--fast");
        QTest::newRow("no such database") << QStringList { QStringLiteral("/f:[/nie/ma/takiej/bazy.bws]") } << 1
                                          << QStringLiteral("/nie/ma/takiej/bazy.bws");
    }

    void failures()
    {
        QFETCH(QStringList, arguments);
        QProcess process;
        process.start(kProgram, arguments);
        QVERIFY(process.waitForFinished(20000));
        QTEST(process.exitCode(), "exitCode");
        QFETCH(QString, message);
        const QString errors = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(errors.contains(message), qPrintable(errors));
    }

    void databaseWithoutReceivedDataFails()
    {
        const QString file = File(QStringLiteral("broken"));
        CreateScoringDatabase(file, DemoIndividual());
        {
            DbConnection db(ScoringConnectionString(file));
            (void)db.Execute(QStringLiteral("DROP TABLE [ReceivedData]"));
        }
        const ProgramRun run = RunServer(file, { QStringLiteral("--once") });
        QCOMPARE(run.ExitCode, 1);
        QVERIFY2(run.Err.contains(QStringLiteral("ReceivedData")), qPrintable(run.Err));
    }

    // The figures of the demo tournaments that the demo and the end-to-end tests rely on.
    void demoRowCounts_data()
    {
        QTest::addColumn<bool>("individual");
        QTest::addColumn<int>("rows");
        QTest::newRow("puchar, seed 1") << false << 162;
        QTest::newRow("indyw, seed 1") << true << 51;
    }

    void demoRowCounts()
    {
        QFETCH(bool, individual);
        const QString file = File(QStringLiteral("demo"));
        CreateScoringDatabase(file, individual ? DemoIndividual() : DemoPairs());
        const ProgramRun run = RunServer(file, { QStringLiteral("--once"), QStringLiteral("--seed"), QStringLiteral("1") });
        QCOMPARE(run.ExitCode, 0);
        QTEST(int(CountRows(file)), "rows");
    }

private:
    QString File(const QString& name) const
    {
        return m_dir.filePath(QStringLiteral("%1-%2-%3.bws").arg(name).arg(m_case).arg(m_serial++));
    }

    QTemporaryDir m_dir { TemporaryFolderPattern() };
    int m_case = 0;
    mutable int m_serial = 0;
    QString m_fullRun; // a whole run of the demo's pairs event with --erase 0.2
};

QTEST_GUILESS_MAIN(TestKibicTerminals)
#include "TestKibicTerminals.moc"
