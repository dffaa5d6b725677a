// kibic-bench-window: how the main window keeps drawing while the deals of a session are analysed. A window
// asks to be repainted every 10 ms while "Wczytaj rozkłady" analyses 36 boards with DDS behind its progress
// window; the longest time between two of its paintings is reported (the goal: at most 100 ms).
#include "BenchDeals.h"

#include "common/KibicError.h"
#include "common/Operator.h"
#include "deals/DoubleDummy.h"
#include "deals/ui/DealsLoading.h"
#include "scoringdb/uBuildBWS.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>

using namespace kibic;

namespace {

// One section of 18 tables, 18 rounds of 2 boards: 36 boards.
TournamentModel Session(const QString& base)
{
    constexpr int kTables = 18;
    TournamentModel model;
    model.TournamentBase = base;
    model.PairsEvent = true;
    model.SectionCount = 1;
    model.TableCount = kTables;
    model.RoundCount = kTables;
    model.BoardsPerRound = 2;
    model.BoardCount = 2 * kTables;
    model.ParticipantCount = 2 * kTables;
    model.ResultsPerBoard = kTables;
    model.GridTableCount = kTables;
    for (int i = 0; i <= model.BoardCount; ++i)
        model.BoardNumbers.push_back(i);
    for (int i = 0; i <= model.ParticipantCount; ++i)
        model.ParticipantNumbers.push_back(i);
    model.Movement.assign(kTables + 1, std::vector<MovementEntry>(kTables + 1));
    for (int b = 1; b <= kTables; ++b) {
        for (int r = 1; r <= kTables; ++r) {
            MovementEntry& entry = model.Movement[b][r];
            entry.Table = ((b - r) % kTables + kTables) % kTables + 1;
            entry.Round = r;
            entry.NS = entry.Table;
            entry.EW = kTables + (entry.Table + r - 2) % kTables + 1;
        }
    }
    return model;
}

// A window that notes when it is painted.
class PaintedWindow : public QWidget
{
public:
    QElapsedTimer Clock;
    qint64 LastPaint = -1;
    qint64 LongestGap = 0;
    int Paintings = 0;
    bool Measuring = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!Measuring)
            return;
        const qint64 now = Clock.elapsed();
        if (LastPaint >= 0)
            LongestGap = std::max(LongestGap, now - LastPaint);
        LastPaint = now;
        ++Paintings;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("sesja"));
    TournamentModel model = Session(base);
    ScriptedOperator quiet(ModalResult::Yes);
    try {
        if (!BuildScoringDatabase(model, quiet))
            throw KibicError(QStringLiteral("bench: the build failed"));
        const QString pbn = dir.filePath(QStringLiteral("sesja.pbn"));
        QFile file(pbn);
        if (!file.open(QIODevice::WriteOnly) || file.write(bench::ShuffledDealsPbn(36).toUtf8()) < 0)
            throw KibicError(QStringLiteral("bench: cannot write the deals"));
        file.close();

        PaintedWindow window;
        window.resize(500, 300);
        window.show();
        QTimer repaint;
        QObject::connect(&repaint, &QTimer::timeout, &window, [&window] { window.update(); });
        repaint.start(10);
        const std::unique_ptr<DoubleDummySolver> solver = MakeDdsSolver();
        window.Clock.start();
        window.Measuring = true;
        if (!LoadDealsInWindow(&window, model, base + QStringLiteral(".bws"), pbn, *solver, quiet))
            throw KibicError(QStringLiteral("bench: the analysis was cancelled"));
        window.Measuring = false;
        const qint64 took = window.Clock.elapsed();
        std::printf("bench\twindow-repaint-gap\t%lld\t%d paintings in %lld ms\n",
            static_cast<long long>(window.LongestGap), window.Paintings, static_cast<long long>(took));
        std::fprintf(stderr, "analysis by %s; target: the longest gap %lld ms <= 100\n",
            qPrintable(solver->Description()), static_cast<long long>(window.LongestGap));
    } catch (const KibicError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
