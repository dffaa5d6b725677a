// Table objects over Qt Sql.
#include "scoringdb/TTable.h"

#include "common/KibicError.h"
#include "scoringdb/uCreateBWS.h"

#include <QSet>
#include <algorithm>

namespace kibic {

namespace {

const QString kRowIdAlias = QStringLiteral("kibic_rowid");

QString PlainTableName(QString name)
{
    name = name.trimmed();
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    return name;
}

// The text by which Locate compares a value: numbers and flags by their integer value, texts as they are.
QString KeyText(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("\x01");
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return QString::number(value.toLongLong());
    case QMetaType::Double: {
        const double number = value.toDouble();
        if (number == static_cast<double>(static_cast<qint64>(number)))
            return QString::number(static_cast<qint64>(number));
        return QString::number(number, 'g', 17);
    }
    default:
        return value.toString();
    }
}

// The columns that tell one row of a table from another: its key columns, or else its ID.
QStringList IdentifyingColumns(const QString& table)
{
    const QStringList keys = RowKeyColumns(table);
    return keys.isEmpty() ? QStringList { QStringLiteral("ID") } : keys;
}

QString JoinedKey(const QVariantList& values)
{
    QString key;
    key.reserve(values.size() * 8);
    for (const QVariant& value : values) {
        key += KeyText(value);
        key += QChar(0x1F);
    }
    return key;
}

} // namespace

QVariant BindableValue(const QVariant& value, SqlDialect dialect)
{
    // Jet keeps Yes as -1 and No as 0; SQLite 1 and 0.
    if (value.typeId() == QMetaType::Bool)
        return QVariant(value.toBool() ? (dialect == SqlDialect::Access ? -1 : 1) : 0);
    // Qt would bind a null text as NULL.
    if (value.typeId() == QMetaType::QString && value.toString().isNull())
        return QVariant(QStringLiteral(""));
    return value;
}

const TTable::PendingValues::Item* TTable::PendingValues::Find(int column) const
{
    for (const Item& item : m_items) {
        if (item.Column == column)
            return &item;
    }
    return nullptr;
}

QVariant TTable::PendingValues::value(int column) const
{
    const Item* item = Find(column);
    return item ? item->Value : QVariant();
}

void TTable::PendingValues::insert(int column, const QVariant& value)
{
    auto at = std::lower_bound(
        m_items.begin(), m_items.end(), column, [](const Item& item, int wanted) { return item.Column < wanted; });
    if (at != m_items.end() && at->Column == column)
        at->Value = value;
    else
        m_items.insert(at, Item { column, value });
}

TTable::TTable(QString connectionString, QString tableName)
    : m_connectionString(std::move(connectionString))
    , m_tableName(std::move(tableName))
{
}

TTable::~TTable()
{
    Close();
}

void TTable::SetConnectionString(const QString& connectionString)
{
    Close();
    m_connectionString = connectionString;
}

void TTable::SetTableName(const QString& tableName)
{
    Close();
    m_tableName = tableName;
}

QString TTable::QuotedTable() const
{
    return QLatin1Char('[') + PlainTableName(m_tableName) + QLatin1Char(']');
}

QString TTable::Describe() const
{
    return QStringLiteral("tabela %1").arg(PlainTableName(m_tableName));
}

void TTable::RequireOpen() const
{
    if (!m_connection)
        throw KibicError(QStringLiteral("Tabela %1 nie jest otwarta.").arg(PlainTableName(m_tableName)));
}

