// The results grid on the main window: a QTableWidget whose headers are the grid's fixed row and column.
#pragma once

#include "transfer/ResultGrid.h"
#include "tournament/TournamentModel.h"

#include <QStyledItemDelegate>

class QTableWidget;

namespace kibic {

// The grid's cells as the transfer addresses them: row 0 is the horizontal header (board numbers),
// column 0 the vertical header (table labels), data cell (i, j) the widget's item (j-1, i-1).
class StringGridCells : public ResultGrid
{
public:
    explicit StringGridCells(QTableWidget* grid)
        : m_grid(grid)
    {
    }

    [[nodiscard]] int RowCount() const override;
    [[nodiscard]] int ColumnCount() const override;
    [[nodiscard]] QString Cell(int column, int row) const override;
    void SetCell(int column, int row, const QString& text) override;

private:
    QTableWidget* m_grid;
};

// Sizes the widget to GridTableCount rows and BoardCount columns with the board numbers and table
// labels in its headers and every data cell empty.
void SetUpGridCells(QTableWidget* grid, const TournamentModel& model);

// Draws a data cell: light green when it holds a round, yellow when empty, the text centred as the
// grid's drawing rule says, and the focus rectangle on the current cell.
class GridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace kibic
