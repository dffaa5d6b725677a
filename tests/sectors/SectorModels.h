// Hand-built tournaments with a non-typical sector, and operators that answer from a script.
#pragma once

#include "common/Operator.h"
#include "sectors/uSprNietyp.h"
#include "support/TournamentModels.h"
#include "tournament/NonTypicalSector.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kibic::test {

// A tournament of `sections` ordinary sections of `boardSets` tables and `rounds` rounds, followed by a
// non-typical sector of n tables. Ordinary positions k hold pair (or player) k; the sector's position v
// holds 100 + v, for v = 1..sectorPositions (2n by default). Board i is printed as 20 + i.
struct SectorTournament
{
    TournamentModel Model;
    NonTypicalSectorHandOver Sector;

    MovementEntry& Row(qint32 b, qint32 i) { return SectorEntry(Model, Sector.SlotOffset, b, i); }

    void SetRow(qint32 b, qint32 i, qint32 ns, qint32 ew)
    {
        Row(b, i).NS = ns;
        Row(b, i).EW = ew;
    }

    void SetTableRound(qint32 b, qint32 i, qint32 table, qint32 round)
    {
        Row(b, i).Table = table;
        Row(b, i).Round = round;
    }

    // Every row of the sector as (Table, Round), board set by board set.
    std::vector<std::vector<std::pair<qint32, qint32>>> TablesAndRounds()
    {
        std::vector<std::vector<std::pair<qint32, qint32>>> all;
        for (qint32 b = 1; b <= Model.TableCount; ++b) {
            all.emplace_back();
            for (qint32 i = 1; i <= Sector.RowCount; ++i)
                all.back().emplace_back(Row(b, i).Table, Row(b, i).Round);
        }
        return all;
    }
};

inline SectorTournament MakeSectorTournament(qint32 boardSets, qint32 n, qint32 sections = 0, qint32 rounds = 0,
    bool pairsEvent = true, qint32 shift = 0, qint32 sectorPositions = -1)
{
    SectorTournament t;
    ModelCounts counts;
    counts.PairsEvent = pairsEvent;
    counts.Sections = sections;
    counts.Tables = boardSets;
    counts.Rounds = rounds;
    counts.BoardsPerRound = 2;
    counts.ExtraTables = n;
    counts.FirstBoardNumber = 21;
    t.Model = MakeModel(counts);
    TournamentModel& m = t.Model;
    const qint32 seatsPerTable = pairsEvent ? 2 : 4;
    const qint32 p = seatsPerTable * boardSets * sections;
    const qint32 positions = sectorPositions < 0 ? 2 * n : sectorPositions;
    m.ParticipantCount = p + positions;
    m.ParticipantNumbers.resize(static_cast<size_t>(m.ParticipantCount) + 1);
    for (qint32 k = 1; k <= p; ++k)
        m.ParticipantNumbers[static_cast<size_t>(k)] = k;
    for (qint32 v = 1; v <= positions; ++v)
        m.ParticipantNumbers[static_cast<size_t>(p + v)] = 100 + v;
    t.Sector.RowCount = n;
    t.Sector.SlotOffset = rounds * sections;
    t.Sector.PositionOffset = p;
    t.Sector.Shift = shift;
    return t;
}

// Answers the kind choice with Kind and runs Editor (if any) as the pattern editor.
class ScriptedSectorOperator : public SectorOperator
{
public:
    std::optional<SectorKind> ChooseSectorKind(const SectorKindChoice& choice) override
    {
        Offered = choice;
        return Kind;
    }

    bool EditSectorPattern(TournamentModel& model, qint32 n, qint32 o) override
    {
        ++EditorRuns;
        EditorArguments = { n, o };
        AtEditor = model.Movement;
        return Editor ? Editor(model, n, o) : EditorResult;
    }

    std::optional<SectorKind> Kind; // none: the window closed without a choice
    bool EditorResult = false;
    std::function<bool(TournamentModel&, qint32, qint32)> Editor;

    std::optional<SectorKindChoice> Offered;
    int EditorRuns = 0;
    std::pair<qint32, qint32> EditorArguments;
    std::vector<std::vector<MovementEntry>> AtEditor; // the movement as the editor received it
};

// Answers every question with Answer and keeps what it was asked.
class RecordingOperator : public Operator
{
public:
    struct Message
    {
        QString Text;
        DialogKind Kind = DialogKind::Warning;
        DialogButtons Buttons;
    };

    ModalResult ShowMessageDialog(const QString& text, DialogKind kind, DialogButtons buttons) override
    {
        Messages.push_back({ text, kind, buttons });
        return buttons == DialogButton::Ok ? ModalResult::Ok : Answer;
    }

    void ShowError(const QString& text) override { Errors.append(text); }

    ModalResult Answer = ModalResult::Cancel;
    std::vector<Message> Messages;
    QStringList Errors;
};

} // namespace kibic::test
