// The Access path's faults, made by the Jet stand-in as the Jet driver reports them, against kibic-cli
// transfer: a lock held longer than Kibic waits, a refused opening, a commit that fails, the same failure
// pass after pass; and what one watched pass costs in connections. Runs only on the Access path.
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "support/ProgramRun.h"
#include "support/SqliteFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace kibic;
using kibic::test::ProgramRun;
using kibic::test::RunOptions;

namespace {

// The lines of the stand-in's trace that one process wrote (any process for 0), each split into its fields.
QList<QStringList> TraceOf(const QString& trace, qint64 pid = 0)
{
    QFile file(trace);
    QList<QStringList> lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QStringList fields = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (fields.size() >= 2 && (pid == 0 || fields[1].toLongLong() == pid))
            lines.append(fields);
    }
    return lines;
}

int Count(const QList<QStringList>& trace, const QString& call)
{
    return int(std::count_if(trace.begin(), trace.end(), [&](const QStringList& line) { return line[0] == call; }));
}

QByteArray Content(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

class TestAccessFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!CreatesAccessFiles())
            QSKIP("only on the Access path (KIBIC_DB_BACKEND=access and the Jet stand-in registered)");
    }

    // One section of 5 tables (tests/data): three rows that belong in ZyRT's files, one that belongs nowhere.
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->filePath(QStringLiteral("cup"));
        m_file = m_base + QStringLiteral(".bws");
        m_trace = m_dir->filePath(QStringLiteral("trace.txt"));
        QVERIFY(QFile::copy(QStringLiteral(KIBIC_TEST_DATA_DIR "/tournament/example.inf"), m_base + QStringLiteral(".inf")));
        QFile scores(m_base + QStringLiteral(".ZAP"));
        QVERIFY(scores.open(QIODevice::WriteOnly));
        scores.write(QByteArray(75 * 2, '\0'));
        scores.close();
        qputenv("KIBIC_COMPUTER_NAME", "SALA");
        const ProgramRun built = kibic::test::RunCli({ QStringLiteral("build"), m_base + QStringLiteral(".inf") });
        QVERIFY2(built.ExitCode == 0, qPrintable(built.Err));
        DbConnection db(ScoringConnectionString(m_file));
        (void)db.Execute(QStringLiteral(
            "INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],[NS/EW],[Contract],[Result]) VALUES "
            "(1,1,1,1,'N','4 S x','+1')"));
        (void)db.Execute(QStringLiteral(
            "INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],[NS/EW],[Contract],[Result]) VALUES "
            "(1,5,2,1,'E','3 NT','=')"));
        (void)db.Execute(QStringLiteral(
            "INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],[NS/EW],[Contract],[Result]) VALUES "
            "(1,2,1,4,'S','2 H','-1')"));
        (void)db.Execute(QStringLiteral(
            "INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],[NS/EW],[Contract],[Result]) VALUES "
            "(1,3,1,1,'N','1 C','=')"));
    }

    // A watch keeps one connection from its first pass to its last, and each pass prepares nothing anew.
    void watchKeepsOneConnection()
    {
        int exitCode = -1;
        qint64 pid = 0;
        // Until an idle pass after the one that transferred.
        const QString errors = Watch({}, "przeniesione: 0, wymazane: 0, nieumieszczone: 1", exitCode, pid);
        QCOMPARE(exitCode, 0);
        const QList<QStringList> trace = TraceOf(m_trace, pid);
        QCOMPARE(Count(trace, QStringLiteral("connect")), 1);
        QCOMPARE(Count(trace, QStringLiteral("error")), 0);
        QVERIFY2(errors.count(QStringLiteral("przeniesione:")) >= 2, qPrintable(errors));
        // Every statement text reaches the driver with its exact length: no terminator counted in it.
        for (const QStringList& line : trace) {
            if (line[0] == QStringLiteral("prepare"))
                QVERIFY2(line[2].toInt() == line[3].size() && !line[3].contains(QStringLiteral("\\0")),
                    qPrintable(line.join(QLatin1Char(' '))));
            if (line[0] == QStringLiteral("bind"))
                QVERIFY2(line[4] != QStringLiteral("-5") && line[3] != QStringLiteral("-25"),
                    qPrintable(line.join(QLatin1Char(' ')))); // no SQL_BIGINT, no SQL_C_SBIGINT
        }
    }

    // The terminal server holds the file longer than Kibic waits: the pass is postponed with the driver's own
    // words and codes, the next passes try again, and in the end every result is in ZyRT's files once.
    void lockLongerThanTheWaitPostponesThePass()
    {
        const auto reference = ReferenceResults();
        QVERIFY(!reference.first.isEmpty());
        int exitCode = -1;
        qint64 pid = 0;
        const QString errors = Watch({ { QStringLiteral("KIBIC_JET_LOCK_WRITE"), QStringLiteral("1:2500") } },
            "przeniesione: 3", exitCode, pid);
        QCOMPARE(exitCode, 0);
        QVERIFY2(errors.contains(QStringLiteral("przebieg nieudany")), qPrintable(errors));
        QVERIFY2(errors.contains(QStringLiteral("obecnie zablokowany")), qPrintable(errors));
        QVERIFY2(errors.contains(QStringLiteral("[HY000, -1102]")), qPrintable(errors));
        QVERIFY2(errors.contains(QStringLiteral("przeniesione: 3")), qPrintable(errors));
        QCOMPARE(Marked(), 3);
        QCOMPARE(Content(m_base + QStringLiteral(".ZAP")), reference.first);
        QCOMPARE(Content(m_base + QStringLiteral(".KNT")), reference.second);
    }

    // The file is "placed in a state" at the first opening: Kibic opens it again and the pass goes through.
    void refusedOpeningIsTriedAgain()
    {
        RunOptions options;
        options.Environment = { { QStringLiteral("KIBIC_JET_TRACE"), m_trace },
            { QStringLiteral("KIBIC_JET_REFUSE_CONNECT"), QStringLiteral("1") } };
        QFile::remove(m_trace);
        const ProgramRun pass = kibic::test::RunCli({ QStringLiteral("transfer"), m_file }, options);
        QVERIFY2(pass.ExitCode == 0, qPrintable(pass.Err));
        QVERIFY2(pass.Err.contains(QStringLiteral("przeniesione: 3")), qPrintable(pass.Err));
        const QList<QStringList> trace = TraceOf(m_trace);
        QCOMPARE(Count(trace, QStringLiteral("connect")), 2);
        const auto refused = std::find_if(trace.begin(), trace.end(), [](const QStringList& line) {
            return line[0] == QStringLiteral("error") && line.size() >= 4 && line[2] == QStringLiteral("HY000")
                && line[3] == QStringLiteral("-1207");
        });
        QVERIFY(refused != trace.end());
    }

    // The connection goes away under a pass (a file share that dropped): Kibic opens it again and the
    // watch goes on, every result written once.
    void lostConnectionIsOpenedAgain()
    {
        const auto reference = ReferenceResults();
        int exitCode = -1;
        qint64 pid = 0;
        const QString errors = Watch({ { QStringLiteral("KIBIC_JET_LOSE_CONNECTION"), QStringLiteral("3") } },
            "przeniesione: 3", exitCode, pid);
        QCOMPARE(exitCode, 0);
        QVERIFY2(errors.contains(QStringLiteral("przeniesione: 3")), qPrintable(errors));
        const QList<QStringList> trace = TraceOf(m_trace, pid);
        QCOMPARE(Count(trace, QStringLiteral("connect")), 2);
        QCOMPARE(Marked(), 3);
        QCOMPARE(Content(m_base + QStringLiteral(".ZAP")), reference.first);
    }

    // A failure no entry names as a lock: two passes in a row are tried again, the third stops the watch
    // (exit 1 with the reason); a commit that fails loses nothing.
    void sameFailureOnThreePassesStopsTheWatch_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("stops");
        QTest::newRow("two failed writes") << QStringLiteral("KIBIC_JET_FAIL_WRITE") << QStringLiteral("1:2") << false;
        QTest::newRow("three failed writes") << QStringLiteral("KIBIC_JET_FAIL_WRITE") << QStringLiteral("1:3") << true;
        QTest::newRow("a failed commit") << QStringLiteral("KIBIC_JET_FAIL_COMMIT") << QStringLiteral("1") << false;
    }

    void sameFailureOnThreePassesStopsTheWatch()
    {
        QFETCH(QString, variable);
        QFETCH(QString, value);
        QFETCH(bool, stops);
        const auto reference = ReferenceResults();
        int exitCode = -1;
        qint64 pid = 0;
        const QString errors = Watch({ { variable, value } }, "przeniesione: 3", exitCode, pid);
        QVERIFY2(errors.contains(QStringLiteral("Błąd dysku lub sieci")), qPrintable(errors));
        if (stops) {
            QCOMPARE(exitCode, 1);
            QCOMPARE(errors.count(QStringLiteral("przebieg nieudany")), 2);
            QVERIFY2(errors.contains(QStringLiteral("Przenoszenie wyników zatrzymane")), qPrintable(errors));
            QCOMPARE(Marked(), 0);
            return;
        }
        QCOMPARE(exitCode, 0);
        QVERIFY2(errors.contains(QStringLiteral("przeniesione: 3")), qPrintable(errors));
        QCOMPARE(Marked(), 3);
        QCOMPARE(Content(m_base + QStringLiteral(".ZAP")), reference.first);
        QCOMPARE(Content(m_base + QStringLiteral(".KNT")), reference.second);
    }

