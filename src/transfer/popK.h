// The director's actions on the results grid: correct a received score, clear one handled mark or all.
#pragma once

#include "common/Operator.h"
#include "scoringdb/TTable.h"
#include "tournament/TournamentModel.h"
#include "transfer/ResultGrid.h"
#include "transfer/ScoreCorrection.h"

namespace kibic {

// Polling as the actions need it: they stop it for their work and start it again when it was on.
class PollingSwitch
{
public:
    virtual ~PollingSwitch() = default;
    [[nodiscard]] virtual bool PollingOn() const = 0;
    virtual void SetPolling(bool on) = 0;
};

// The correction window: shows the record and, on OK, gives back what the director accepted.
class CorrectionEditor
{
public:
    virtual ~CorrectionEditor() = default;
    [[nodiscard]] virtual bool EditCorrection(ScoreCorrection& correction) = 0;
};

// Everything an action works on. X and Y are the grid's current column and row.
struct GridActionContext
{
    TournamentModel& Model;
    TTable& RecTable; // "ReceivedData" of the open scoring database
    TTable& RdaTable; // "RoundData"
    ResultGrid& Grid;
    PollingSwitch& Polling;
    int X = 0;
    int Y = 0;
};

// The statements of the actions, with the values inserted as decimal numbers.
[[nodiscard]] QString LatestLiveRecordStatement(qint32 section, qint32 table, qint32 board, qint32 round);
[[nodiscard]] QString LatestErasureStatement(qint32 section, qint32 table, qint32 board, qint32 round);
[[nodiscard]] QString ClearAllMarksStatement(qint32 processedColumnNo);

// "Zgaś zaznaczenie": clears the mark of the cell's latest live record and empties the cell; the next pass
// transfers it again. Refusals (busy, a disarmed click, a header or empty cell, a cell of another round)
// are silent.
void ClearCellMark(GridActionContext context);

// "Popraw zapis": shows the cell's latest record in the correction window and, on OK, writes the
// corrected values back with the mark cleared, and empties the cell. Nothing happens when the cell's last
// entry at the table was an erasure.
void CorrectCellRecord(GridActionContext context, CorrectionEditor& editor);

// "Popraw według propozycji": as "Popraw zapis", but the correction window shows the record that the check
// of results proposes (contract, declarer, lead, tricks, "złe linie") in place of the one received; the
// director confirms or changes it, and on OK it is written back the same way.
void CorrectCellByProposal(GridActionContext context, CorrectionEditor& editor, const ScoreCorrection& proposal);

// "Zgaś wszystkie zaznaczenia": polling stays off, every mark of this instance is cleared, every data
// cell emptied, and the director is told to start polling by hand.
void ClearAllMarks(GridActionContext context, Operator& operatorUi);

// Whether "Popraw zapis" and "Zgaś zaznaczenie" are offered for the current cell: a data cell of a table
// and board that has a live record in any round, handled or not.
[[nodiscard]] bool CellActionsEnabled(
    const TournamentModel& model, TTable& recTable, const ResultGrid& grid, int x, int y);

// Empties every data cell; each waits for the next pass to transfer its entry again.
void ClearGridCells(ResultGrid& grid);

} // namespace kibic
