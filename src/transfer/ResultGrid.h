// The results grid as the transfer sees it: cells of tables (rows) against boards (columns).
#pragma once

#include "transfer/ResultConversion.h"
#include "transfer/ResultsCheck.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kibic {

class TournamentModel;

// What a data cell stands for, for the director: the entry last transferred into it, or why it is empty.
struct CellEntry
{
    enum class Why {
        Transferred, // the cell shows the round of Received
        Erased,      // the last entry at the table was an erasure
        MarkCleared, // the mark was cleared: the next pass transfers the entry again
    };
    Why State = Why::Transferred;
    ReceivedResult Received; // Transferred and Erased
    QString KeyedIn;         // when it was keyed in at the table ("HH:mm:ss"); empty when unknown
    // What the results check finds suspicious in Received, when it does (Transferred only): the first
    // finding by kind.
    std::optional<ResultFinding> Suspicion;
};

// Row 0 holds the board numbers, column 0 the table labels; data cells are 1-based on both axes. The
// main window's StringGrid1 implements it; the CLI and tests use MemoryGrid.
class ResultGrid
{
public:
    virtual ~ResultGrid() = default;
    [[nodiscard]] virtual int RowCount() const = 0;
    [[nodiscard]] virtual int ColumnCount() const = 0;
    [[nodiscard]] virtual QString Cell(int column, int row) const = 0;
    virtual void SetCell(int column, int row, const QString& text) = 0;
    // Whether the grid keeps what each data cell stands for (the window's grid does, for its tooltips).
    // When it does not, the transfer gathers nothing for it.
    [[nodiscard]] virtual bool KeepsEntries() const { return false; }
    virtual void SetCellEntry(int column, int row, const CellEntry& entry)
    {
        Q_UNUSED(column);
        Q_UNUSED(row);
        Q_UNUSED(entry);
    }
};

class MemoryGrid : public ResultGrid
{
public:
    MemoryGrid(int columnCount, int rowCount)
        : m_columns(columnCount)
        , m_cells(static_cast<size_t>(columnCount) * static_cast<size_t>(rowCount))
        , m_rows(rowCount)
    {
    }

    [[nodiscard]] int RowCount() const override { return m_rows; }
    [[nodiscard]] int ColumnCount() const override { return m_columns; }
    [[nodiscard]] QString Cell(int column, int row) const override { return m_cells[Index(column, row)]; }
    void SetCell(int column, int row, const QString& text) override { m_cells[Index(column, row)] = text; }

private:
    [[nodiscard]] size_t Index(int column, int row) const
    {
        return static_cast<size_t>(row) * static_cast<size_t>(m_columns) + static_cast<size_t>(column);
    }

    int m_columns;
    std::vector<QString> m_cells;
    int m_rows;
};

// Fills row 0 and column 0 of a grid sized GridTableCount + 1 by BoardCount + 1 with the headers.
void FillGridHeaders(const TournamentModel& model, ResultGrid& grid);

} // namespace kibic
