// The check of the results that reached ZyRT.
#include "transfer/ResultsCheck.h"

#include "deals/SessionDeals.h"
#include "transfer/uScoreProvider.h"

namespace kibic {

QString FindingKindWord(FindingKind kind)
{
    switch (kind) {
    case FindingKind::Side:
        return QStringLiteral("side");
    case FindingKind::Declarer:
        return QStringLiteral("declarer");
    case FindingKind::Tricks:
        return QStringLiteral("tricks");
    case FindingKind::Board:
        return QStringLiteral("board");
    case FindingKind::Pairs:
        return QStringLiteral("pairs");
    case FindingKind::Outlier:
        return QStringLiteral("outlier");
    }
    return QStringLiteral("outlier");
}

std::vector<ResultFinding> CheckResults(
    const std::vector<CheckedResult>& results, const SessionDeals* deals, const TScoreProvider& scorer)
{
    Q_UNUSED(results);
    Q_UNUSED(deals);
    Q_UNUSED(scorer);
    return {};
}

} // namespace kibic
