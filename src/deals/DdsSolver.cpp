// The double-dummy analysis by DDS (Bo Haglund's and Soren Hein's solver, Apache 2.0): CalcAllTables for a
// group of deals at once, over as many threads as DDS sets up for the computer's cores, then DealerPar for
// each deal. DDS's own codes are bare numbers; they are converted here and nowhere else.
#include "deals/DoubleDummy.h"

#include "common/KibicError.h"

#include <dds/dll.h>

#include <mutex>

namespace kibic {

namespace {

// How many deals go to CalcAllTables at a time. DDS takes at most MAXNOOFTABLES deals when all five strains
// are asked for; a smaller group lets the progress advance and a cancel take effect between groups while
// each group still gives both threads of a 2-core computer 40 strain tables to share (36 deals in groups of
// 8 took no longer than in one call, measured on such a computer).
constexpr int kDealsPerCall = 8;
static_assert(kDealsPerCall <= MAXNOOFTABLES);

// DDS keeps its transposition tables and threads in the library: one analysis at a time.
std::mutex g_ddsInUse;

// The DDS documentation's codes: hands 0 North, 1 East, 2 South, 3 West; suits 0 spades, 1 hearts,
// 2 diamonds, 3 clubs, strain 4 no trump; vulnerability 0 none, 1 both, 2 North-South, 3 East-West.
int DdsHand(Seat seat)
{
    return IndexOf(seat);
}

int DdsStrain(Denomination strain)
{
    switch (strain) {
    case Denomination::Spades:
        return 0;
    case Denomination::Hearts:
        return 1;
    case Denomination::Diamonds:
        return 2;
    case Denomination::Clubs:
        return 3;
    case Denomination::NoTrump:
        return 4;
    }
    return 4;
}

int DdsVulnerability(Vulnerability vulnerable)
{
    switch (vulnerable) {
    case Vulnerability::None:
        return 0;
    case Vulnerability::Both:
        return 1;
    case Vulnerability::NorthSouth:
        return 2;
    case Vulnerability::EastWest:
        return 3;
    }
    return 0;
}

// A holding is kept in DDS's own layout already: bit r for rank r, 2..14.
ddTableDeal DdsDeal(const Deal& deal)
{
    ddTableDeal dds {};
    for (const Seat seat : kSeats) {
        for (const Suit suit : kSuits)
            dds.cards[DdsHand(seat)][DdsStrain(suit)] = deal.HoldingOf(seat, suit);
    }
    return dds;
}

DoubleDummyTable TableOf(const ddTableResults& results)
{
    DoubleDummyTable table;
    for (const Seat seat : kSeats) {
        for (const Denomination strain : kStrains)
            table.SetTricks(seat, strain, results.resTable[DdsStrain(strain)][DdsHand(seat)]);
    }
    return table;
}

QString DdsErrorText(int code)
{
    char text[80] = {};
    ErrorMessage(code, text);
    return QString::fromLatin1(text);
}

[[noreturn]] void RefuseAnalysis(const QString& function, int code)
{
    throw KibicError(QStringLiteral("Analiza rozdań (DDS, %1) nie powiodła się: %2 (kod %3)")
                         .arg(function, DdsErrorText(code))
                         .arg(code));
}

ParOutcome ParOf(ddTableResults& results, const Deal& deal)
{
    parResultsDealer par {};
    const int code = DealerPar(&results, &par, DdsHand(deal.Dealer), DdsVulnerability(deal.Vulnerable));
    if (code != RETURN_NO_FAULT)
        RefuseAnalysis(QStringLiteral("DealerPar"), code);
    ParOutcome outcome;
    outcome.ScoreNS = par.score;
    for (int i = 0; i < par.number && i < 10; ++i)
        outcome.Contracts.append(QString::fromLatin1(par.contracts[i]));
    return outcome;
}

class DdsSolver : public DoubleDummySolver
{
public:
    AnalysisOutcome Analyse(const std::vector<Deal>& deals, AnalysisProgress* progress) override
    {
        // DDS takes any bits it is given for cards; a deal that is no deal of the pack never reaches it.
        for (const Deal& deal : deals) {
            if (const QString problem = DealProblem(deal); !problem.isEmpty())
                throw KibicError(QStringLiteral("Rozdanie %1 nie nadaje się do analizy: %2.").arg(deal.Board).arg(problem));
        }
        const std::lock_guard<std::mutex> inUse(g_ddsInUse);
        AnalysisOutcome outcome;
        const int total = static_cast<int>(deals.size());
        for (int first = 0; first < total; first += kDealsPerCall) {
            if (progress && progress->Cancelled()) {
                outcome.Cancelled = true;
                return outcome;
            }
            AnalyseGroup(deals, first, std::min(total, first + kDealsPerCall), outcome.Analyses);
            if (progress)
                progress->Advanced(static_cast<int>(outcome.Analyses.size()), total);
        }
        return outcome;
    }

    QString Description() const override
    {
        const std::lock_guard<std::mutex> inUse(g_ddsInUse);
        DDSInfo info {};
        GetDDSInfo(&info);
        return QStringLiteral("DDS %1, wątki: %2").arg(QString::fromLatin1(info.versionString)).arg(info.noOfThreads);
    }

private:
    static void AnalyseGroup(const std::vector<Deal>& deals, int first, int end, std::vector<DealAnalysis>& into)
    {
        // The structures hold room for 200 tables each: too large for a thread's stack.
        auto tables = std::make_unique<ddTableDeals>();
        auto results = std::make_unique<ddTablesRes>();
        auto pars = std::make_unique<allParResults>();
        tables->noOfTables = end - first;
        for (int i = first; i < end; ++i)
            tables->deals[i - first] = DdsDeal(deals[static_cast<std::size_t>(i)]);
        int everyStrain[DDS_STRAINS] = { 0, 0, 0, 0, 0 }; // 0: the strain is analysed
        // Mode -1: no par here; each deal's par needs its own dealer and vulnerability (DealerPar below).
        const int code = CalcAllTables(tables.get(), -1, everyStrain, results.get(), pars.get());
        if (code != RETURN_NO_FAULT)
            RefuseAnalysis(QStringLiteral("CalcAllTables"), code);
        for (int i = first; i < end; ++i) {
            ddTableResults& result = results->results[i - first];
            into.push_back({ TableOf(result), ParOf(result, deals[static_cast<std::size_t>(i)]) });
        }
    }
};

} // namespace

std::unique_ptr<DoubleDummySolver> MakeDdsSolver()
{
    return std::make_unique<DdsSolver>();
}

} // namespace kibic
