// kibic-cli transfer, grid and unmark on a scoring database built by kibic-cli build.
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"
#include "support/ProgramRun.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <map>

using namespace kibic;

namespace {

using kibic::test::ProgramRun;

ProgramRun Cli(const QStringList& arguments)
{
    return kibic::test::RunCli(arguments);
}

} // namespace

class TestCliPolling : public QObject
{
    Q_OBJECT

private slots:
    // One section of 5 tables, 5 rounds of 3 boards, 5 result slots (the description of tests/data).
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->filePath(QStringLiteral("cup"));
        QVERIFY(QFile::copy(QStringLiteral(KIBIC_TEST_DATA_DIR "/tournament/example.inf"), m_base + QStringLiteral(".inf")));
        QFile scores(m_base + QStringLiteral(".ZAP"));
        QVERIFY(scores.open(QIODevice::WriteOnly));
        scores.write(QByteArray(75 * 2, '\0'));
        scores.close();
        qputenv("KIBIC_COMPUTER_NAME", "REHEARSAL-PC");
        const ProgramRun built = Cli({QStringLiteral("build"), m_base + QStringLiteral(".inf")});
        QCOMPARE(built.ExitCode, 0);
        m_file = m_base + QStringLiteral(".bws");
        DbConnection db(ScoringConnectionString(m_file));
        // Board 1 at table 1 in round 1 (NS 1, EW 6) and at table 5 in round 2; board 4 at table 2 in round 1.
        (void)db.Execute(QStringLiteral(
            "INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],[NS/EW],[Contract],[Result]) VALUES "
            "(1,1,1,1,'N','4 S x','+1'),(1,5,2,1,'E','3 NT','='),(1,2,1,4,'S','2 H','-1'),(1,3,1,1,'N','1 C','=')"));
    }

    void transferReportsWhatItPlacedAndGridShowsIt()
    {
        const ProgramRun pass = Cli({QStringLiteral("transfer"), m_file});
        QCOMPARE(pass.ExitCode, 0);
        QCOMPARE(pass.Err, QStringLiteral("przeniesione: 3, wymazane: 0, nieumieszczone: 1, zastąpione: 0\n"));
        const ProgramRun grid = Cli({QStringLiteral("grid"), m_file});
        QCOMPARE(grid.ExitCode, 0);
        const QStringList lines = grid.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QStringLiteral("\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t14\t15"));
        QCOMPARE(lines[1], QStringLiteral(" 1\t1") + QString(14, QLatin1Char('\t')));
        QCOMPARE(lines[2], QStringLiteral(" 2\t\t\t\t1") + QString(11, QLatin1Char('\t')));
        QCOMPARE(lines[5], QStringLiteral(" 5\t2") + QString(14, QLatin1Char('\t')));
        const ProgramRun again = Cli({QStringLiteral("transfer"), m_file});
        QCOMPARE(again.Err, QStringLiteral("przeniesione: 0, wymazane: 0, nieumieszczone: 1, zastąpione: 0\n"));
        const ProgramRun results = Cli({QStringLiteral("results"), m_base});
        QVERIFY(results.Out.startsWith(QStringLiteral("0\t690\t4\t3\t1\t0\t0\t0\t1\n1\t-400\t3\t4\t0\t1\t0\t0\t0\n")));
    }

    // `tables` against an expectation worked out here from the printed grid and RoundData: a board of a
    // round is received at a table when that table's cell shows that round.
    void tablesShowHowFarEachTableHasCome()
    {
        QCOMPARE(Cli({QStringLiteral("transfer"), m_file}).ExitCode, 0);
        const QStringList grid = Cli({QStringLiteral("grid"), m_file}).Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QList<QStringList> cells;
        for (const QString& line : grid)
            cells.append(line.split(QLatin1Char('\t')));
        int current = 0;
        for (qsizetype row = 1; row < cells.size(); ++row)
            for (qsizetype column = 1; column < cells[row].size(); ++column)
                current = std::max(current, cells[row][column].toInt());
        QCOMPARE(current, 2);

        std::map<int, std::map<int, std::pair<int, int>>> rounds; // table -> round -> first and last board
        TTable rda(ScoringConnectionString(m_file), QStringLiteral("RoundData"));
        rda.Open();
        for (rda.First(); !rda.Eof(); rda.Next())
            rounds[rda.FieldAsInteger(QStringLiteral("Table"))][rda.FieldAsInteger(QStringLiteral("Round"))]
                = {rda.FieldAsInteger(QStringLiteral("LowBoard")), rda.FieldAsInteger(QStringLiteral("HighBoard"))};
        rda.Close();

        QStringList expected;
        for (const auto& [table, plan] : rounds) {
            int complete = 0;
            int highest = 0;
            QStringList missing;
            for (const auto& [round, boards] : plan) {
                bool all = true;
                for (int board = boards.first; board <= boards.second; ++board) {
                    const bool received = cells[table][cells[0].indexOf(QString::number(board))] == QString::number(round);
                    all = all && received;
                    if (received)
                        highest = std::max(highest, round);
                    else if (round <= current)
                        missing.append(QStringLiteral("%1:%2").arg(round).arg(board));
                }
                complete += all ? 1 : 0;
            }
            expected.append(QStringList{cells[table][0], QString::number(complete), QString::number(highest),
                missing.isEmpty() ? QStringLiteral("-") : missing.join(QLatin1Char(','))}
                                .join(QLatin1Char('\t')));
        }
        expected.append(QStringLiteral("runda\t2"));
        const ProgramRun tables = Cli({QStringLiteral("tables"), m_file});
        QCOMPARE(tables.ExitCode, 0);
        QCOMPARE(tables.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
        // Table 1 has board 1 of round 1 and misses the rest of rounds 1 and 2.
        QVERIFY2(expected[0].startsWith(QStringLiteral(" 1\t0\t1\t1:2,1:3,2:")), qPrintable(expected[0]));
        QCOMPARE(Cli({QStringLiteral("tables")}).ExitCode, 2);
    }

    void columnsAreSeparateAndUnmarkClearsOnlyItsOwn()
    {
        QCOMPARE(Cli({QStringLiteral("transfer"), m_file, QStringLiteral("--column"), QStringLiteral("3")}).ExitCode, 0);
        QCOMPARE(Cli({QStringLiteral("transfer"), m_file}).Err, QStringLiteral("przeniesione: 3, wymazane: 0, nieumieszczone: 1, zastąpione: 0\n"));
        // Column 2 has handled nothing: every table's row is its label and 15 empty cells.
        const QStringList untouched = Cli({QStringLiteral("grid"), m_file, QStringLiteral("--column"), QStringLiteral("2")})
                                          .Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(untouched.size(), 6);
        for (int table = 1; table <= 5; ++table)
            QCOMPARE(untouched[table], QStringLiteral(" %1").arg(table) + QString(15, QLatin1Char('\t')));
        QCOMPARE(Cli({QStringLiteral("unmark"), m_file, QStringLiteral("--all"), QStringLiteral("--column"), QStringLiteral("3")}).ExitCode, 0);
        DbConnection db(ScoringConnectionString(m_file));
        QCOMPARE(db.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Processed3]<>0")), 0);
        QCOMPARE(db.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Processed]<>0")), 3);
    }

    void badUsageAndMissingFiles_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message"); // how standard error begins
        const QString usage = QStringLiteral("użycie: kibic-cli ");
        QTest::newRow("column 5") << QStringList { QStringLiteral("transfer"), QStringLiteral("x.bws"),
            QStringLiteral("--column"), QStringLiteral("5") }
                                  << 2 << usage + QStringLiteral("transfer");
        QTest::newRow("watch 0") << QStringList { QStringLiteral("transfer"), QStringLiteral("x.bws"),
            QStringLiteral("--watch"), QStringLiteral("0") }
                                 << 2 << usage + QStringLiteral("transfer");
        QTest::newRow("no file") << QStringList { QStringLiteral("grid") } << 2 << usage + QStringLiteral("grid");
        QTest::newRow("unmark without --all") << QStringList { QStringLiteral("unmark"), QStringLiteral("x.bws") } << 2
                                              << usage + QStringLiteral("unmark");
        QTest::newRow("watch is no option of grid") << QStringList {
            QStringLiteral("grid"), QStringLiteral("x.bws"), QStringLiteral("--watch"), QStringLiteral("5")
        } << 2 << QStringLiteral("Nieznana opcja --watch.\n") + usage + QStringLiteral("grid PLIK.bws [--column N]\n");
        QTest::newRow("column without its value")
            << QStringList { QStringLiteral("tables"), QStringLiteral("x.bws"), QStringLiteral("--column") } << 2
            << QStringLiteral("Opcja --column wymaga wartości.\n") + usage + QStringLiteral("tables");
        QTest::newRow("a value given to --all")
            << QStringList { QStringLiteral("unmark"), QStringLiteral("x.bws"), QStringLiteral("--all=tak") } << 2
            << QStringLiteral("Opcja --all nie przyjmuje wartości.\n") + usage + QStringLiteral("unmark");
        QTest::newRow("column twice") << QStringList {
            QStringLiteral("transfer"), QStringLiteral("x.bws"), QStringLiteral("--column=1"),
            QStringLiteral("--column"), QStringLiteral("2")
        } << 2 << QStringLiteral("Opcja --column podana więcej niż raz.\n") + usage + QStringLiteral("transfer");
        QTest::newRow("missing database")
            << QStringList { QStringLiteral("transfer"), QStringLiteral("/nowhere/x.bws") } << 1
            << QStringLiteral("Nie ma pliku bazy danych");
        QTest::newRow("missing for unmark") << QStringList { QStringLiteral("unmark"), QStringLiteral("/nowhere/x.bws"),
            QStringLiteral("--all") } << 1 << QStringLiteral("Nie ma pliku bazy danych");
        // A file name that begins with a dash is a file, not an option.
        QTest::newRow("a file named with a dash") << QStringList { QStringLiteral("unmark"), QStringLiteral("-x.bws"),
            QStringLiteral("--all") } << 1 << QStringLiteral("Nie ma pliku bazy danych");
    }

    void badUsageAndMissingFiles()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const ProgramRun run = Cli(arguments);
        QCOMPARE(run.ExitCode, exitCode);
        QVERIFY2(run.Err.startsWith(message), qPrintable(run.Err));
        QVERIFY(run.Out.isEmpty());
    }

    void watchStopsCleanlyOnAnInterrupt()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no signal that one program can send another; Ctrl+C reaches only a console's own programs");
