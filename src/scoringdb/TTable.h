// The table object of the scoring database: a whole table read at open, walked row by row, changed
// one row at a time.
#pragma once

#include "scoringdb/Database.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace kibic {

// A value as it is bound into a statement of the dialect: flags as the file keeps them (Jet: Yes -1,
// No 0; SQLite 1 and 0), a text set to nothing as the empty text.
[[nodiscard]] QVariant BindableValue(const QVariant& value, SqlDialect dialect);

// Open reads every row (or, with a filter, the rows that match it) into memory and releases the
// statement at once, so that the terminal server is never blocked by a half-read table. A post writes
// only the columns that were set, to the row identified by its ID or its key columns (RowKeyColumns:
// Tables by Section and Table, ...), so a column the server changed meanwhile (Tables.Status,
// CurrentRound) neither undoes the post nor is undone by it. A table of neither kind is identified by its
// rowid on SQLite and by all its original values on Access. An append names the columns it sets.
// Column names match without regard to case; a column that does not exist raises KibicError. A text too
// long for its TEXT(n) column is refused before it reaches the driver, with a message naming the table,
// the column and the file. Every table object on one file shares the file's connection (ConnectionTo).
class TTable
{
public:
    TTable() = default;
    TTable(QString connectionString, QString tableName);
    ~TTable();
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;

    void SetConnectionString(const QString& connectionString);
    // A plain name or one in brackets ("[Section]").
    void SetTableName(const QString& tableName);
    [[nodiscard]] const QString& TableName() const { return m_tableName; }
    [[nodiscard]] const QString& ConnectionString() const { return m_connectionString; }
    // A condition of the form the statements of this program use (column names and decimal numbers only):
    // only matching rows are read at the next open. Empty reads every row.
    void SetFilter(const QString& condition) { m_filter = condition; }
    // Only these columns, and those that tell one row from another (ReceivedData's ID, RoundData's
    // Section, Table and Round, ...), are read at the next open: a walk over thousands of rows does not
    // carry the columns it never looks at. Columns the table lacks are left out; for this table object a
    // column not read is a column the table does not have. Every column is read when none tells the rows
    // apart on Access (a row is then found by all its values). Empty reads every column.
    void SetReadColumns(const QStringList& columns) { m_readColumns = columns; }

    void Open();
    void Close();
    [[nodiscard]] bool Active() const { return m_connection != nullptr; }

    void First();
    void Next();
    [[nodiscard]] bool Eof() const;
    [[nodiscard]] int RecordCount() const { return static_cast<int>(m_order.size()); }

    // Orders the rows by one column, ascending (stable); ClearSort returns to the natural order.
    void SetSort(const QString& column);
    void ClearSort();

    // Makes the first row whose key columns (joined by ";") equal the values current; exact,
    // case-sensitive equality. False (and the current row unchanged) when none matches.
    [[nodiscard]] bool Locate(const QString& keyColumns, const QVariantList& values);

    [[nodiscard]] bool HasField(const QString& column) const;
    [[nodiscard]] QStringList FieldNames() const { return m_columns; }

    // A column looked up once, for a walk that reads it from many rows; valid until the table is closed.
    struct Column
    {
        int Position = -1;
        QString Name; // as the caller named it, for the messages
    };
    // Raises KibicError when the table has no such column.
    [[nodiscard]] Column ColumnOf(const QString& name) const;

    [[nodiscard]] QVariant FieldValue(const QString& column) const { return FieldValue(ColumnOf(column)); }
    [[nodiscard]] QVariant FieldValue(const Column& column) const;
    // NULL reads as 0, false and the empty text.
    [[nodiscard]] qint32 FieldAsInteger(const QString& column) const { return FieldAsInteger(ColumnOf(column)); }
    [[nodiscard]] qint32 FieldAsInteger(const Column& column) const;
    [[nodiscard]] bool FieldAsBoolean(const QString& column) const { return FieldAsBoolean(ColumnOf(column)); }
    [[nodiscard]] bool FieldAsBoolean(const Column& column) const;
    [[nodiscard]] QString FieldAsString(const QString& column) const { return FieldAsString(ColumnOf(column)); }
    [[nodiscard]] QString FieldAsString(const Column& column) const;

