// The window's answers to a non-typical sector: TForm2 for its kind, TfrmNietyp for its pattern.
#pragma once

#include "sectors/uSprNietyp.h"

#include <QString>

class QWidget;

namespace kibic {

class WindowSectorOperator : public SectorOperator
{
public:
    // parent owns the dialogs while they are shown; patternFolder is where the pattern file dialogs
    // start; messages shows the editor's messages (a pattern refused, a pattern file that failed).
    WindowSectorOperator(QWidget* parent, QString patternFolder, Operator& messages);

    [[nodiscard]] std::optional<SectorKind> ChooseSectorKind(const SectorKindChoice& choice) override;
    [[nodiscard]] bool EditSectorPattern(TournamentModel& model, qint32 n, qint32 o) override;

private:
    QWidget* m_parent;
    QString m_patternFolder;
    Operator& m_messages;
};

} // namespace kibic