#endif
        QProcess process;
        process.start(kibic::test::KibicProgram("kibic-cli"),
            {QStringLiteral("transfer"), m_file, QStringLiteral("--watch"), QStringLiteral("1")});
        QByteArray errors;
        QTRY_VERIFY_WITH_TIMEOUT((errors += process.readAllStandardError()).contains("przeniesione: 3"), 20000);
#ifdef Q_OS_WIN
        // Windows has no signal that one program can send another; the clean stop is tested off Windows.
        process.kill();
        QVERIFY(process.waitForFinished(20000));
        return;
#endif
        process.terminate();
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

    // A watched pass that fails is reported with its time, and the watch tries again at the next interval
    // (the file is back long before a third failure would stop the watch).
    void watchReportsAFailedPassAndGoesOn()
    {
        const QString scores = m_base + QStringLiteral(".ZAP");
        const QString aside = m_base + QStringLiteral(".ZAP.aside");
        QVERIFY(QFile::rename(scores, aside));
        QProcess process;
        process.start(kibic::test::KibicProgram("kibic-cli"),
            {QStringLiteral("transfer"), m_file, QStringLiteral("--watch"), QStringLiteral("3")});
        QByteArray errors;
        QTRY_VERIFY_WITH_TIMEOUT((errors += process.readAllStandardError()).contains("Brak pliku"), 20000);
        static const QRegularExpression failed(QStringLiteral(
            "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d przebieg nieudany, następna próba za 3 s: Brak pliku .*cup\\.ZAP\\.$"),
            QRegularExpression::MultilineOption);
        QVERIFY2(failed.match(QString::fromUtf8(errors)).hasMatch(), errors.constData());
        QCOMPARE(process.state(), QProcess::Running);
        QVERIFY(QFile::rename(aside, scores));
        QTRY_VERIFY_WITH_TIMEOUT((errors += process.readAllStandardError()).contains("przeniesione: 3"), 20000);
#ifdef Q_OS_WIN
        // Windows has no signal that one program can send another; the clean stop is tested off Windows.
        process.kill();
        QVERIFY(process.waitForFinished(20000));
        return;
#endif
        process.terminate();
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

    // The records of a pass are forced onto the disk before the marks that cover them are committed: a power
    // cut can cost a mark, never a result.
    void resultFilesReachTheDiskBeforeTheirMarks()
    {
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty())
            QSKIP("strace is not installed: the order of the writes cannot be watched");
        const QString log = m_dir->filePath(QStringLiteral("strace.log"));
        QProcess process;
        // The leak checker of a sanitized build cannot run under a tracer.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        process.setProcessEnvironment(environment);
        process.start(strace, {QStringLiteral("-f"), QStringLiteral("-y"), QStringLiteral("-o"), log,
                                  QStringLiteral("-e"), QStringLiteral("trace=write,pwrite64,fdatasync,fsync,unlink"),
                                  kibic::test::KibicProgram("kibic-cli"), QStringLiteral("transfer"), m_file});
        QVERIFY(process.waitForFinished(120000));
        if (process.exitCode() != 0 && QString::fromUtf8(process.readAllStandardError()).contains(QStringLiteral("ptrace")))
            QSKIP("strace cannot trace here");
        QCOMPARE(process.exitCode(), 0);
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        // The marks are committed by the last write to the database or its journal (the journal's removal in
        // rollback mode, the log's write in WAL mode).
        qsizetype commit = -1;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].contains(m_file + QLatin1Char('>')) || lines[i].contains(m_file + QLatin1Char('-')))
                commit = i;
        }
        QVERIFY2(commit >= 0, "the marks were never committed");
        for (const QString& extension : {QStringLiteral(".ZAP>"), QStringLiteral(".KNT>")}) {
            qsizetype lastWrite = -1;
            qsizetype synced = -1;
            for (qsizetype i = 0; i < commit; ++i) {
                if (!lines[i].contains(m_base + extension))
                    continue;
                if (lines[i].contains(QStringLiteral("write(")) || lines[i].contains(QStringLiteral("pwrite64(")))
                    lastWrite = i;
                else if (lines[i].contains(QStringLiteral("fdatasync(")) || lines[i].contains(QStringLiteral("fsync(")))
                    synced = i;
            }
            QVERIFY2(lastWrite >= 0, qPrintable(extension));
            QVERIFY2(synced > lastWrite, qPrintable(QStringLiteral("%1 not synced before the marks").arg(extension)));
        }
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    QString m_file;
};

QTEST_GUILESS_MAIN(TestCliPolling)
#include "TestCliPolling.moc"