    void Edit();
    void Append();
    void SetField(const QString& column, const QVariant& value);
    void Post();
    void Cancel();
    // Removes the current row; the next row becomes current.
    void Delete();

    // The open table's connection (for a transaction around many posts).
    [[nodiscard]] DbConnection& Connection();

private:
    enum class State { Browse, Edit, Insert };
    struct Row
    {
        QVariant Identity;
        QVariantList Values;
        // Appended here and not yet read back: Values hold only what was set, the defaults and the new
        // number are read from the file when the row is first looked at.
        bool Unread = false;
    };

    [[nodiscard]] int ColumnIndex(const QString& column) const;
    [[nodiscard]] const Row& CurrentRow() const;
    // Reads back the row at position (in m_rows), or every appended row, when they are still unread.
    void LoadRow(int position) const;
    void LoadAllRows() const;
    [[nodiscard]] QString Where(const Row& row, QVariantList& values) const;
    [[nodiscard]] QString QuotedTable() const;
    [[nodiscard]] QString Describe() const;
    void RequireOpen() const;
    void ReadRows(const QString& condition, const QVariantList& values, std::vector<Row>& into);
    void LearnColumns(const DbRows& rows, int first);
    // Refuses a text that its column cannot hold.
    void CheckTextFits(int column, const QVariant& value) const;
    // The column list of the statements that read rows: "*", or the columns of SetReadColumns.
    [[nodiscard]] QString SelectedColumns();
    void InvalidateIndexes() { m_indexes.clear(); }
    // The rows by the values of some key columns (Locate's "Section;Table;Round"), made at the first
    // Locate by them and kept until the rows or their order change.
    struct KeyIndex
    {
        QString KeyColumns; // as Locate was given them
        std::vector<int> Columns;
        QHash<QString, int> Positions; // key text -> first position in the current order
    };
    [[nodiscard]] const KeyIndex& IndexOf(const QString& keyColumns, qsizetype valueCount);

    QString m_connectionString;
    QString m_tableName;
    QString m_filter;
    QStringList m_readColumns;
    QString m_selected = QStringLiteral("*"); // what this open reads
    std::shared_ptr<DbConnection> m_connection;
    QStringList m_columns;
    QHash<QString, int> m_columnIndex; // lower-case name -> position in Values
    QHash<QString, int> m_columnExact; // name as the table has it -> position in Values
    enum class Identity { RowId, KeyColumns, AllValues };
    Identity m_identity = Identity::AllValues;
    std::vector<int> m_keyColumns; // positions of the identifying columns (Identity::KeyColumns)
    int m_idColumn = -1;
    bool m_hasCounter = false;     // the ID is a COUNTER: an append asks for the new number
    mutable std::vector<Row> m_rows; // appended rows are read back lazily, also by const readers
    mutable int m_unreadCount = 0;
    std::vector<int> m_order; // positions of m_rows in the current order
    int m_cursor = 0;         // position in m_order
    State m_state = State::Browse;
    QString m_readOperation;      // "odczyt: tabela ..." for the messages of failed reads
    QList<int> m_insertColumns;   // the columns of the last append's statement
    QString m_insertSql;
    // The values set since Edit or Append, in column order: a few per row, kept without a node each.
    class PendingValues
    {
    public:
        struct Item
        {
            int Column;
            QVariant Value;
        };
        void clear() { m_items.clear(); }
        [[nodiscard]] bool isEmpty() const { return m_items.empty(); }
        [[nodiscard]] qsizetype size() const { return static_cast<qsizetype>(m_items.size()); }
        [[nodiscard]] const Item* Find(int column) const;
        [[nodiscard]] QVariant value(int column) const;
        void insert(int column, const QVariant& value);
        [[nodiscard]] auto begin() const { return m_items.begin(); }
        [[nodiscard]] auto end() const { return m_items.end(); }

    private:
        std::vector<Item> m_items;
    };
    PendingValues m_pending;
    std::vector<KeyIndex> m_indexes;
};

} // namespace kibic
