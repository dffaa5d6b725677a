// Two copies of Kibic on one scoring database, with the marks "Processed1" and "Processed2", while the
// tables are still keying in: each copy transfers every row once and leaves the other's marks alone.
#include "EndToEnd.h"

#include <QElapsedTimer>
#include <QTest>

using namespace kibic;
using namespace kibic::e2e;

namespace {

// A running "kibic-cli transfer --watch 1 --column N" and what its passes reported.
class Watcher
{
public:
    Watcher(const QString& database, int column)
    {
        m_process.start(Program("kibic-cli"),
            { QStringLiteral("transfer"), database, QStringLiteral("--column"), QString::number(column),
                QStringLiteral("--watch"), QStringLiteral("1") });
    }

    ~Watcher()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // The rows every pass so far handled, placed or erased.
    int Handled()
    {
        m_errors += QString::fromUtf8(m_process.readAllStandardError());
        int handled = 0;
        for (const PassReport& pass : PassReports(m_errors))
            handled += pass.Handled();
        return handled;
    }

    int Passes()
    {
        m_errors += QString::fromUtf8(m_process.readAllStandardError());
        return int(PassReports(m_errors).size());
    }

    // Whether a pass failed (and was tried again at the next interval).
    bool Failed() const { return m_errors.contains(QStringLiteral("przebieg nieudany")); }

    // Stops the watch as an interrupt does; true when it ended on its own with exit code 0.
    bool Stop()
    {
        m_process.terminate();
        const bool ended = m_process.waitForFinished(20000);
        m_errors += QString::fromUtf8(m_process.readAllStandardError());
        return ended && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }

    const QString& Errors() const { return m_errors; }

private:
    QProcess m_process;
    QString m_errors;
};

} // namespace

class TestTwoInstances : public QObject
{
    Q_OBJECT

private slots:
    void eachTransfersEveryRowOnce()
    {
        DemoFolder demo;
        QVERIFY2(demo.Error.isEmpty(), qPrintable(demo.Error));
        const QString database = demo.Build(QStringLiteral("puchar.inf"));
        QVERIFY2(!database.isEmpty(), qPrintable(demo.Error));

        QElapsedTimer clock;
        clock.start();
        // About 150 rows a second: the tables are still keying in while both copies pass over the table.
        // Both copies watch before the tables key in anything (their first passes find nothing), so that
        // however slowly they start, later passes meet the rows while they are written.
        Watcher first(database, 1);
        Watcher second(database, 2);
        QTRY_VERIFY_WITH_TIMEOUT(first.Passes() >= 1 && second.Passes() >= 1, 20000);
        QProcess terminals;
        terminals.start(Program("kibic-terminals"),
            TerminalArguments(database, QStringList { QStringLiteral("--rate"), QStringLiteral("150") } + VisibleRemarks(5)));
        QVERIFY(terminals.waitForFinished(60000));
        QVERIFY2(terminals.exitCode() == 0, terminals.readAllStandardError().constData());
        const qint64 played = clock.elapsed();

        const qint64 rows = Scalar(database, QStringLiteral("SELECT COUNT(*) FROM [ReceivedData]"));
        QVERIFY(rows > 150);
        // Every row is handled by each copy: a row handled twice would carry the sum past the rows. A watched
        // pass that failed is reported and tried again; the rows it marked before the failure are in no
        // count, so then the counts may fall short and the marks in the database tell that all were handled.
        const auto allMarked = [&](int column) {
            const QString unmarked = QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Processed%1]=0");
            return Scalar(database, unmarked.arg(column)) == 0;
        };
        QTRY_VERIFY2_WITH_TIMEOUT((first.Handled() >= rows || (first.Failed() && allMarked(1)))
                && (second.Handled() >= rows || (second.Failed() && allMarked(2))),
            qPrintable(QStringLiteral("%1 rows; column 1:\n%2\ncolumn 2:\n%3")
                           .arg(rows)
                           .arg(first.Errors(), second.Errors())),
            20000);
        QVERIFY2(first.Stop(), qPrintable(first.Errors()));
        QVERIFY2(second.Stop(), qPrintable(second.Errors()));
        for (Watcher* watcher : { &first, &second }) {
            if (watcher->Failed())
                QVERIFY(watcher->Handled() <= int(rows));
            else
                QCOMPARE(watcher->Handled(), int(rows));
        }
        QVERIFY2(first.Passes() >= 2 && second.Passes() >= 2, "the passes did not overlap the writing");

        for (const int column : { 1, 2 }) {
            const QString mark = QStringLiteral("[Processed%1]").arg(column);
            QCOMPARE(Scalar(database, QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE %1<>0").arg(mark)), rows);
            const ProgramRun again
                = Cli({ QStringLiteral("transfer"), database, QStringLiteral("--column"), QString::number(column) });
            QCOMPARE(again.Err, QStringLiteral("przeniesione: 0, wymazane: 0, nieumieszczone: 0, zastąpione: 0\n"));
            const ProgramRun checked = CheckTransfer(demo.Path(QStringLiteral("puchar.inf")), database, column);
            QVERIFY2(checked.ExitCode == 0, qPrintable(checked.Out + checked.Err));
        }
        // The copy without a number and the other numbers never marked anything.
        QCOMPARE(Scalar(database,
                     QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Processed]<>0 OR [Processed3]<>0 OR "
                                    "[Processed4]<>0")),
            qint64(0));
        qInfo("%lld rows played in %lld ms; passes: column 1 %d, column 2 %d; all done in %lld ms", rows, played,
            first.Passes(), second.Passes(), clock.elapsed());
    }
};

QTEST_GUILESS_MAIN(TestTwoInstances)
#include "TestTwoInstances.moc"
