// The results grid widget's cells and their drawing.
#include "transfer/ui/StringGrid.h"

#include "transfer/CellHints.h"
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

void StringGridCells::SetCellEntry(int column, int row, const CellEntry& entry)
{
    if (!m_scorer || column < 1 || row < 1 || column >= ColumnCount() || row >= RowCount())
        return;
    if (QTableWidgetItem* item = m_grid->item(row - 1, column - 1)) {
        item->setToolTip(CellHint(Cell(0, row), Cell(column, 0), entry, *m_scorer, m_deals));
        item->setData(ErasedCellRole, entry.State == CellEntry::Why::Erased);
        m_entries.Set(column, row, entry);
        m_suspicions.Remember(column, row, entry);
        item->setData(SuspiciousCellRole, m_suspicions.At(column, row) != nullptr);
    }
}

QString StringGridCells::Hint(int column, int row) const
{
    if (column < 1 || row < 1 || column >= ColumnCount() || row >= RowCount())
        return {};
    const QTableWidgetItem* item = m_grid->item(row - 1, column - 1);
    const QString hint = item ? item->toolTip() : QString();
    return hint.isEmpty() ? EmptyCellHint(Cell(0, row), Cell(column, 0)) : hint;
}

void StringGridCells::ShowProgress(const TournamentProgress& progress)
{
    const CellRgb late = RgbOf(CellColour::Late);
    for (int row = 1; row < RowCount() && row <= progress.Tables.size(); ++row) {
        QTableWidgetItem* label = m_grid->verticalHeaderItem(row - 1);
        if (!label)
            continue;
        const TableProgress& table = progress.Tables[row - 1];
        label->setToolTip(RowLabelHint(table, progress.CurrentRound));
        label->setData(Qt::BackgroundRole,
            IsLate(table, progress.CurrentRound) ? QVariant(QBrush(QColor(late.Red, late.Green, late.Blue)))
                                                 : QVariant());
    }
}

void GridLabelColumn::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    const QVariant warning = model() ? model()->headerData(logicalIndex, orientation(), Qt::BackgroundRole) : QVariant();
    if (!warning.canConvert<QBrush>()) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    painter->save();
    painter->fillRect(rect, qvariant_cast<QBrush>(warning));
    painter->setPen(QColor(Qt::gray));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->setPen(QColor(Qt::darkBlue));
    QFont bold = font();
    bold.setBold(true);
    painter->setFont(bold);
    painter->drawText(rect.adjusted(1, 0, -1, 0), int(defaultAlignment()),
        model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString());
    painter->restore();
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
    const CellRgb rgb
        = RgbOf(CellColourOf(index.column() + 1, index.row() + 1, text, index.data(SuspiciousCellRole).toBool()));
    const QString shown = CellShownText(text, index.data(ErasedCellRole).toBool());
    const QRect cell = option.rect;
    painter->save();
    painter->fillRect(cell, QColor(rgb.Red, rgb.Green, rgb.Blue));
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Text));
    const int offset = CellTextOffset(cell.width(), option.fontMetrics.horizontalAdvance(shown));
    painter->setClipRect(cell);
    painter->drawText(cell.left() + offset, cell.top() + GridCellTextTop + option.fontMetrics.ascent(), shown);
    if (option.state & QStyle::State_HasFocus) {
        QPen dotted(option.palette.color(QPalette::Text), 1, Qt::DotLine);
        painter->setPen(dotted);
        painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

} // namespace kibic
