// The grid's suspicious cells and what their tooltips say of them.
#include "transfer/CellSuspicions.h"

namespace kibic {

void CellSuspicions::Remember(int column, int row, const CellEntry& entry)
{
    if (entry.State == CellEntry::Why::Transferred && entry.Suspicion)
        m_findings[{ column, row }] = *entry.Suspicion;
    else
        m_findings.erase({ column, row });
}

const ResultFinding* CellSuspicions::At(int column, int row) const
{
    const auto found = m_findings.find({ column, row });
    return found == m_findings.end() ? nullptr : &found->second;
}

std::optional<ScoreCorrection> CellSuspicions::ProposalAt(int column, int row) const
{
    const ResultFinding* finding = At(column, row);
    if (!finding)
        return std::nullopt;
    return finding->Proposed;
}

QString SuspicionHint(const ResultFinding& finding)
{
    const QString proposal = finding.Proposed && !finding.ProposedNotation.trimmed().isEmpty()
        ? QStringLiteral("Propozycja: ") + finding.ProposedNotation.trimmed()
        : QStringLiteral("Propozycji nie ma: sprawdź zapis przy stole");
    return QStringLiteral("Podejrzany zapis: ") + finding.Reason.trimmed() + QLatin1Char('\n') + proposal;
}

} // namespace kibic
