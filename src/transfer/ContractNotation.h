// The contract notation of the correction window: checking what the director typed, and the tricks that a
// contract level allows.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kibic {

// The fixed items of the correction window's lists.
[[nodiscard]] QStringList ContractSamples(); // "PASS", "2 C", "3 NT x", "4 S xx", "35%-60%"
[[nodiscard]] QStringList DeclarerItems(); // "N", "E", "S", "W"
[[nodiscard]] QStringList LeadCardItems(); // "C2" .. "CA", "D2" .. "SA": 52 cards
[[nodiscard]] QStringList InitialTricksItems(); // "=", "+1", "-1" .. "+6", "-6", "-7" .. "-13"

// The outcome of checking a typed contract or split score.
struct ContractCheck
{
    QString Text; // the text normalised, shown again whether accepted or not
    bool Accepted = false; // the window may close with OK
    bool ClearSelections = false; // declarer, lead card and tricks do not apply (a split score or "PASS")
    bool ClearWrongLines = false; // "złe linie" does not apply (a split score)
};

// A split score (any text with "%") must pass ParseSplitScore. Anything else is normalised to its first
// four characters in upper case and the rest in lower case ("3 nt X" becomes "3 NT x") and must be "PASS"
// or a level 1..7, a space, "C", "D", "H", "S" or "NT", and optionally a space and "x" or "xx".
[[nodiscard]] ContractCheck CheckContractNotation(const QString& typed);

// The tricks list for a contract and which entry stays selected.
struct TricksChoice
{
    QStringList Items;
    int Selected = -1; // index into Items, −1 for none
};

// For a contract starting with a level 1..7 and a space: "=", then "+i" while level + i ≤ 7 and "-i" while
// i ≤ level + 6, alternately for i = 1..13; the remembered selection stays when it is still in the list.
// For any other contract (empty, "PASS", a split score) the list is empty.
[[nodiscard]] TricksChoice TricksList(const QString& contract, const std::optional<QString>& selected);

} // namespace kibic
