// Typed readers of the received scores and the rounds.
#include "transfer/ScoringRows.h"

#include "common/KibicError.h"

#include <QTime>
#include <algorithm>

namespace kibic {

QStringList RoundColumns::Names()
{
    return { QStringLiteral("Section"), QStringLiteral("Table"), QStringLiteral("Round"), QStringLiteral("custom_ZYRT"),
        QStringLiteral("custom_Komp"), QStringLiteral("LowBoard"), QStringLiteral("HighBoard"), QStringLiteral("NSPair"),
        QStringLiteral("EWPair") };
}

RoundColumns::RoundColumns(const TTable& rdaTable)
    : Slot(rdaTable.ColumnOf(QStringLiteral("custom_ZYRT")))
    , BoardSetColumnsRead(rdaTable.HasField(QStringLiteral("custom_Komp"))
          && rdaTable.HasField(QStringLiteral("LowBoard")) && rdaTable.HasField(QStringLiteral("HighBoard")))
{
    if (BoardSetColumnsRead) {
        BoardSet = rdaTable.ColumnOf(QStringLiteral("custom_Komp"));
        LowBoard = rdaTable.ColumnOf(QStringLiteral("LowBoard"));
        HighBoard = rdaTable.ColumnOf(QStringLiteral("HighBoard"));
    }
    if (rdaTable.HasField(QStringLiteral("NSPair")) && rdaTable.HasField(QStringLiteral("EWPair")))
        Pairs = { rdaTable.ColumnOf(QStringLiteral("NSPair")), rdaTable.ColumnOf(QStringLiteral("EWPair")) };
}

RoundDataRow RoundColumns::Read(const TTable& rdaTable) const
{
    RoundDataRow row;
    row.Found = true;
    row.Slot = rdaTable.FieldAsInteger(Slot);
    row.BoardSetColumnsRead = BoardSetColumnsRead;
    if (BoardSetColumnsRead) {
        row.BoardSet = rdaTable.FieldAsInteger(BoardSet);
        row.LowBoard = rdaTable.FieldAsInteger(LowBoard);
        row.HighBoard = rdaTable.FieldAsInteger(HighBoard);
    }
    if (Pairs) {
        row.NSPair = rdaTable.FieldAsInteger(Pairs->first);
        row.EWPair = rdaTable.FieldAsInteger(Pairs->second);
    }
    return row;
}

QStringList ReceivedColumns::Names(const QString& processedColumn)
{
    return { QStringLiteral("Section"), QStringLiteral("Table"), QStringLiteral("Round"), QStringLiteral("Board"),
        QStringLiteral("Remarks"), QStringLiteral("Contract"), QStringLiteral("NS/EW"), QStringLiteral("LeadCard"),
        QStringLiteral("Result"), QStringLiteral("Erased"), QStringLiteral("TimeLog"), QStringLiteral("PairNS"),
        QStringLiteral("PairEW"), processedColumn };
}

ReceivedColumns::ReceivedColumns(const TTable& recTable)
    : Section(recTable.ColumnOf(QStringLiteral("Section")))
    , Table(recTable.ColumnOf(QStringLiteral("Table")))
    , Round(recTable.ColumnOf(QStringLiteral("Round")))
    , Board(recTable.ColumnOf(QStringLiteral("Board")))
    , Remarks(recTable.ColumnOf(QStringLiteral("Remarks")))
    , Contract(recTable.ColumnOf(QStringLiteral("Contract")))
    , NsEw(recTable.ColumnOf(QStringLiteral("NS/EW")))
    , LeadCard(recTable.ColumnOf(QStringLiteral("LeadCard")))
    , Result(recTable.ColumnOf(QStringLiteral("Result")))
    , Erased(recTable.ColumnOf(QStringLiteral("Erased")))
{
    if (recTable.HasField(QStringLiteral("TimeLog")))
        TimeLog = recTable.ColumnOf(QStringLiteral("TimeLog"));
    if (recTable.HasField(QStringLiteral("PairNS")) && recTable.HasField(QStringLiteral("PairEW")))
        Pairs = { recTable.ColumnOf(QStringLiteral("PairNS")), recTable.ColumnOf(QStringLiteral("PairEW")) };
}

ReceivedResult ReceivedColumns::Read(const TTable& recTable) const
{
    ReceivedResult received;
    received.Section = recTable.FieldAsInteger(Section);
    received.Table = recTable.FieldAsInteger(Table);
    received.Round = recTable.FieldAsInteger(Round);
    received.Board = recTable.FieldAsInteger(Board);
    received.Remarks = recTable.FieldAsString(Remarks);
    received.Contract = recTable.FieldAsString(Contract);
    received.NsEw = recTable.FieldAsString(NsEw);
    received.LeadCard = recTable.FieldAsString(LeadCard);
    received.Result = recTable.FieldAsString(Result);
    received.Erased = recTable.FieldAsBoolean(Erased);
    if (Pairs) {
        received.PairNS = recTable.FieldAsInteger(Pairs->first);
        received.PairEW = recTable.FieldAsInteger(Pairs->second);
    }
    return received;
}

QString ReceivedColumns::KeyedInTime(const TTable& recTable) const
{
    if (!TimeLog)
        return {};
    const QVariant value = recTable.FieldValue(*TimeLog);
    if (value.isNull())
        return {};
    const QMetaType::Type type = static_cast<QMetaType::Type>(value.typeId());
    if (type == QMetaType::QTime || type == QMetaType::QDateTime)
        return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    const QString text = value.toString().trimmed();
    // A text time, or a date and time, as a file of the other program may hold it.
    const QTime time = QTime::fromString(text.right(8), QStringLiteral("HH:mm:ss"));
    return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : text;
}

std::optional<RoundRange> RoundsOfRows(TTable& recTable, const TTable::Column& round)
{
    std::optional<RoundRange> rounds;
    for (recTable.First(); !recTable.Eof(); recTable.Next()) {
        qint32 value = 0;
        try {
            value = recTable.FieldAsInteger(round);
        } catch (const KibicError&) {
            rounds.reset();
            break;
        }
        rounds = rounds ? RoundRange { std::min(rounds->First, value), std::max(rounds->Last, value) }
                        : RoundRange { value, value };
    }
    recTable.First();
    return rounds;
}

RoundLookup::RoundLookup(TTable& rdaTable, std::optional<RoundRange> rounds)
    : m_table(rdaTable)
    , m_rounds(rounds)
{
}

RoundDataRow RoundLookup::Of(const ReceivedResult& received)
{
    const RoundKey key { received.Section, received.Table, received.Round };
    const auto known = m_rows.constFind(key);
    if (known != m_rows.constEnd())
        return known.value();
    const RoundDataRow row = Locate(key);
    m_rows.insert(key, row);
    return row;
}

RoundDataRow RoundLookup::Locate(const RoundKey& key)
{
    if (!m_table.Active()) {
        m_table.SetFilter(m_rounds
                ? QStringLiteral("[Round]>=%1 AND [Round]<=%2").arg(m_rounds->First).arg(m_rounds->Last)
                : QString());
        m_table.SetReadColumns(RoundColumns::Names());
        m_table.Open();
    }
    if (!m_table.Locate(QStringLiteral("Section;Table;Round"), { key.Section, key.Table, key.Round }))
        return {};
    if (!m_columns)
        m_columns.emplace(m_table);
    return m_columns->Read(m_table);
}

RoundDataRow ReadRoundDataRow(const TTable& rdaTable)
{
    return RoundColumns(rdaTable).Read(rdaTable);
}

ReceivedResult ReadReceivedResult(const TTable& recTable)
{
    return ReceivedColumns(recTable).Read(recTable);
}

} // namespace kibic
