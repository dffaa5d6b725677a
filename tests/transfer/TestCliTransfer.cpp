// kibic-cli score and results, run as a script would run them.
#include "KibicPrograms.h"
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int ExitCode = -1;
    QByteArray Out;
    QByteArray Err;
};

Run Cli(const QStringList& arguments, const QByteArray& input = QByteArray())
{
    QProcess process;
    process.start(kibic::test::KibicProgram("kibic-cli"), arguments);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
        process.readAllStandardError() };
}

QByteArray DataFile(const QString& name)
{
    QFile file(QStringLiteral(KIBIC_TEST_DATA_DIR "/transfer/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Copy(const QString& name, const QString& target)
{
    QVERIFY(QFile::copy(QStringLiteral(KIBIC_TEST_DATA_DIR "/transfer/") + name, target));
}

QStringList Args(std::initializer_list<const char*> texts)
{
    QStringList arguments;
    for (const char* text : texts)
        arguments.append(QString::fromUtf8(text));
    return arguments;
}

} // namespace

class TestCliTransfer : public QObject
{
    Q_OBJECT

private slots:
    void scoreOfOneResult_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("one text") << Args({ "score", "1", "1", "4 S xN" }) << 0 << QByteArray("690\n");
        QTest::newRow("text in pieces") << Args({ "score", "2", "1", "4", "S", "x", "N" }) << 0 << QByteArray("990\n");
        QTest::newRow("down") << Args({ "score", "3", "-2", "3 NTE" }) << 0 << QByteArray("200\n");
        QTest::newRow("unscorable") << Args({ "score", "1", "0", "4 S" }) << 0 << QByteArray("9999\n");
        QTest::newRow("board not a number") << Args({ "score", "x", "0", "4 SN" }) << 2 << QByteArray();
        QTest::newRow("text missing") << Args({ "score", "1", "0" }) << 2 << QByteArray();
    }

    void scoreOfOneResult()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        const Run run = Cli(arguments);
        QCOMPARE(run.ExitCode, exitCode);
        QCOMPARE(run.Out, out);
    }

    void scoresFromStandardInput()
    {
        const Run run = Cli({ QStringLiteral("score"), QStringLiteral("-") }, DataFile(QStringLiteral("scores.txt")));
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.Out, DataFile(QStringLiteral("scores.expected.txt")));
    }

    void malformedLineStopsTheRun()
    {
        const Run run
            = Cli({ QStringLiteral("score"), QStringLiteral("-") }, QByteArray("1\t1\t4 S xN\r\n1 1 4 S xN\n"));
        QCOMPARE(run.ExitCode, 1);
        QCOMPARE(run.Out, QByteArray("690\n"));
        QVERIFY2(run.Err.contains("Wiersz 2"), run.Err.constData());
    }

    void resultsOfATournament_data()
    {
        QTest::addColumn<QString>("scoreExtension");
        QTest::newRow("pairs") << ".ZAP";
        QTest::newRow("individual") << ".ZAI";
    }

    void resultsOfATournament()
    {
        QFETCH(QString, scoreExtension);
        QTemporaryDir dir;
        Copy(QStringLiteral("cup.ZAP"), dir.filePath(QStringLiteral("cup") + scoreExtension));
        Copy(QStringLiteral("cup.KNT"), dir.filePath(QStringLiteral("cup.KNT")));
        const Run run = Cli({ QStringLiteral("results"), dir.filePath(QStringLiteral("cup")) });
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.Out, DataFile(QStringLiteral("cup.results.txt")));
    }

    void resultsRefused_data()
    {
        QTest::addColumn<bool>("scores");
        QTest::addColumn<QByteArray>("contracts");
        QTest::addColumn<QByteArray>("named");
        QTest::newRow("no score file") << false << DataFile(QStringLiteral("cup.KNT")) << QByteArray("cup.ZAI");
        QTest::newRow("no contract file") << true << QByteArray() << QByteArray("cup.KNT");
        QTest::newRow("records do not match")
            << true << DataFile(QStringLiteral("cup.KNT")).left(24) << QByteArray("cup.KNT");
    }

    void resultsRefused()
    {
        QFETCH(bool, scores);
        QFETCH(QByteArray, contracts);
        QFETCH(QByteArray, named);
        QTemporaryDir dir;
        if (scores)
            Copy(QStringLiteral("cup.ZAP"), dir.filePath(QStringLiteral("cup.ZAP")));
        if (!contracts.isEmpty()) {
            QFile file(dir.filePath(QStringLiteral("cup.KNT")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(contracts);
        }
        const Run run = Cli({ QStringLiteral("results"), dir.filePath(QStringLiteral("cup")) });
        QCOMPARE(run.ExitCode, 1);
        QVERIFY2(run.Err.contains(named), run.Err.constData());
        QCOMPARE(run.Out, QByteArray());
    }

    void resultsUsage() { QCOMPARE(Cli({ QStringLiteral("results") }).ExitCode, 2); }
};

QTEST_GUILESS_MAIN(TestCliTransfer)
#include "TestCliTransfer.moc"
