// The double-dummy analysis of deals: how many tricks each declarer takes in each strain, and the par.
#pragma once

#include "deals/Deal.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

namespace kibic {

// Tricks (0..13) that each declarer takes in each strain with every card in sight.
struct DoubleDummyTable
{
    std::array<std::array<qint8, 4>, 5> Tricks {}; // [strain as IndexOf gives it][declarer]

    [[nodiscard]] int TricksOf(Seat declarer, Denomination strain) const
    {
        return Tricks[IndexOf(strain)][IndexOf(declarer)];
    }
    void SetTricks(Seat declarer, Denomination strain, int tricks)
    {
        Tricks[IndexOf(strain)][IndexOf(declarer)] = static_cast<qint8>(tricks);
    }
    friend bool operator==(const DoubleDummyTable&, const DoubleDummyTable&) = default;
};

// The par of a deal: the score from North-South's side when both sides bid their best, with the dealer
// first to speak, and the contracts that give it as the solver writes them ("4S-NS", "5Dx-EW").
struct ParOutcome
{
    int ScoreNS = 0;
    QStringList Contracts;
};

struct DealAnalysis
{
    DoubleDummyTable Table;
    ParOutcome Par;
};

// What a long analysis reports as it goes, and how it is told to stop. Both are called from the thread that
// runs the analysis.
class AnalysisProgress
{
public:
    virtual ~AnalysisProgress() = default;
    // done of total deals are analysed.
    virtual void Advanced(int done, int total) = 0;
    // Whether the analysis should stop before the next group of deals.
    [[nodiscard]] virtual bool Cancelled() const = 0;
};

// The analyses of the first deals, one per deal in their order: all of them, or fewer when the analysis was
// cancelled.
struct AnalysisOutcome
{
    std::vector<DealAnalysis> Analyses;
    bool Cancelled = false;
};

// A double-dummy solver. One analysis runs at a time in a program; another caller waits for it.
class DoubleDummySolver
{
public:
    virtual ~DoubleDummySolver() = default;
    // Analyses every deal; progress may be null. A deal that DealProblem refuses, or a failure of the solver,
    // raises KibicError with its text.
    [[nodiscard]] virtual AnalysisOutcome Analyse(const std::vector<Deal>& deals, AnalysisProgress* progress) = 0;
    // What solves, for the operator: "DDS 2.9.0, 2 wątki".
    [[nodiscard]] virtual QString Description() const = 0;
};

// Bo Haglund's and Soren Hein's DDS.
[[nodiscard]] std::unique_ptr<DoubleDummySolver> MakeDdsSolver();

// The highest contract each side makes in each strain, no trump first: "NS 4♠ 3BA 2♥; EW 2♦" (a side's two
// hands apart when they differ: "N 3BA 4♠; S 2BA 4♠"); "nikt nic nie wygrywa" when no contract makes.
[[nodiscard]] QString MakeableContractsText(const DoubleDummyTable& table);

// The par as the director reads it: "NS 620 (4S-NS)", "EW 100 (5Hx-NS)", "0" for a board passed out.
[[nodiscard]] QString ParText(const ParOutcome& par);

} // namespace kibic