void TTable::ReadRows(const QString& condition, const QVariantList& values, std::vector<Row>& into)
{
    const bool sqlite = m_connection->Dialect() == SqlDialect::Sqlite;
    QString sql = sqlite
        ? QStringLiteral("SELECT rowid AS %1, %2 FROM %3").arg(kRowIdAlias, m_selected, QuotedTable())
        : QStringLiteral("SELECT %1 FROM %2").arg(m_selected, QuotedTable());
    if (!condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    DbRows& rows = m_connection->RunPrepared(sql, values, m_readOperation);
    const int first = sqlite ? 1 : 0;
    if (m_columns.isEmpty())
        LearnColumns(rows, first);
    const int count = static_cast<int>(m_columns.size());
    while (rows.Next()) {
        Row row;
        row.Values.reserve(count);
        for (int i = 0; i < count; ++i)
            row.Values.append(rows.Value(i + first));
        if (m_identity == Identity::RowId)
            row.Identity = rows.Value(0);
        into.push_back(std::move(row));
    }
    rows.Finish();
}

void TTable::LearnColumns(const DbRows& rows, int first)
{
    for (int i = first; i < rows.ColumnCount(); ++i) {
        const QString name = rows.ColumnName(i);
        m_columns.append(name);
        m_columnIndex.insert(name.toLower(), i - first);
        m_columnExact.insert(name, i - first);
    }
    m_idColumn = m_columnIndex.value(QStringLiteral("id"), -1);
    const QString table = PlainTableName(m_tableName);
    m_hasCounter = m_idColumn >= 0 && HasCounterColumn(table);
    m_keyColumns.clear();
    for (const QString& key : IdentifyingColumns(table)) {
        const int position = m_columnIndex.value(key.toLower(), -1);
        if (position < 0) {
            m_keyColumns.clear();
            break;
        }
        m_keyColumns.push_back(position);
    }
    const bool sqlite = m_connection->Dialect() == SqlDialect::Sqlite;
    m_identity = !m_keyColumns.empty() ? Identity::KeyColumns : sqlite ? Identity::RowId : Identity::AllValues;
}

QString TTable::SelectedColumns()
{
    if (m_readColumns.isEmpty())
        return QStringLiteral("*");
    // The table's own columns, in its order, from a statement that reads no row.
    DbRows& rows = m_connection->RunPrepared(
        QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(QuotedTable()), {}, m_readOperation);
    QStringList present;
    for (int i = 0; i < rows.ColumnCount(); ++i)
        present.append(rows.ColumnName(i));
    rows.Finish();
    QSet<QString> presentLower;
    for (const QString& name : std::as_const(present))
        presentLower.insert(name.toLower());
    QSet<QString> wanted;
    for (const QString& column : m_readColumns)
        wanted.insert(PlainTableName(column).toLower());
    // The same columns that tell the rows apart as when every column is read; and the ID, whose new number
    // an appended row asks for.
    bool identified = true;
    for (const QString& key : IdentifyingColumns(PlainTableName(m_tableName))) {
        wanted.insert(key.toLower());
        identified = identified && presentLower.contains(key.toLower());
    }
    wanted.insert(QStringLiteral("id"));
    QStringList names;
    for (const QString& name : std::as_const(present)) {
        if (wanted.contains(name.toLower()))
            names.append(QLatin1Char('[') + name + QLatin1Char(']'));
    }
    if (names.isEmpty() || (!identified && m_connection->Dialect() != SqlDialect::Sqlite))
        return QStringLiteral("*");
    return names.join(QLatin1Char(','));
}

void TTable::Open()
{
    Close();
    m_readOperation = QStringLiteral("odczyt: ") + Describe();
    m_connection = ConnectionTo(m_connectionString);
    m_connection->Enter();
    try {
        m_selected = SelectedColumns();
        ReadRows(m_filter, {}, m_rows);
    } catch (...) {
        Close();
        throw;
    }
    m_order.resize(m_rows.size());
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_order[i] = static_cast<int>(i);
    m_cursor = 0;
}

void TTable::Close()
{
    if (m_connection)
        m_connection->Leave();
    m_connection.reset();
    m_selected = QStringLiteral("*");
    m_columns.clear();
    m_columnIndex.clear();
    m_columnExact.clear();
    m_rows.clear();
    m_unreadCount = 0;
    m_insertColumns.clear();
    m_insertSql.clear();
    m_order.clear();
    m_cursor = 0;
    m_state = State::Browse;
    m_pending.clear();
    InvalidateIndexes();
}

void TTable::First()
{
    RequireOpen();
    m_cursor = 0;
}

void TTable::Next()
{
    RequireOpen();
    if (m_cursor < RecordCount())
        ++m_cursor;
}

bool TTable::Eof() const
{
    return m_cursor >= RecordCount();
}

void TTable::SetSort(const QString& column)
{
    RequireOpen();
    const int index = ColumnIndex(column);
    LoadAllRows();
    const auto before = [&](int a, int b) {
        const QVariant& left = m_rows[a].Values[index];
        const QVariant& right = m_rows[b].Values[index];
        if (left.isNull() || right.isNull())
            return left.isNull() && !right.isNull();
        return QVariant::compare(left, right) == QPartialOrdering::Less;
    };
    // A table read in the order of its numbers (ReceivedData by ID, as usual) needs no sorting.
    if (!std::is_sorted(m_order.begin(), m_order.end(), before))
        std::stable_sort(m_order.begin(), m_order.end(), before);
    m_cursor = 0;
    InvalidateIndexes();
}

void TTable::ClearSort()
{
    RequireOpen();
    for (std::size_t i = 0; i < m_order.size(); ++i)
        m_order[i] = static_cast<int>(i);
    m_cursor = 0;
    InvalidateIndexes();
}

bool TTable::Locate(const QString& keyColumns, const QVariantList& values)
{
    RequireOpen();
    const KeyIndex& index = IndexOf(keyColumns, values.size());
    const auto found = index.Positions.constFind(JoinedKey(values));
    if (found == index.Positions.constEnd())
        return false;
    m_cursor = found.value();
    return true;
}

const TTable::KeyIndex& TTable::IndexOf(const QString& keyColumns, qsizetype valueCount)
{
    // A walk locates by the same key columns thousands of times: they are read and the rows indexed once.
    for (const KeyIndex& index : m_indexes) {
        if (index.KeyColumns == keyColumns && static_cast<qsizetype>(index.Columns.size()) == valueCount)
            return index;
    }
    const QStringList names = keyColumns.split(QLatin1Char(';'));
    if (names.size() != valueCount)
        throw KibicError(QStringLiteral("Wyszukiwanie w tabeli %1: %2 kolumn i %3 wartości.")
                             .arg(PlainTableName(m_tableName))
                             .arg(names.size())
                             .arg(valueCount));
    KeyIndex index;
    index.KeyColumns = keyColumns;
    for (const QString& name : names)
        index.Columns.push_back(ColumnIndex(name.trimmed()));
    LoadAllRows();
    index.Positions.reserve(RecordCount());
    QVariantList key;
    // From the last row to the first, so that the first row of a key is the one kept.
    for (int position = RecordCount() - 1; position >= 0; --position) {
        key.clear();
        for (const int column : index.Columns)
            key.append(m_rows[m_order[position]].Values[column]);
        index.Positions.insert(JoinedKey(key), position);
    }
    m_indexes.push_back(std::move(index));
    return m_indexes.back();
}

int TTable::ColumnIndex(const QString& column) const
{
    RequireOpen();
    // The names as the table writes them are found without making a lower-case copy.
    const auto exact = m_columnExact.constFind(column);
    if (exact != m_columnExact.constEnd())
        return exact.value();
    const auto found = m_columnIndex.constFind(column.toLower());
    if (found == m_columnIndex.constEnd())
        throw KibicError(QStringLiteral("Tabela %1 bazy %2 nie ma kolumny %3.")
                             .arg(PlainTableName(m_tableName), m_connection->FileName(), column));
    return found.value();
}

bool TTable::HasField(const QString& column) const
{
    return m_connection && (m_columnExact.contains(column) || m_columnIndex.contains(column.toLower()));
}

const TTable::Row& TTable::CurrentRow() const
{
    RequireOpen();
    if (Eof())
        throw KibicError(QStringLiteral("Tabela %1: brak bieżącego wiersza.").arg(PlainTableName(m_tableName)));
    LoadRow(m_order[m_cursor]);
    return m_rows[m_order[m_cursor]];
}

void TTable::LoadRow(int position) const
{
    Row& row = m_rows[static_cast<std::size_t>(position)];
    if (!row.Unread)
        return;
    // Reading is no change of the table: the row is the same, only its defaults become visible.
    std::vector<Row> read;
    QVariantList values;
    const QString condition = Where(row, values);
    const_cast<TTable*>(this)->ReadRows(condition, values, read);
    row.Unread = false;
    --m_unreadCount;
    // A row the other program has removed meanwhile keeps what was set; a later post of it fails.
    if (!read.empty())
        row.Values = std::move(read.front().Values);
}

void TTable::LoadAllRows() const
{
    for (std::size_t position = 0; m_unreadCount > 0 && position < m_rows.size(); ++position)
        LoadRow(static_cast<int>(position));
}

TTable::Column TTable::ColumnOf(const QString& name) const
{
    return Column { ColumnIndex(name), name };
}

QVariant TTable::FieldValue(const Column& column) const
{
    if (m_state != State::Browse) {
        if (const PendingValues::Item* pending = m_pending.Find(column.Position))
            return pending->Value;
    }
    if (m_state == State::Insert)
        return {};
    return CurrentRow().Values[column.Position];
}

qint32 TTable::FieldAsInteger(const Column& column) const
{
    const QVariant value = FieldValue(column);
    if (value.isNull())
        return 0;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1 : 0;
    bool ok = false;
    const qlonglong number
        = value.typeId() == QMetaType::QString ? value.toString().trimmed().toLongLong(&ok) : value.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
        throw KibicError(QStringLiteral("Tabela %1 bazy %2: wartość \"%3\" kolumny %4 nie jest liczbą całkowitą.")
                             .arg(PlainTableName(m_tableName), m_connection->FileName(), QuotedValue(value.toString()),
                                 column.Name));
    return static_cast<qint32>(number);
}

bool TTable::FieldAsBoolean(const Column& column) const
{
    const QVariant value = FieldValue(column);
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toLower();
        if (text == QStringLiteral("true") || text == QStringLiteral("yes"))
            return true;
        if (text == QStringLiteral("false") || text == QStringLiteral("no") || text.isEmpty())
            return false;
        bool ok = false;
        const qlonglong number = text.toLongLong(&ok);
        if (!ok)
            throw KibicError(QStringLiteral("Tabela %1 bazy %2: wartość \"%3\" kolumny %4 nie jest wartością logiczną.")
                                 .arg(PlainTableName(m_tableName), m_connection->FileName(),
                                     QuotedValue(value.toString()), column.Name));
        return number != 0;
    }
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    return value.toLongLong() != 0;
}

