// Transfer passes every 100 ms, in this process as the main window's timer runs them, while
// kibic-terminals writes its rows at full speed into the same scoring database: no row lost, none
// transferred twice, no pass failing on the busy file. The tables key the tournament in KIBIC_SOAK_RUNS
// times (every run after the first re-enters every board); in a soak a second copy watches column 2.
#include "EndToEnd.h"

#include "common/KibicError.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uOpenBWS.h"
#include "transfer/Polling.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <map>

using namespace kibic;
using namespace kibic::e2e;

#ifndef KIBIC_SOAK_RUNS
#define KIBIC_SOAK_RUNS 4
#endif

namespace {

// A grid that counts how often the transfer set each data cell: once for every row placed there.
class CountingGrid : public MemoryGrid
{
public:
    using MemoryGrid::MemoryGrid;
    void SetCell(int column, int row, const QString& text) override
    {
        if (column > 0 && row > 0)
            ++Sets[{ row, column }];
        MemoryGrid::SetCell(column, row, text);
    }
    std::map<std::pair<int, int>, int> Sets; // (grid row, grid column) -> times set
};

// The rows of ReceivedData per grid cell, counted by SQL from RoundData apart from the transfer's code:
// the demo's tables are numbered 1..5 in each section, and a board's column follows its board set.
std::map<std::pair<int, int>, int> RowsPerCell(const QString& database, int tables, int boardsPerRound)
{
    DbConnection db(ScoringConnectionString(database));
    DbRows& query = db.RunPrepared(
        QStringLiteral("SELECT (r.[Section]-1)*%1+r.[Table], (d.[custom_Komp]-1)*%2+r.[Board]-d.[LowBoard]+1, "
                       "COUNT(*) FROM [ReceivedData] r JOIN [RoundData] d ON d.[Section]=r.[Section] AND "
                       "d.[Table]=r.[Table] AND d.[Round]=r.[Round] GROUP BY 1, 2")
            .arg(tables)
            .arg(boardsPerRound),
        {}, QStringLiteral("count"));
    std::map<std::pair<int, int>, int> rows;
    while (query.Next())
        rows[{ query.Value(0).toInt(), query.Value(1).toInt() }] = query.Value(2).toInt();
    query.Finish();
    return rows;
}

} // namespace

