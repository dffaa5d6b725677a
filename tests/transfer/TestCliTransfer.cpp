// kibic-cli score and results, run as a script would run them.
#include "support/ProgramRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using kibic::test::ProgramRun;

ProgramRun Cli(const QStringList& arguments, const QByteArray& input = QByteArray())
{
    kibic::test::RunOptions options;
    options.Input = input;
    return kibic::test::RunCli(arguments, options);
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
        const ProgramRun run = Cli(arguments);
        QCOMPARE(run.ExitCode, exitCode);
        QCOMPARE(run.OutBytes, out);
    }

    void scoresFromStandardInput()
    {
        const ProgramRun run = Cli({ QStringLiteral("score"), QStringLiteral("-") }, DataFile(QStringLiteral("scores.txt")));
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.OutBytes, DataFile(QStringLiteral("scores.expected.txt")));
    }

    void malformedLineStopsTheRun()
    {
        const ProgramRun run
            = Cli({ QStringLiteral("score"), QStringLiteral("-") }, QByteArray("1\t1\t4 S xN\r\n1 1 4 S xN\n"));
        QCOMPARE(run.ExitCode, 1);
        QCOMPARE(run.OutBytes, QByteArray("690\n"));
        QVERIFY2(run.Err.contains(QStringLiteral("Wiersz 2")), qPrintable(run.Err));
    }

    void resultsOfATournament_data()
    {
        QTest::addColumn<QString>("scoreExtension");
        QTest::addColumn<QString>("description"); // beside the base, empty for none
        QTest::addColumn<QString>("otherScores"); // a score file of the other kind, of a wrong size
        QTest::newRow("pairs") << ".ZAP" << "" << "";
        QTest::newRow("individual") << ".ZAI" << "" << "";
        QTest::newRow("pairs description") << ".ZAP" << ".inf" << "";
        QTest::newRow("individual description") << ".ZAI" << ".ind" << "";
        QTest::newRow("individual beside a pairs score file") << ".ZAI" << ".ind" << ".ZAP";
        QTest::newRow("pairs beside an individual score file") << ".ZAP" << ".inf" << ".ZAI";
    }

    void resultsOfATournament()
    {
        QFETCH(QString, scoreExtension);
        QFETCH(QString, description);
        QFETCH(QString, otherScores);
        QTemporaryDir dir;
        Copy(QStringLiteral("cup.ZAP"), dir.filePath(QStringLiteral("cup") + scoreExtension));
        Copy(QStringLiteral("cup.KNT"), dir.filePath(QStringLiteral("cup.KNT")));
        if (!description.isEmpty())
            Copy(QStringLiteral("cup.KNT"), dir.filePath(QStringLiteral("cup") + description));
        if (!otherScores.isEmpty()) {
            QFile other(dir.filePath(QStringLiteral("cup") + otherScores));
            QVERIFY(other.open(QIODevice::WriteOnly));
            QCOMPARE(other.write("\x10\x27", 2), 2);
        }
        const ProgramRun run = Cli({ QStringLiteral("results"), dir.filePath(QStringLiteral("cup")) });
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.OutBytes, DataFile(QStringLiteral("cup.results.txt")));
    }

    void resultsRefused_data()
    {
        QTest::addColumn<QStringList>("scoreFiles");
        QTest::addColumn<QByteArray>("contracts");
        QTest::addColumn<QByteArray>("named");
        const QStringList pairs { QStringLiteral("cup.ZAP") };
        QTest::newRow("no score file") << QStringList() << DataFile(QStringLiteral("cup.KNT")) << QByteArray("cup.ZAI");
        QTest::newRow("no contract file") << pairs << QByteArray() << QByteArray("cup.KNT");
        QTest::newRow("records do not match") << pairs << DataFile(QStringLiteral("cup.KNT")).left(24)
                                              << QByteArray("cup.KNT");
        QTest::newRow("both score files, no description")
            << QStringList { QStringLiteral("cup.ZAP"), QStringLiteral("cup.ZAI") } << DataFile(QStringLiteral("cup.KNT"))
            << QByteArray("cup.ZAI");
    }

    void resultsRefused()
    {
        QFETCH(QStringList, scoreFiles);
        QFETCH(QByteArray, contracts);
        QFETCH(QByteArray, named);
        QTemporaryDir dir;
        for (const QString& scoreFile : scoreFiles)
            Copy(QStringLiteral("cup.ZAP"), dir.filePath(scoreFile));
        if (!contracts.isEmpty()) {
            QFile file(dir.filePath(QStringLiteral("cup.KNT")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(contracts);
        }
        const ProgramRun run = Cli({ QStringLiteral("results"), dir.filePath(QStringLiteral("cup")) });
        QCOMPARE(run.ExitCode, 1);
        QVERIFY2(run.Err.contains(QString::fromUtf8(named)), qPrintable(run.Err));
        QCOMPARE(run.OutBytes, QByteArray());
    }

    void resultsUsage() { QCOMPARE(Cli({ QStringLiteral("results") }).ExitCode, 2); }
};

QTEST_GUILESS_MAIN(TestCliTransfer)
#include "TestCliTransfer.moc"
