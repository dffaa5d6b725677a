// The results grid widget's cells and their drawing.
#include "transfer/ui/StringGrid.h"

#include "transfer/GridLayout.h"

#include <QPainter>
#include <QTableWidget>

namespace kibic {

int StringGridCells::RowCount() const
{
    return m_grid->rowCount() + 1;
}

int StringGridCells::ColumnCount() const
{
    return m_grid->columnCount() + 1;
}

QString StringGridCells::Cell(int column, int row) const
{
    if (column < 0 || row < 0 || column >= ColumnCount() || row >= RowCount() || (column == 0 && row == 0))
        return {};
    const QTableWidgetItem* item = row == 0 ? m_grid->horizontalHeaderItem(column - 1)
        : column == 0                       ? m_grid->verticalHeaderItem(row - 1)
                                            : m_grid->item(row - 1, column - 1);
    return item ? item->text() : QString();
}

void StringGridCells::SetCell(int column, int row, const QString& text)
{
    if (column < 0 || row < 0 || column >= ColumnCount() || row >= RowCount() || (column == 0 && row == 0))
        return;
    if (row == 0) {
        m_grid->setHorizontalHeaderItem(column - 1, new QTableWidgetItem(text));
    } else if (column == 0) {
        m_grid->setVerticalHeaderItem(row - 1, new QTableWidgetItem(text));
    } else if (QTableWidgetItem* item = m_grid->item(row - 1, column - 1)) {
        item->setText(text);
    } else {
        m_grid->setItem(row - 1, column - 1, new QTableWidgetItem(text));
    }
}

void SetUpGridCells(QTableWidget* grid, const TournamentModel& model)
{
    grid->clear();
    grid->setRowCount(model.GridTableCount);
    grid->setColumnCount(model.BoardCount);
    StringGridCells cells(grid);
    FillGridHeaders(model, cells);
    for (int row = 0; row < model.GridTableCount; ++row)
        for (int column = 0; column < model.BoardCount; ++column)
            grid->setItem(row, column, new QTableWidgetItem());
}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    const CellRgb rgb = RgbOf(CellColourOf(index.column() + 1, index.row() + 1, text));
    const QRect cell = option.rect;
    painter->save();
    painter->fillRect(cell, QColor(rgb.Red, rgb.Green, rgb.Blue));
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Text));
    const int offset = CellTextOffset(cell.width(), option.fontMetrics.horizontalAdvance(text));
    painter->setClipRect(cell);
    painter->drawText(cell.left() + offset, cell.top() + GridCellTextTop + option.fontMetrics.ascent(), text);
    if (option.state & QStyle::State_HasFocus) {
        QPen dotted(option.palette.color(QPalette::Text), 1, Qt::DotLine);
        painter->setPen(dotted);
        painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

} // namespace kibic
