// kibic-cli read: the listing of a read tournament, and its exit codes.
#include "support/ProgramRun.h"
#include "support/SmallDisk.h"
#include "TournamentTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kibic::test;

namespace {

ProgramRun RunRead(const QStringList& arguments)
{
    return RunCli(QStringList { QStringLiteral("read") } + arguments);
}

} // namespace

class TestCliRead : public QObject
{
    Q_OBJECT

private slots:
    void listsTheExampleTournament()
    {
        // The description is copied into a scratch folder: reading creates its contract file beside it.
        QTemporaryDir dir;
        const QString description = dir.filePath(QStringLiteral("example.INF"));
        WriteFile(description, ReadFile(QStringLiteral(KIBIC_TEST_DATA_DIR "/tournament/example.inf")));
        const ProgramRun run = RunRead({ description });
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.ExitCode, 0);
        const QByteArray golden = ReadFile(QStringLiteral(KIBIC_TEST_DATA_DIR "/tournament/example-read.txt"));
        QVERIFY(!golden.isEmpty());
        QCOMPARE(run.OutBytes, golden);
        QCOMPARE(ReadFile(dir.filePath(QStringLiteral("example.KNT"))).size(), 75 * 8);
    }

    void scoringKindOfAFreshWindowIsKeptOrCleared_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("plain") << QByteArray("5") << QByteArray("ScoringKind\t2\n");
        QTest::newRow("plus 10000") << QByteArray("10005") << QByteArray("ScoringKind\t0\n");
    }

    void scoringKindOfAFreshWindowIsKeptOrCleared()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, line);
        QTemporaryDir dir;
        const QString description = dir.filePath(QStringLiteral("cup.inf"));
        WriteFile(description, first + " 5 3 1 0 9 0 10 5 0 0 0 0 15 0 1 2 3 4 5 6 7 8 9 10 -2");
        const ProgramRun run = RunRead({ description });
        QCOMPARE(run.ExitCode, 0);
        QVERIFY2(run.OutBytes.contains("\nTableCount\t5\n"), run.OutBytes.constData());
        QVERIFY2(run.OutBytes.contains(QByteArray(QByteArray("\n") + line)), run.OutBytes.constData());
    }

    void failuresAndBadUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no file") << QStringList {} << 2 << "użycie: kibic-cli read";
        QTest::newRow("two files") << QStringList { QStringLiteral("a.inf"), QStringLiteral("b.inf") } << 2
                                   << "użycie: kibic-cli read";
        QTest::newRow("missing file") << QStringList { QStringLiteral("/nonexistent/cup.inf") } << 1
                                      << "/nonexistent/cup.inf";
        QTest::newRow("unknown option") << QStringList { QStringLiteral("a.inf"), QStringLiteral("--sektor"),
            QStringLiteral("502") } << 2 << "Nieznana opcja --sektor.\nużycie: kibic-cli read";
        QTest::newRow("option without its value") << QStringList { QStringLiteral("a.inf"),
            QStringLiteral("--pattern") } << 2 << "Opcja --pattern wymaga wartości.\nużycie: kibic-cli read";
    }

    void failuresAndBadUsage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const ProgramRun run = RunRead(arguments);
        QCOMPARE(run.ExitCode, exitCode);
        QVERIFY2(run.Err.contains(message), qPrintable(run.Err));
        QVERIFY(run.OutBytes.isEmpty());
    }

    void descriptionThatCannotBeFollowedFails()
    {
        QTemporaryDir dir;
        const QString description = dir.filePath(QStringLiteral("cup.inf"));
        WriteFile(description, "5 5 3 1 0 9 0 ++ 5 0 0 0 0 15 0");
        const ProgramRun run = RunRead({ description });
        QCOMPARE(run.ExitCode, 1);
        QVERIFY2(run.Err.contains(description), qPrintable(run.Err));
        QVERIFY(run.OutBytes.isEmpty());
    }

    // A contract file that cannot be written whole (a full disk) fails the reading: no success, no empty
    // contract file for every later transfer to trip over.
    void fullDiskFailsTheReading()
    {
        KIBIC_SMALL_DISK(disk);
        const QString description = disk.Path(QStringLiteral("example.inf"));
        WriteFile(description, ReadFile(QStringLiteral(KIBIC_TEST_DATA_DIR "/tournament/example.inf")));
        QVERIFY(disk.Fill());
        const ProgramRun run = RunRead({ description });
        QCOMPARE(run.ExitCode, 1);
        QVERIFY2(run.Err.contains(disk.Path(QStringLiteral("example.KNT: ")) + NoSpaceText()), qPrintable(run.Err));
        QVERIFY(run.OutBytes.isEmpty());
        QVERIFY(!QFile::exists(disk.Path(QStringLiteral("example.KNT"))));
    }
};

QTEST_GUILESS_MAIN(TestCliRead)
#include "TestCliRead.moc"