class TestPollingUnderLoad : public QObject
{
    Q_OBJECT

private slots:
    void passesEvery100msWhileTheTablesWrite()
    {
        DemoFolder demo;
        QVERIFY2(demo.Error.isEmpty(), qPrintable(demo.Error));
        const QString database = demo.Build(QStringLiteral("puchar.inf"));
        QVERIFY2(!database.isEmpty(), qPrintable(demo.Error));

        TournamentModel model;
        model.ScoringKind = 2;
        model.CellClicked = true;
        ReadTournamentOfDatabase(model, database);
        model.GridTableCount = model.SectionCount * model.TableCount + model.ExtraTableCount;
        TTable recTable(ScoringConnectionString(database), QStringLiteral("ReceivedData"));
        TTable rdaTable(ScoringConnectionString(database), QStringLiteral("RoundData"));
        CountingGrid grid(model.BoardCount + 1, model.GridTableCount + 1);
        const TScoreProvider scorer;
        PassFeedback quiet;

        int passes = 0;
        int passesWhileWriting = 0; // passes that found rows while a run of the tables was still writing
        bool writing = false;
        int handled = 0;
        int written = 0; // rows whose records were written: placed or erased, not replaced by a later entry
        int refused = 0;
        qint64 longestPass = 0;
        QStringList failures;
        const auto pass = [&] {
            QElapsedTimer took;
            took.start();
            try {
                const PassCounts counts = TransferResults(model, recTable, rdaTable, grid, scorer, quiet);
                refused += counts.Refused ? 1 : 0;
                handled += counts.Placed + counts.Erased + counts.Superseded;
                written += counts.Placed + counts.Erased;
                ++passes;
                passesWhileWriting += writing && counts.Placed + counts.Erased + counts.Superseded > 0 ? 1 : 0;
                longestPass = std::max(longestPass, took.elapsed());
                return counts.Placed + counts.Erased + counts.Superseded;
            } catch (const KibicError& error) {
                failures.append(error.Message());
                model.Busy = false; // a later pass may try again; the failure fails the test
                return -1;
            }
        };

        QElapsedTimer clock;
        clock.start();
        // The second copy of a soak watches column 2 from its own process.
        std::unique_ptr<QProcess> secondCopy;
        if (KIBIC_SOAK_RUNS > 4) {
            secondCopy = std::make_unique<QProcess>();
            secondCopy->start(Program("kibic-cli"),
                { QStringLiteral("transfer"), database, QStringLiteral("--column"), QStringLiteral("2"),
                    QStringLiteral("--watch"), QStringLiteral("1") });
        }
        QTimer timer;
        timer.setInterval(100);
        QObject::connect(&timer, &QTimer::timeout, [&] { (void)pass(); });
        timer.start();
        int busyWaits = 0;
        for (int run = 1; run <= KIBIC_SOAK_RUNS; ++run) {
            QProcess terminals;
            terminals.start(Program("kibic-terminals"),
                TerminalArguments(database, QStringList { QStringLiteral("--once") } + VisibleRemarks(run)));
            writing = true;
            QTRY_VERIFY_WITH_TIMEOUT(terminals.state() == QProcess::NotRunning, 600000);
            writing = false;
            const QString said = QString::fromUtf8(terminals.readAllStandardOutput());
            busyWaits += int(said.count(QStringLiteral("zajęta")));
            QVERIFY2(terminals.exitStatus() == QProcess::NormalExit && terminals.exitCode() == 0,
                terminals.readAllStandardError().constData());
        }
        const qint64 played = clock.elapsed();
        timer.stop();
        // The last rows may have come after the last tick's pass.
        while (pass() > 0) { }
        const qint64 rows = Scalar(database, QStringLiteral("SELECT COUNT(*) FROM [ReceivedData]"));

        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        QCOMPARE(refused, 0);
        QCOMPARE(qint64(handled), rows);
        QCOMPARE(
            Scalar(database, QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Processed]=0")), qint64(0));
        // Every row was handed over once: each cell was set at least once and at most as often as rows
        // arrived for it (a row entered again before it was handled is not written), and every write set
        // its cell.
        const auto expected = RowsPerCell(database, model.TableCount, model.BoardsPerRound);
        QCOMPARE(int(expected.size()), model.GridTableCount * model.BoardCount);
        int sets = 0;
        for (const auto& [cell, times] : grid.Sets) {
            QVERIFY(expected.count(cell) == 1);
            QVERIFY2(times >= 1 && times <= expected.at(cell), qPrintable(QString::number(times)));
            sets += times;
        }
        QCOMPARE(int(grid.Sets.size()), int(expected.size()));
        QCOMPARE(sets, written);
        QVERIFY2(passesWhileWriting >= 2, "the passes did not overlap the writing");
        const ProgramRun checked = CheckTransfer(demo.Path(QStringLiteral("puchar.inf")), database, 0);
        QVERIFY2(checked.ExitCode == 0, qPrintable(checked.Out + checked.Err));

        if (secondCopy) {
            const auto secondDone = [&] {
                return Scalar(database, QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Processed2]=0"))
                    == 0;
            };
            QTRY_VERIFY_WITH_TIMEOUT(secondDone(), 30000);
            secondCopy->terminate();
            QVERIFY(secondCopy->waitForFinished(20000));
            const QString reported = QString::fromUtf8(secondCopy->readAllStandardError());
            int secondHandled = 0;
            for (const PassReport& report : PassReports(reported))
                secondHandled += report.Handled();
            QCOMPARE(qint64(secondHandled), rows);
            QCOMPARE(secondCopy->exitCode(), 0);
            const ProgramRun second = CheckTransfer(demo.Path(QStringLiteral("puchar.inf")), database, 2);
            QVERIFY2(second.ExitCode == 0, qPrintable(second.Out + second.Err));
        }
        qInfo("%d runs of the tables: %lld rows written in %lld ms; %d passes, %d of them placing rows while the "
              "tables wrote (longest pass %lld ms); %d busy waits of the terminals; done in %lld ms",
            KIBIC_SOAK_RUNS, rows, played, passes, passesWhileWriting, longestPass, busyWaits, clock.elapsed());
    }
};

QTEST_GUILESS_MAIN(TestPollingUnderLoad)
#include "TestPollingUnderLoad.moc"
