// The grid's suspicious cells as the window keeps them: what the check of results says of each cell's latest
// transferred entry, for the cell's colour, its tooltip, "Popraw według propozycji" and the count under the
// status.
#pragma once

#include "transfer/ResultGrid.h"
#include "transfer/ResultsCheck.h"
#include "transfer/ScoreCorrection.h"

#include <map>
#include <optional>
#include <utility>

namespace kibic {

class CellSuspicions
{
public:
    // Keeps the entry's finding for data cell (column, row), or forgets the cell's finding when the entry
    // has none: a later entry that is not suspicious, an erasure, a mark cleared for the next pass.
    void Remember(int column, int row, const CellEntry& entry);
    void Clear() { m_findings.clear(); }

    // The finding of the cell; null when the cell is not suspicious.
    [[nodiscard]] const ResultFinding* At(int column, int row) const;
    [[nodiscard]] int Count() const { return static_cast<int>(m_findings.size()); }

    // The record that "Popraw według propozycji" opens the correction window with: the correction that the
    // cell's finding proposes. Nothing when the cell is not suspicious or no one correction explains it, and
    // then the item is not offered.
    [[nodiscard]] std::optional<ScoreCorrection> ProposalAt(int column, int row) const;

private:
    std::map<std::pair<int, int>, ResultFinding> m_findings;
};

// The first lines of a suspicious cell's tooltip: the reason, then the proposed correction in the correction
// window's notation, or that there is none to propose.
[[nodiscard]] QString SuspicionHint(const ResultFinding& finding);

} // namespace kibic