private:
    // The result files a pass without any fault writes, from a copy of the same tournament.
    QPair<QByteArray, QByteArray> ReferenceResults()
    {
        QTemporaryDir reference;
        for (const char* extension : { ".inf", ".ZAP", ".KNT", ".bws" })
            if (!QFile::copy(m_base + QLatin1String(extension), reference.filePath(QStringLiteral("cup")) + QLatin1String(extension)))
                return {};
        const QString base = reference.filePath(QStringLiteral("cup"));
        const ProgramRun pass = kibic::test::RunCli({ QStringLiteral("transfer"), base + QStringLiteral(".bws") });
        if (pass.ExitCode != 0)
            return {};
        return { Content(base + QStringLiteral(".ZAP")), Content(base + QStringLiteral(".KNT")) };
    }

    // kibic-cli transfer --watch 1 with the stand-in's environment plus the fault, until `until` shows on its
    // standard error (then it is stopped) or it ends by itself. Returns its standard error.
    QString Watch(const QList<QPair<QString, QString>>& fault, const QByteArray& until, int& exitCode, qint64& pid)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("KIBIC_JET_TRACE"), m_trace);
        for (const auto& [name, value] : fault)
            environment.insert(name, value);
        process.setProcessEnvironment(environment);
        process.start(kibic::test::KibicProgram("kibic-cli"),
            { QStringLiteral("transfer"), m_file, QStringLiteral("--watch"), QStringLiteral("1") });
        if (!process.waitForStarted())
            return QStringLiteral("(did not start)");
        pid = process.processId();
        QByteArray errors;
        QElapsedTimer clock;
        clock.start();
        while (process.state() == QProcess::Running && !errors.contains(until) && clock.elapsed() < 60000) {
            process.waitForReadyRead(100);
            errors += process.readAllStandardError();
        }
        if (process.state() == QProcess::Running) {
            process.terminate();
            process.waitForFinished(20000);
        }
        errors += process.readAllStandardError();
        exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return QString::fromUtf8(errors);
    }

    int Marked() { return test::SqliteFile(m_file).Value(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Processed]<>0")).toInt(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    QString m_file;
    QString m_trace;
};

QTEST_GUILESS_MAIN(TestAccessFaults)
#include "TestAccessFaults.moc"
