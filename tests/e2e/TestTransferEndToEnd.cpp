// A demo tournament from its description to ZyRT's result files: kibic-cli build, kibic-terminals
// --once, kibic-cli transfer, and every record checked against ReceivedData by scripts/check-transfer.
#include "EndToEnd.h"

#include <QFile>
#include <QTest>

using namespace kibic;
using namespace kibic::e2e;

namespace {

// The grid printed by kibic-cli grid: row 0 the boards, then one line per table, label first.
std::vector<QStringList> GridLines(const QString& database, int column)
{
    const ProgramRun grid = Cli({ QStringLiteral("grid"), database, QStringLiteral("--column"), QString::number(column) });
    std::vector<QStringList> lines;
    for (const QString& line : grid.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines.push_back(line.split(QLatin1Char('\t')));
    return lines;
}

// The (section, table, board) whose last entry is an erasure: their cells and records stay empty.
qint64 BoardsLastErased(const QString& database)
{
    return Scalar(database,
        QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] r WHERE r.[Erased]<>0 AND r.[ID]=(SELECT MAX(s.[ID]) "
                       "FROM [ReceivedData] s WHERE s.[Section]=r.[Section] AND s.[Table]=r.[Table] AND "
                       "s.[Board]=r.[Board])"));
}

void WriteAt(const QString& file, qint64 offset, const QByteArray& bytes)
{
    QFile f(file);
    QVERIFY2(f.open(QIODevice::ReadWrite), qPrintable(file));
    QVERIFY(f.seek(offset));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The index of the first record of "kibic-cli results" that is filled (or, with empty, that is empty).
int FirstRecord(const QString& base, bool empty)
{
    const ProgramRun results = Cli({ QStringLiteral("results"), base });
    for (const QString& line : results.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if ((fields.value(1) == QStringLiteral("30000") && fields.value(2) == QStringLiteral("9")) == empty)
            return fields.value(0).toInt();
    }
    return -1;
}

} // namespace

class TestTransferEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    // The checker's scoring against telling rows of the Laws' scoring table, the vulnerability cycle and
    // the remarks' codes: a checker that scored wrongly would pass wrong transfers.
    void checkerScoresByTheLaws()
    {
        const ProgramRun run = Run(QStringLiteral("python3"), { SourceFile("scripts/check-transfer"), QStringLiteral("--self-test") });
        QVERIFY2(run.ExitCode == 0, qPrintable(run.Out + run.Err));
        QVERIFY(run.Out.contains(QStringLiteral(", 0 failed")));
    }

