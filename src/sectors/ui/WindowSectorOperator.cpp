// The window's answers to a non-typical sector: TForm2 for its kind, TfrmNietyp for its pattern.
#include "sectors/ui/WindowSectorOperator.h"

#include "sectors/ui/TForm2.h"
#include "sectors/ui/TfrmNietyp.h"

namespace kibic {

WindowSectorOperator::WindowSectorOperator(QWidget* parent, QString patternFolder, Operator& messages)
    : m_parent(parent)
    , m_patternFolder(std::move(patternFolder))
    , m_messages(messages)
{
}

std::optional<SectorKind> WindowSectorOperator::ChooseSectorKind(const SectorKindChoice& choice)
{
    TForm2 form(m_parent);
    form.EnableKinds(choice);
    return form.ChooseKind();
}

bool WindowSectorOperator::EditSectorPattern(TournamentModel& model, qint32 n, qint32 o)
{
    TfrmNietyp form(m_patternFolder, m_messages, m_parent);
    return form.EditSectorPattern(model, n, o);
}

} // namespace kibic
