// What a table keys in for one board: a contract with its declarer, result and lead, or a remark.
#pragma once

#include "RehearsalRandom.h"

#include <QString>
#include <QStringView>

namespace kibic::terminals {

// The texts of one result as the terminals write them into ReceivedData.
struct KeyedResult
{
    QString Contract; // "PASS", "1 C", "3 NT", "4 S x", "6 H xx"; empty for a board not played or a split score
    QString Declarer; // "N", "E", "S" or "W"; empty when nobody declares
    QString Result; // "=", "+1", "-2" (tricks against the contract); empty when nobody declares
    QString LeadCard; // suit letter and rank, "H10", "SA", "D7"; empty when not asked for or nobody declares
    QString Remarks; // empty, "Not played" or a split score such as "60%-40%"
};

inline constexpr QStringView kNotPlayedRemark = u"Not played";
inline constexpr QStringView kErasedRemark = u"Result erased";

// A board played out: a contract drawn from what tables bid (mostly part scores and games, few slams,
// a few passed out, now and then doubled), a declarer, a result that the contract can have (between 0
// and 13 tricks, mostly within one trick of the contract, doubled contracts more often down) and, when
// asked for, the opening lead.
[[nodiscard]] KeyedResult PlayedBoard(RehearsalRandom& random, bool withLeadCard);

// A score the director gave instead of a result: NS and EW percentages, multiples of 5 between 30 and
// 70, mostly adding up to 100, never both 50 ("60%-40%", "55%-55%").
[[nodiscard]] QString SplitScoreRemark(RehearsalRandom& random);

} // namespace kibic::terminals
