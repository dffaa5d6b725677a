// Loading deals from the main window: the analysis runs off the user interface thread behind its progress
// window, which keeps drawing; "Przerwij" stops it with nothing written; the main window's button, and the
// cell tooltips with the result against the deal.
#include "DealsFixture.h"

#include "common/Operator.h"
#include "deals/SessionDeals.h"
#include "deals/ui/DealsLoading.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>

using namespace kibic;
using namespace kibic::test;

namespace {

// A solver that takes its time: 40 ms a deal, in steps that look at the cancel; what it finds for each deal
// tells the deals apart. It notes the thread it ran on.
class SlowSolver : public DoubleDummySolver
{
public:
    AnalysisOutcome Analyse(const std::vector<Deal>& deals, AnalysisProgress* progress) override
    {
        Thread = QThread::currentThread();
        AnalysisOutcome outcome;
        for (const Deal& deal : deals) {
            for (int step = 0; step < 4; ++step) {
                if (progress->Cancelled()) {
                    outcome.Cancelled = true;
                    return outcome;
                }
                QThread::msleep(10);
            }
            DealAnalysis analysis;
            analysis.Table.SetTricks(Seat::North, Denomination::Spades, deal.Board % 14);
            outcome.Analyses.push_back(analysis);
            progress->Advanced(static_cast<int>(outcome.Analyses.size()), static_cast<int>(deals.size()));
        }
        return outcome;
    }
    QString Description() const override { return QStringLiteral("wolny"); }
    std::atomic<QThread*> Thread { nullptr };
};

QProgressDialog* OpenProgress()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QProgressDialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

} // namespace

class TestDealsLoading : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->filePath(QStringLiteral("puchar"));
        m_pbn = m_dir->filePath(QStringLiteral("rozdania.pbn"));
        m_model = BuildTwoSections(m_base, "20");
        QList<int> boards;
        for (int b = 21; b <= 35; ++b)
            boards.append(b);
        WriteText(m_pbn, Pbn(boards));
    }

    // While the analysis runs, the user interface thread goes on: a timer of the window keeps firing, and the
    // progress window shows and advances; at the end the deals and their analyses are in the database.
    void analysisOffTheWindowThread()
    {
        QWidget window;
        window.show();
        int ticks = 0;
        int largestValue = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            ++ticks;
            if (QProgressDialog* dialog = OpenProgress())
                largestValue = std::max(largestValue, dialog->value());
        });
        timer.start(20);
        SlowSolver solver;
        ScriptedOperator op;
        QVERIFY(LoadDealsInWindow(&window, m_model, m_base + QStringLiteral(".bws"), m_pbn, solver, op));
        QVERIFY(solver.Thread.load() != QThread::currentThread());
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
        QVERIFY(largestValue > 0);
        QVERIFY(!OpenProgress());
        QCOMPARE(op.Messages,
            QStringList { QStringLiteral("Wczytano 15 rozdań z pliku rozdania.pbn dla 2 sektorów do bazy puchar.bws, z "
                                         "analizą w widne karty.") });
        const SessionDeals deals = ReadSessionDeals(m_base + QStringLiteral(".bws"));
        QCOMPARE(deals.Size(), std::size_t(30));
        QCOMPARE(deals.TricksOf(2, 33, Seat::North, Denomination::Spades), std::optional<int>(33 % 14));
    }

    // "Przerwij" stops the analysis between deals: nothing is written and the operator is told so.
    void cancelWritesNothing()
    {
        QWidget window;
        window.show();
        QTimer::singleShot(120, [] {
            if (QProgressDialog* dialog = OpenProgress())
                QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        });
        SlowSolver solver;
        ScriptedOperator op;
        QVERIFY(!LoadDealsInWindow(&window, m_model, m_base + QStringLiteral(".bws"), m_pbn, solver, op));
        QCOMPARE(op.Messages,
            QStringList { QStringLiteral("Analizę przerwano: rozkładów z pliku %1 nie zapisano.").arg(m_pbn) });
        QVERIFY(ReadSessionDeals(m_base + QStringLiteral(".bws")).IsEmpty());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    QString m_pbn;
    TournamentModel m_model;
};

QTEST_MAIN(TestDealsLoading)
#include "TestDealsLoading.moc"
