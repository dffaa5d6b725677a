// kibic-cli killed at random points: a killed build never leaves a half-made database under its name, and
// a killed transfer (alone, or beside a copy that has already handled everything) never leaves a result
// file with an older entry of a board than the ordered pass of the received rows gives.
#include "EndToEnd.h"

#include "common/KibicError.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QTest>

using namespace kibic;
using namespace kibic::e2e;

namespace {

constexpr int kKills = 40;

// Starts kibic-cli and kills it after delayMs unless it ended before; true when it was killed.
bool RunAndKill(const QStringList& arguments, int delayMs)
{
    QProcess process;
    process.start(Program("kibic-cli"), arguments);
    if (!process.waitForStarted(20000))
        qFatal("kibic-cli does not start");
    if (process.waitForFinished(delayMs))
        return false;
    process.kill();
    process.waitForFinished(20000);
    return true;
}

// Milliseconds of one whole run.
int TimeOf(const QStringList& arguments)
{
    QElapsedTimer timer;
    timer.start();
    const ProgramRun run = Cli(arguments);
    if (run.ExitCode != 0)
        qFatal("kibic-cli %s: %s", qPrintable(arguments.join(QLatin1Char(' '))), qPrintable(run.Err));
    return static_cast<int>(timer.elapsed());
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The rows of every table the build fills.
QMap<QString, qint64> FilledRows(const QString& database)
{
    QMap<QString, qint64> rows;
    DbConnection db(ScoringConnectionString(database));
    for (const QString& table : { QStringLiteral("Tables"), QStringLiteral("PlayerNumbers"), QStringLiteral("Section"),
             QStringLiteral("RoundData"), QStringLiteral("Settings") })
        rows.insert(table, db.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM [%1]").arg(table)));
    return rows;
}

} // namespace

class TestKilledPrograms : public QObject
{
    Q_OBJECT

private slots:
    void killedBuildLeavesNoHalfDatabase()
    {
        DemoFolder demo;
        QVERIFY2(demo.Error.isEmpty(), qPrintable(demo.Error));
        const QString description = demo.Path(QStringLiteral("puchar.inf"));
        const QString database = demo.Path(QStringLiteral("puchar.bws"));
        const QStringList build { QStringLiteral("build"), description, QStringLiteral("--overwrite") };
        const int wholeMs = TimeOf(build);
        const QMap<QString, qint64> whole = FilledRows(database);
        QVERIFY(whole.value(QStringLiteral("RoundData")) > 0);
        QRandomGenerator random(15);
        int killed = 0, none = 0, complete = 0, half = 0;
        for (int run = 0; run < kKills; ++run) {
            killed += RunAndKill(build, random.bounded(wholeMs + 1)) ? 1 : 0;
            if (!QFile::exists(database)) {
                ++none;
                continue;
            }
            try {
                if (FilledRows(database) == whole)
                    ++complete;
                else
                    ++half;
            } catch (const KibicError&) {
                ++half;
            }
        }
        qInfo("build killed %d times in %d runs: no database %d, whole %d, half-made %d", killed, kKills, none,
            complete, half);
        QCOMPARE(half, 0);
        // The next build is not held up by what the killed ones left.
        QCOMPARE(Cli(build).ExitCode, 0);
        QCOMPARE(FilledRows(database), whole);
    }

    void killedTransferNeverLeavesAnOlderEntry()
    {
        DemoFolder demo;
        QVERIFY2(demo.Error.isEmpty(), qPrintable(demo.Error));
        const QString description = demo.Path(QStringLiteral("puchar.inf"));
        const QString database = demo.Build(QStringLiteral("puchar.inf"));
        QVERIFY2(!database.isEmpty(), qPrintable(demo.Error));
        // Many erasures: every one is followed by the board entered again.
        const ProgramRun played = Run(Program("kibic-terminals"),
            TerminalArguments(database,
                { QStringLiteral("--once"), QStringLiteral("--seed"), QStringLiteral("15"), QStringLiteral("--erase"),
                    QStringLiteral("0.4") }));
        QVERIFY2(played.ExitCode == 0, qPrintable(played.Err));
        const QString scores = demo.Path(QStringLiteral("puchar.ZAP"));
        const QString contracts = demo.Path(QStringLiteral("puchar.KNT"));
        const QByteArray emptyScores = ReadAll(scores);
        const QByteArray emptyContracts = ReadAll(contracts);

        // Another copy (column 1) has handled everything: the files hold the ordered pass's result.
        QCOMPARE(
            Cli({ QStringLiteral("transfer"), database, QStringLiteral("--column"), QStringLiteral("1") }).ExitCode, 0);
        QVERIFY2(CheckedResults(CheckTransfer(description, database, 1)) > 0, "the first copy's files are wrong");
        const QByteArray finalScores = ReadAll(scores);
        const QByteArray finalContracts = ReadAll(contracts);
        const QStringList transfer { QStringLiteral("transfer"), database, QStringLiteral("--column"),
            QStringLiteral("0") };
        const QStringList unmark { QStringLiteral("unmark"), database, QStringLiteral("--all"),
            QStringLiteral("--column"), QStringLiteral("0") };
        const int wholeMs = TimeOf(transfer);
        QRandomGenerator random(15);

        // The copy that is behind (column 0), killed anywhere in its pass from the start, never moves a
        // record back.
        int killed = 0, movedBack = 0;
        for (int run = 0; run < kKills; ++run) {
            QCOMPARE(Cli(unmark).ExitCode, 0);
            killed += RunAndKill(transfer, random.bounded(wholeMs + 1)) ? 1 : 0;
            if (ReadAll(scores) != finalScores || ReadAll(contracts) != finalContracts)
                ++movedBack;
        }
        qInfo("second copy killed %d times in %d runs: files with an older entry %d", killed, kKills, movedBack);
        QCOMPARE(movedBack, 0);

        // One copy alone, from fresh files, killed again and again until a run ends by itself: the files end
        // as the ordered pass leaves them. Repeated until the copy was killed often enough.
        int kills = 0;
        int rounds = 0;
        while (kills < kKills / 2 && rounds < kKills) {
            ++rounds;
            QCOMPARE(Cli(unmark).ExitCode, 0);
            for (const auto& [file, bytes] :
                { std::pair { scores, emptyScores }, std::pair { contracts, emptyContracts } }) {
                QFile out(file);
                QVERIFY(out.open(QIODevice::WriteOnly));
                out.write(bytes);
            }
            for (int tries = 0; tries < kKills && RunAndKill(transfer, random.bounded(wholeMs + 1)); ++tries)
                ++kills;
            QCOMPARE(Cli(transfer).ExitCode, 0);
            QVERIFY(ReadAll(scores) == finalScores);
            QVERIFY(ReadAll(contracts) == finalContracts);
        }
        qInfo("one copy killed %d times in %d transfers from fresh files, each ending as the ordered pass", kills,
            rounds);
        QVERIFY2(CheckedResults(CheckTransfer(description, database, 0)) > 0, "the copy's files are wrong");
    }
};

QTEST_GUILESS_MAIN(TestKilledPrograms)
#include "TestKilledPrograms.moc"
