// The results grid as the transfer sees it: cells of tables (rows) against boards (columns).
#pragma once

#include "transfer/ResultConversion.h"
#include "transfer/ResultsCheck.h"
#include "transfer/uScoreProvider.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <optional>
#include <utility>
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
    qint32 SeatedNS = 0; // the pairs that the movement seats at the table in the round; 0 when unknown
    qint32 SeatedEW = 0;
    // Received as the check of results reads it (Transferred only): read by CellEntries as the entry is kept.
    std::optional<PlayReading> Reading = std::nullopt;
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
    // Replaces the finding of the check of results on data cell (column, row), which holds an entry.
    virtual void SetSuspicion(int column, int row, std::optional<ResultFinding> suspicion)
    {
        if (const CellEntry* entry = EntryAt(column, row)) {
            CellEntry updated = *entry;
            updated.Suspicion = std::move(suspicion);
            SetCellEntry(column, row, updated);
        }
    }
    // What data cell (column, row) stands for, as last set; null when nothing was set or the grid keeps no
    // entries. The check of results reads the field of a board from here.
    [[nodiscard]] virtual const CellEntry* EntryAt(int column, int row) const
    {
        Q_UNUSED(column);
        Q_UNUSED(row);
        return nullptr;
    }
};

// Keeps what data cells stand for, for the grids that keep entries: a column of cells for each board, grown
// as cells are set, so that the check of results reads the whole grid without searching it.
class CellEntries
{
public:
    // The entry is taken by value: it may be a cell of this grid, which growing the grid would move.
    void Set(int column, int row, CellEntry entry)
    {
        if (column < 0 || row < 0)
            return;
        entry.Reading.reset();
        if (entry.State == CellEntry::Why::Transferred)
            entry.Reading = ReadPlay(entry.Received, TScoreProvider());
        Grown(Grown(m_columns, column), row) = std::move(entry);
    }
    [[nodiscard]] const CellEntry* At(int column, int row) const { return Find(m_columns, column, row); }
    // Replaces the finding of a cell that holds an entry; false when it holds none.
    bool SetSuspicion(int column, int row, std::optional<ResultFinding> suspicion)
    {
        CellEntry* entry = Find(m_columns, column, row);
        if (entry)
            entry->Suspicion = std::move(suspicion);
        return entry != nullptr;
    }
    void Clear() { m_columns.clear(); }

private:
    using Column = std::vector<std::optional<CellEntry>>;

    // Item index of items, which grows to hold it.
    template <typename Items>
    static auto Grown(Items& items, int index) -> typename Items::value_type&
    {
        if (static_cast<size_t>(index) >= items.size())
            items.resize(static_cast<size_t>(index) + 1);
        return items[static_cast<size_t>(index)];
    }

    // The entry of the cell in columns (const or not), null when none was set.
    template <typename Columns>
    static auto Find(Columns& columns, int column, int row) -> decltype(&*columns[0][0])
    {
        if (column < 0 || row < 0 || static_cast<size_t>(column) >= columns.size())
            return nullptr;
        auto& cells = columns[static_cast<size_t>(column)];
        if (static_cast<size_t>(row) >= cells.size() || !cells[static_cast<size_t>(row)])
            return nullptr;
        return &*cells[static_cast<size_t>(row)];
    }

    std::vector<Column> m_columns;
};

class MemoryGrid : public ResultGrid
{
public:
    // A grid that keeps entries serves the check of results (kibic-cli check, the tests).
    MemoryGrid(int columnCount, int rowCount, bool keepsEntries = false)
        : m_columns(columnCount)
        , m_cells(static_cast<size_t>(columnCount) * static_cast<size_t>(rowCount))
        , m_rows(rowCount)
        , m_keepsEntries(keepsEntries)
    {
    }

    [[nodiscard]] int RowCount() const override { return m_rows; }
    [[nodiscard]] int ColumnCount() const override { return m_columns; }
    [[nodiscard]] QString Cell(int column, int row) const override { return m_cells[Index(column, row)]; }
    void SetCell(int column, int row, const QString& text) override { m_cells[Index(column, row)] = text; }
    [[nodiscard]] bool KeepsEntries() const override { return m_keepsEntries; }
    void SetCellEntry(int column, int row, const CellEntry& entry) override
    {
        if (m_keepsEntries)
            m_entries.Set(column, row, entry);
    }
    void SetSuspicion(int column, int row, std::optional<ResultFinding> suspicion) override
    {
        (void)m_entries.SetSuspicion(column, row, std::move(suspicion));
    }
    [[nodiscard]] const CellEntry* EntryAt(int column, int row) const override { return m_entries.At(column, row); }

private:
    [[nodiscard]] size_t Index(int column, int row) const
    {
        return static_cast<size_t>(row) * static_cast<size_t>(m_columns) + static_cast<size_t>(column);
    }

    int m_columns;
    std::vector<QString> m_cells;
    int m_rows;
    bool m_keepsEntries;
    CellEntries m_entries;
};

// Fills row 0 and column 0 of a grid sized GridTableCount + 1 by BoardCount + 1 with the headers.
void FillGridHeaders(const TournamentModel& model, ResultGrid& grid);

} // namespace kibic
