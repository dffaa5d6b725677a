// The results grid as the transfer sees it: cells of tables (rows) against boards (columns).
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kibic {

class TournamentModel;

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