QString TTable::FieldAsString(const Column& column) const
{
    const QVariant value = FieldValue(column);
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

void TTable::Edit()
{
    (void)CurrentRow();
    m_state = State::Edit;
    m_pending.clear();
}

void TTable::Append()
{
    RequireOpen();
    m_state = State::Insert;
    m_pending.clear();
}

void TTable::SetField(const QString& column, const QVariant& value)
{
    const int index = ColumnIndex(column);
    if (m_state == State::Browse)
        throw KibicError(QStringLiteral("Tabela %1: zmiana kolumny %2 poza edycją wiersza.")
                             .arg(PlainTableName(m_tableName), column));
    CheckTextFits(index, value);
    m_pending.insert(index, value);
}

void TTable::CheckTextFits(int column, const QVariant& value) const
{
    if (value.typeId() != QMetaType::QString)
        return;
    const int size = TextColumnSize(PlainTableName(m_tableName), m_columns[column]);
    const qsizetype length = value.toString().size();
    if (size > 0 && length > size)
        throw KibicError(QStringLiteral("Tekst \"%1\" nie mieści się w kolumnie %2 tabeli %3 bazy %4: ma %5 znaków, "
                                        "a kolumna mieści %6.")
                             .arg(QuotedValue(value.toString()), m_columns[column], PlainTableName(m_tableName),
                                 m_connection->FileName())
                             .arg(length)
                             .arg(size));
}

QString TTable::Where(const Row& row, QVariantList& values) const
{
    if (m_identity == Identity::RowId) {
        values.append(row.Identity);
        return QStringLiteral("rowid=?");
    }
    const SqlDialect dialect = m_connection->Dialect();
    QStringList conditions;
    const auto condition = [&](int column) {
        if (row.Values[column].isNull()) {
            conditions.append(QStringLiteral("[%1] IS NULL").arg(m_columns[column]));
        } else {
            conditions.append(QStringLiteral("[%1]=?").arg(m_columns[column]));
            values.append(BindableValue(row.Values[column], dialect));
        }
    };
    if (m_identity == Identity::KeyColumns) {
        for (const int column : m_keyColumns)
            condition(column);
    } else {
        for (int i = 0; i < m_columns.size(); ++i)
            condition(i);
    }
    return conditions.join(QStringLiteral(" AND "));
}

void TTable::Post()
{
    RequireOpen();
    const SqlDialect dialect = m_connection->Dialect();
    if (m_state == State::Edit) {
        Row& row = m_rows[m_order[m_cursor]];
        if (!m_pending.isEmpty()) {
            QStringList assignments;
            QVariantList values;
            for (const PendingValues::Item& item : m_pending) {
                assignments.append(QStringLiteral("[%1]=?").arg(m_columns[item.Column]));
                values.append(BindableValue(item.Value, dialect));
            }
            const QString where = Where(row, values);
            const int changed
                = m_connection->Execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                            .arg(QuotedTable(), assignments.join(QLatin1Char(',')), where),
                    values);
            if (changed == 0)
                throw KibicError(
                    QStringLiteral("Tabela %1 bazy %2: zapisywanego wiersza już nie ma (usunął go inny program).")
                        .arg(PlainTableName(m_tableName), m_connection->FileName()));
            for (const PendingValues::Item& item : m_pending)
                row.Values[item.Column] = item.Value;
        }
    } else if (m_state == State::Insert) {
        // Rows appended one after another set the same columns: their statement is made once.
        QList<int> columns;
        QVariantList values;
        columns.reserve(m_pending.size());
        values.reserve(m_pending.size());
        for (const PendingValues::Item& item : m_pending) {
            columns.append(item.Column);
            values.append(BindableValue(item.Value, dialect));
        }
        if (columns != m_insertColumns || m_insertSql.isEmpty()) {
            QStringList names;
            QStringList marks;
            for (const int column : columns) {
                names.append(QStringLiteral("[%1]").arg(m_columns[column]));
                marks.append(QStringLiteral("?"));
            }
            if (names.isEmpty() && dialect == SqlDialect::Access) {
                // Jet knows no DEFAULT VALUES: name the first column that is not the auto-number, as NULL.
                const int first = m_hasCounter && m_idColumn == 0 && m_columns.size() > 1 ? 1 : 0;
                names.append(QStringLiteral("[%1]").arg(m_columns[first]));
                marks.append(QStringLiteral("NULL"));
            }
            m_insertSql = names.isEmpty()
                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(QuotedTable())
                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(QuotedTable(), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
            m_insertColumns = columns;
        }
        const QString& sql = m_insertSql;
        Row row;
        for (int i = 0; i < m_columns.size(); ++i)
            row.Values.append(m_pending.value(i));
        // Only a new auto-number or rowid is asked for; the other rows are found again by what was set.
        const bool wantsNumber = m_identity == Identity::RowId || (m_hasCounter && !m_pending.Find(m_idColumn));
        if (wantsNumber) {
            const qint64 id = m_connection->ExecuteInsert(sql, values);
            if (m_identity == Identity::RowId)
                row.Identity = id;
            else
                row.Values[m_idColumn] = id;
        } else {
            (void)m_connection->Execute(sql, values);
        }
        // The new row is read back when it is first looked at, so that its defaults and its new number
        // are seen like the server's; a table identified by all its values keeps what was set.
        if (m_identity != Identity::AllValues) {
            row.Unread = true;
            ++m_unreadCount;
        }
        m_rows.push_back(std::move(row));
        m_order.push_back(static_cast<int>(m_rows.size()) - 1);
        m_cursor = RecordCount() - 1;
    }
    m_state = State::Browse;
    m_pending.clear();
    InvalidateIndexes();
}

void TTable::Cancel()
{
    m_state = State::Browse;
    m_pending.clear();
}

void TTable::Delete()
{
    const Row& row = CurrentRow();
    QVariantList values;
    const QString where = Where(row, values);
    m_connection->Execute(QStringLiteral("DELETE FROM %1 WHERE %2").arg(QuotedTable(), where), values);
    m_order.erase(m_order.begin() + m_cursor);
    m_state = State::Browse;
    m_pending.clear();
    InvalidateIndexes();
}

DbConnection& TTable::Connection()
{
    RequireOpen();
    return *m_connection;
}

} // namespace kibic
