// Mistakes keyed in on purpose on the demo tournaments, as `make demo` plays them: the session's deals loaded by
// kibic-cli hands, the tables played by kibic-terminals --mistakes, the scores transferred, and then
// scripts/check-mistakes, which compares what kibic-cli check reports with the list of what was planted,
// and scripts/check-transfer, which finds ZyRT's files still as the rows were keyed in.
#include "EndToEnd.h"

#include <QFile>
#include <QTest>

using namespace kibic;
using namespace kibic::e2e;

class TestMistakesEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void independentCheckCatchesItsOwnFaults()
    {
        const ProgramRun run = Run(QStringLiteral("python3"), { SourceFile("scripts/check-mistakes"), QStringLiteral("--self-test") });
        QCOMPARE(run.ExitCode, 0);
        QVERIFY2(run.Out.contains(QStringLiteral(", 0 failed")), qPrintable(run.Out));
    }

    void everyPlantedMistakeIsReportedAndNothingElse_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("seed");
        QTest::newRow("pairs, the demo's seed") << QStringLiteral("puchar.inf") << 2026;
        QTest::newRow("pairs, another seed") << QStringLiteral("puchar.inf") << 7;
        QTest::newRow("individual") << QStringLiteral("indyw.ind") << 2026;
    }

    void everyPlantedMistakeIsReportedAndNothingElse()
    {
        QFETCH(QString, description);
        QFETCH(int, seed);
        DemoFolder demo;
        QVERIFY2(demo.Error.isEmpty(), qPrintable(demo.Error));
        const QString database = demo.Build(description);
        QVERIFY2(!database.isEmpty(), qPrintable(demo.Error));
        const ProgramRun hands
            = Cli({ QStringLiteral("hands"), database, SourceFile("tests/data/deals/dealer-40.pbn") });
        QVERIFY2(hands.ExitCode == 0, qPrintable(hands.Err));

        const QString planted = demo.Path(QStringLiteral("pomylki.txt"));
        const ProgramRun played = Run(Program("kibic-terminals"),
            TerminalArguments(database,
                VisibleRemarks(seed)
                    + QStringList { QStringLiteral("--once"), QStringLiteral("--mistakes"), QStringLiteral("0.03"),
                          QStringLiteral("--mistakes-list"), planted }));
        QVERIFY2(played.ExitCode == 0, qPrintable(played.Err));
        QVERIFY2(played.Out.contains(QStringLiteral("lista w pliku ") + planted), qPrintable(played.Out));
        QFile list(planted);
        QVERIFY(list.open(QIODevice::ReadOnly));
        QVERIFY2(list.readAll().count('\n') >= 3, "too few mistakes planted to show anything");

        for (int pass = 0; pass < 3; ++pass) {
            const ProgramRun transferred = Cli({ QStringLiteral("transfer"), database });
            QVERIFY2(transferred.ExitCode == 0, qPrintable(transferred.Err));
        }
        const QString base = database.chopped(4);
        const QString scores = base + (description.endsWith(QStringLiteral(".ind")) ? QStringLiteral(".ZAI") : QStringLiteral(".ZAP"));
        const ProgramRun checked = Run(QStringLiteral("python3"),
            { SourceFile("scripts/check-mistakes"), planted, database, QStringLiteral("--cli"), Program("kibic-cli"),
                QStringLiteral("--files"), scores, base + QStringLiteral(".KNT") });
        QVERIFY2(checked.ExitCode == 0, qPrintable(checked.Out + checked.Err));
        QVERIFY2(checked.Out.contains(QStringLiteral("planted mistakes, all reported and nothing else")), qPrintable(checked.Out));

        // The planted rows reached ZyRT as they were keyed in: the check only reports them.
        const ProgramRun transfer = CheckTransfer(demo.Path(description), database, 0);
        QVERIFY2(CheckedResults(transfer) > 0, qPrintable(transfer.Out + transfer.Err));
    }
};

QTEST_GUILESS_MAIN(TestMistakesEndToEnd)
#include "TestMistakesEndToEnd.moc"