    void everyPlayedBoardReachesZyrt_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("tables");
        QTest::addColumn<int>("boards");
        QTest::newRow("pairs, two sections") << QStringLiteral("puchar.inf") << 10 << 15;
        QTest::newRow("individual") << QStringLiteral("indyw.ind") << 5 << 10;
    }

    // One pass places every row (erasures as empty slots), a second places nothing; every table's cell
    // of every board it played shows the round, except where the last entry was an erasure; every
    // record holds what the checker scores for the last entry, every other record stays empty.
    void everyPlayedBoardReachesZyrt()
    {
        QFETCH(QString, description);
        QFETCH(int, tables);
        QFETCH(int, boards);
        DemoFolder demo;
        QVERIFY2(demo.Error.isEmpty(), qPrintable(demo.Error));
        const QString database = demo.Build(description);
        QVERIFY2(!database.isEmpty(), qPrintable(demo.Error));
        const ProgramRun played = Run(Program("kibic-terminals"),
            TerminalArguments(database, QStringList { QStringLiteral("--once") } + VisibleRemarks(11)));
        QVERIFY2(played.ExitCode == 0, qPrintable(played.Err));

        const qint64 rows = Scalar(database, QStringLiteral("SELECT COUNT(*) FROM [ReceivedData]"));
        // The run has every kind of entry the transfer converts differently.
        QVERIFY(Scalar(database, QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Erased]<>0")) > 0);
        QVERIFY(Scalar(database, QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Remarks]='Not played'")) > 0);
        QVERIFY(Scalar(database, QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Remarks] LIKE '%\\%-%' ESCAPE '\\'")) > 0);
        QVERIFY(Scalar(database, QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Contract]='PASS'")) > 0);

        const ProgramRun first = Cli({ QStringLiteral("transfer"), database });
        QCOMPARE(first.ExitCode, 0);
        const auto firstPass = PassReports(first.Err);
        QCOMPARE(firstPass.size(), std::size_t(1));
        QCOMPARE(qint64(firstPass[0].Handled()), rows);
        QCOMPARE(firstPass[0].Unplaced, 0);
        const ProgramRun second = Cli({ QStringLiteral("transfer"), database });
        QCOMPARE(second.Err, QStringLiteral("przeniesione: 0, wymazane: 0, nieumieszczone: 0, zastąpione: 0\n"));

        const auto grid = GridLines(database, 0);
        QCOMPARE(int(grid.size()), tables + 1);
        int filled = 0;
        for (int row = 1; row <= tables; ++row) {
            QCOMPARE(int(grid[row].size()), boards + 1);
            for (int board = 1; board <= boards; ++board) {
                const QString& cell = grid[row][board];
                if (cell.isEmpty())
                    continue;
                QVERIFY2(cell.toInt() >= 1 && cell.toInt() <= 5, qPrintable(cell));
                ++filled;
            }
        }
        QCOMPARE(qint64(filled), qint64(tables) * boards - BoardsLastErased(database));

        const ProgramRun checked = CheckTransfer(demo.Path(description), database, 0);
        QVERIFY2(checked.ExitCode == 0, qPrintable(checked.Out + checked.Err));
        // Each filled cell is one filled record.
        QCOMPARE(CheckedResults(checked), filled);
    }

    void checkerFindsWhatDiffers_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reported");
        QTest::newRow("score word") << QStringLiteral("score") << QStringLiteral("ScoreWord");
        QTest::newRow("contract byte") << QStringLiteral("declarer") << QStringLiteral("Declarer");
        QTest::newRow("record nobody addressed") << QStringLiteral("unaddressed") << QStringLiteral("(no entry): ScoreWord 420");
        QTest::newRow("row left unmarked") << QStringLiteral("unmarked") << QStringLiteral("was not transferred");
    }

    // The checker is what make demo trusts: a wrong score, a wrong contract byte, a result where no entry
    // was keyed and a row the transfer skipped must each make it fail and say where.
    void checkerFindsWhatDiffers()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reported);
        DemoFolder demo;
        QVERIFY2(demo.Error.isEmpty(), qPrintable(demo.Error));
        const QString database = demo.Build(QStringLiteral("puchar.inf"));
        QVERIFY2(!database.isEmpty(), qPrintable(demo.Error));
        // Two rounds only, so that records nobody addressed remain.
        const ProgramRun played = Run(Program("kibic-terminals"),
            TerminalArguments(database, QStringList { QStringLiteral("--once"), QStringLiteral("--rounds"), QStringLiteral("2") } + VisibleRemarks(3)));
        QVERIFY2(played.ExitCode == 0, qPrintable(played.Err));
        QCOMPARE(Cli({ QStringLiteral("transfer"), database }).ExitCode, 0);
        const ProgramRun sound = CheckTransfer(demo.Path(QStringLiteral("puchar.inf")), database, 0);
        QVERIFY2(sound.ExitCode == 0, qPrintable(sound.Out + sound.Err));

        const QString base = demo.Path(QStringLiteral("puchar"));
        if (fault == QStringLiteral("score")) {
            WriteAt(base + QStringLiteral(".ZAP"), 2 * FirstRecord(base, false), QByteArray("\x01\x02", 2));
        } else if (fault == QStringLiteral("declarer")) {
            WriteAt(base + QStringLiteral(".KNT"), 8 * FirstRecord(base, false) + 3, QByteArray("\x05", 1));
        } else if (fault == QStringLiteral("unaddressed")) {
            const int empty = FirstRecord(base, true);
            QVERIFY(empty >= 0);
            WriteAt(base + QStringLiteral(".ZAP"), 2 * empty, QByteArray("\xa4\x01", 2)); // 420
        } else {
            DbConnection db(ScoringConnectionString(database));
            (void)db.Execute(QStringLiteral("UPDATE [ReceivedData] SET [Processed]=0 WHERE [ID]=7"));
        }
        const ProgramRun checked = CheckTransfer(demo.Path(QStringLiteral("puchar.inf")), database, 0);
        QCOMPARE(checked.ExitCode, 1);
        QVERIFY2(checked.Out.contains(reported), qPrintable(checked.Out));
        QVERIFY(checked.Out.contains(QStringLiteral("puchar.inf: ")));
    }
};

QTEST_GUILESS_MAIN(TestTransferEndToEnd)
#include "TestTransferEndToEnd.moc"
