// Screenshots of the non-typical sector's windows: the kind choice TForm2 and the pattern editor.
#include "Screenshots.h"

#include "common/Operator.h"
#include "sectors/uNietyp.h"
#include "sectors/uSprNietyp.h"
#include "sectors/ui/TForm2.h"
#include "sectors/ui/TfrmNietyp.h"

#include <QCheckBox>
#include <QLabel>
#include <QTableWidget>

namespace kibic::screenshots {

namespace {

// The pattern editor needs a model while its window is shown; the shots keep theirs here.
struct EditorShot
{
    TournamentModel Model;
    ScriptedOperator Messages;
};

// A page of the editor, shown instead of run: the tool grabs the window as the run would show it.
class EditorPage : public TfrmNietyp
{
public:
    EditorPage(std::unique_ptr<EditorShot> shot, qint32 n, qint32 boardSet)
        : TfrmNietyp(ScratchFolder(), shot->Messages)
        , m_shot(std::move(shot))
        , m_boardSet(boardSet)
    {
        (void)EditSectorPattern(m_shot->Model, n, 0);
    }

    ModalResult ShowModalPage() override
    {
        if (Label1->text() == QStringLiteral("Kpl.") + QString::number(m_boardSet))
            return ModalResult::Cancel;
        return ModalResult::Yes;
    }

private:
    std::unique_ptr<EditorShot> m_shot;
    qint32 m_boardSet;
};

// The 8-pair Howell of 4 tables over 7 board sets with the computed proposal, pairs 21..28.
std::unique_ptr<EditorShot> HowellSector(qint32 n)
{
    auto shot = std::make_unique<EditorShot>();
    TournamentModel& model = shot->Model;
    model.PairsEvent = true;
    model.TableCount = 7;
    model.BoardsPerRound = 3;
    model.BoardCount = 21;
    model.ExtraTableCount = n;
    model.BoardNumbers.resize(22);
    for (qint32 i = 0; i <= 21; ++i)
        model.BoardNumbers[static_cast<size_t>(i)] = i;
    model.ParticipantCount = 2 * n;
    model.ParticipantNumbers.resize(static_cast<size_t>(2 * n) + 1);
    for (qint32 v = 1; v <= 2 * n; ++v)
        model.ParticipantNumbers[static_cast<size_t>(v)] = 20 + v;
    model.Movement.assign(8, std::vector<MovementEntry>(static_cast<size_t>(n) + 1));
    const int seating[7][4][2] = { { { 8, 1 }, { 5, 7 }, { 3, 4 }, { 2, 6 } },
        { { 3, 7 }, { 8, 2 }, { 6, 1 }, { 4, 5 } }, { { 5, 6 }, { 4, 1 }, { 8, 3 }, { 7, 2 } },
        { { 6, 7 }, { 5, 2 }, { 8, 4 }, { 1, 3 } }, { { 2, 4 }, { 7, 1 }, { 6, 3 }, { 8, 5 } },
        { { 3, 5 }, { 1, 2 }, { 7, 4 }, { 8, 6 } }, { { 4, 6 }, { 2, 3 }, { 1, 5 }, { 8, 7 } } };
    for (qint32 b = 1; b <= 7; ++b) {
        for (qint32 i = 1; i <= n; ++i) {
            MovementEntry& entry = model.Movement[static_cast<size_t>(b)][static_cast<size_t>(i)];
            entry.NS = i <= 4 ? seating[b - 1][i - 1][0] : 2 * i - 1;
            entry.EW = i <= 4 ? seating[b - 1][i - 1][1] : 2 * i;
        }
    }
    NonTypicalSectorHandOver sector;
    sector.RowCount = n;
    if (n == 4)
        ProposeHowellSector(model, sector);
    TranslateSectorPositions(model, sector);
    return shot;
}

std::unique_ptr<QWidget> KindChoice()
{
    auto form = std::make_unique<TForm2>();
    SectorKindChoice choice;
    choice.Enabled = { true, true, false, true }; // one ordinary section beside the sector
    form->EnableKinds(choice);
    return form;
}

// The proposal of board set 3, with the help on and a table typed into row 1.
std::unique_ptr<QWidget> EditorWithHelp()
{
    auto page = std::make_unique<EditorPage>(HowellSector(4), 4, 3);
    page->pomocCB->setChecked(true);
    page->StringGrid1->item(0, static_cast<int>(PatternColumn::Table))->setText(QStringLiteral("2"));
    return page;
}

// A sector of 23 tables: the grid keeps 23 rows in view and scrolls.
std::unique_ptr<QWidget> EditorScrolling()
{
    return std::make_unique<EditorPage>(HowellSector(23), 23, 1);
}

} // namespace

KIBIC_SCREENSHOT("sectors-kind-choice", KindChoice);
KIBIC_SCREENSHOT("sectors-editor-help", EditorWithHelp);
KIBIC_SCREENSHOT("sectors-editor-23-tables", EditorScrolling);

} // namespace kibic::screenshots
