// The results grid on the main window: a QTableWidget whose headers are the grid's fixed row and column.
#pragma once

#include "transfer/CellSuspicions.h"
#include "transfer/ResultGrid.h"
#include "tournament/TournamentModel.h"

#include "transfer/TableProgress.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

class QTableWidget;

namespace kibic {

class SessionDeals;
class TScoreProvider;

// The data role of a data cell whose last entry was an erasure at the table (true): the cell shows
// ErasedCellSign.
inline constexpr int ErasedCellRole = Qt::UserRole + 1;
// The data role of a data cell whose latest entry the check of results finds suspicious (true): the cell is
// drawn in the suspicious colour.
inline constexpr int SuspiciousCellRole = Qt::UserRole + 2;

// The grid's cells as the transfer addresses them: row 0 is the horizontal header (board numbers),
// column 0 the vertical header (table labels), data cell (i, j) the widget's item (j-1, i-1). With a score
// provider, what a data cell stands for becomes its tooltip as it is set, so that pointing at a cell reads
// no database.
class StringGridCells : public ResultGrid
{
public:
    explicit StringGridCells(QTableWidget* grid, const TScoreProvider* scorer = nullptr)
        : m_grid(grid)
        , m_scorer(scorer)
    {
    }

    [[nodiscard]] int RowCount() const override;
    [[nodiscard]] int ColumnCount() const override;
    [[nodiscard]] QString Cell(int column, int row) const override;
    void SetCell(int column, int row, const QString& text) override;
    [[nodiscard]] bool KeepsEntries() const override { return m_scorer != nullptr; }
    void SetCellEntry(int column, int row, const CellEntry& entry) override;
    [[nodiscard]] const CellEntry* EntryAt(int column, int row) const override { return m_entries.At(column, row); }

    // The session's deals, for the tooltips of the entries set from now on; null for none.
    void SetDeals(const SessionDeals* deals) { m_deals = deals; }

    // The tooltip of data cell (column, row): what it holds or why it is empty.
    [[nodiscard]] QString Hint(int column, int row) const;

    // The cells whose latest entry is suspicious, as the entries set so far say.
    [[nodiscard]] const CellSuspicions& Suspicions() const { return m_suspicions; }
    // Forgets every cell's entry and finding, when the grid is laid out afresh for a tournament.
    void ForgetSuspicions()
    {
        m_suspicions.Clear();
        m_entries.Clear();
    }

    // Row labels after a pass: each says how far its table has come, and a late table's label is drawn in
    // the warning colour.
    void ShowProgress(const TournamentProgress& progress);

private:
    QTableWidget* m_grid;
    const TScoreProvider* m_scorer;
    const SessionDeals* m_deals = nullptr;
    CellEntries m_entries;
    CellSuspicions m_suspicions;
};

// The column of table labels: a late table's label is drawn on the warning colour (its BackgroundRole),
// the others as the grid's fixed cells.
class GridLabelColumn : public QHeaderView
{
    Q_OBJECT

public:
    explicit GridLabelColumn(QWidget* parent)
        : QHeaderView(Qt::Vertical, parent)
    {
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// Sizes the widget to GridTableCount rows and BoardCount columns with the board numbers and table
// labels in its headers and every data cell empty.
void SetUpGridCells(QTableWidget* grid, const TournamentModel& model);

// Draws a data cell: light green when it holds a round, violet when that round's entry is suspicious, yellow
// when empty, the text (or the sign of an
// erasure) centred as the grid's drawing rule says, and the focus rectangle on the current cell.
class GridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace kibic
