// The analysis of the deals behind a progress window.
#include "deals/ui/DealsLoading.h"

#include "common/Operator.h"
#include "deals/LoadDeals.h"

#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <atomic>
#include <exception>
#include <memory>

namespace kibic {

namespace {

// Carries the analysis's progress to the window (queued into the user interface thread) and the window's
// cancel back to the analysis.
class WindowProgress : public AnalysisProgress
{
public:
    explicit WindowProgress(QProgressDialog* dialog)
        : m_dialog(dialog)
    {
    }
    void Advanced(int done, int) override
    {
        QMetaObject::invokeMethod(
            m_dialog.data(),
            [dialog = m_dialog, done] {
                if (dialog)
                    dialog->setValue(done);
            },
            Qt::QueuedConnection);
    }
    [[nodiscard]] bool Cancelled() const override { return m_cancelled.load(); }
    void Cancel() { m_cancelled = true; }

private:
    QPointer<QProgressDialog> m_dialog;
    std::atomic<bool> m_cancelled { false };
};

} // namespace

QProgressDialog* MakeAnalysisProgress(QWidget* parent, int total)
{
    auto* dialog = new QProgressDialog(
        QStringLiteral("Analiza rozdań w widne karty…"), QStringLiteral("Przerwij"), 0, total, parent);
    dialog->setObjectName(QStringLiteral("AnalysisProgress"));
    dialog->setWindowTitle(QStringLiteral("Wczytywanie rozkładów"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    dialog->setValue(0);
    return dialog;
}

bool LoadDealsInWindow(QWidget* parent, const TournamentModel& model, const QString& databaseFile,
    const QString& pbnFile, DoubleDummySolver& solver, Operator& op)
{
    const DealsToLoad deals = PrepareDeals(model, databaseFile, pbnFile);
    std::unique_ptr<QProgressDialog> dialog(MakeAnalysisProgress(parent, static_cast<int>(deals.Deals.size())));
    WindowProgress progress(dialog.get());
    QObject::connect(dialog.get(), &QProgressDialog::canceled, dialog.get(), [&progress] { progress.Cancel(); });

    AnalysisOutcome outcome;
    std::exception_ptr failure;
    QEventLoop waiting;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            outcome = AnalyseDeals(deals, solver, &progress);
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QObject::connect(worker.get(), &QThread::finished, &waiting, &QEventLoop::quit);
    worker->start();
    waiting.exec();
    worker->wait();
    dialog.reset();
    if (failure)
        std::rethrow_exception(failure);
    if (outcome.Cancelled) {
        op.ShowInfo(QStringLiteral("Analizę przerwano: rozkładów z pliku %1 nie zapisano.").arg(pbnFile));
        return false;
    }
    StoreDeals(deals, &outcome.Analyses);
    op.ShowInfo(LoadedDealsText(deals, true));
    return true;
}

} // namespace kibic
