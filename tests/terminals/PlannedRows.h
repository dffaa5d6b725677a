// The rows of a whole rehearsal as the server plans them, for the tests that compare runs.
#pragma once

#include "RehearsalPlan.h"

#include <vector>

namespace kibic::test {

// Every round's rows, round after round.
inline std::vector<terminals::ReceivedRow> PlanAll(
    const terminals::ScoringLayout& layout, const terminals::RehearsalOptions& options)
{
    std::vector<terminals::ReceivedRow> rows;
    for (const int round : layout.Rounds) {
        const auto planned = terminals::PlanRound(layout, round, options);
        rows.insert(rows.end(), planned.begin(), planned.end());
    }
    return rows;
}

// The same texts keyed in: contract, declarer, result, lead and remarks.
inline bool SameKeyed(const terminals::KeyedResult& a, const terminals::KeyedResult& b)
{
    return a.Contract == b.Contract && a.Declarer == b.Declarer && a.Result == b.Result && a.LeadCard == b.LeadCard
        && a.Remarks == b.Remarks;
}

} // namespace kibic::test
