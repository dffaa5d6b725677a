// What a table keys in for one board: a contract with its declarer, result and lead, or a remark.
#pragma once

#include "RehearsalRandom.h"

#include "deals/Deal.h"
#include "deals/DoubleDummy.h"

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

// A board played out on its deal: the side that takes more tricks declares its best strain (now and then the
// other side competes in its own), from the hand that takes more tricks in it; the level is what the table
// makes double dummy, give or take one; the tricks taken are the double-dummy tricks, mostly exact, now and
// then one or two off either way; a contract going two or more down is sometimes doubled. The lead, when asked
// for, is a card of the hand on the declarer's left. A deal where neither side makes more than seven tricks is
// now and then passed out.
[[nodiscard]] KeyedResult PlayedDeal(
    RehearsalRandom& random, const Deal& deal, const DoubleDummyTable& table, bool withLeadCard);

// A board played out without its double-dummy table: with the lead, when asked for and somebody declares, a
// card of the hand on the declarer's left.
[[nodiscard]] KeyedResult WithLeadFromTheDeal(
    KeyedResult played, RehearsalRandom& random, const Deal& deal, bool withLeadCard);

// Tricks against the contract as the terminals key them in: "=", "+1", "-2".
[[nodiscard]] QString ResultText(int tricksAgainstContract);

// A score the director gave instead of a result: NS and EW percentages, multiples of 5 between 30 and
// 70, mostly adding up to 100, never both 50 ("60%-40%", "55%-55%").
[[nodiscard]] QString SplitScoreRemark(RehearsalRandom& random);

} // namespace kibic::terminals
