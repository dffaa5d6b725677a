// One received result turned into ZyRT's records.
#include "transfer/ResultConversion.h"

#include "transfer/uScoreProvider.h"

#include <limits>

namespace kibic {

namespace {

// A grid row or column that does not fit 32 bits is off the grid.
qint32 GridIndex(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return 0;
    return static_cast<qint32>(value);
}

// A percentage of a split score: a whole number 0..100, a multiple of 5.
bool ReadPercentage(const QString& text, qint32& percentage)
{
    bool isNumber = false;
    const int value = text.toInt(&isNumber);
    if (!isNumber || value < 0 || value > 100 || value % 5 != 0)
        return false;
    percentage = value;
    return true;
}

// The percentage in front of the first "%" of text (at least one character before it): the position of
// that "%", or -1 when there is none or the percentage is not valid.
qsizetype PercentageBeforeSign(const QString& text, qint32& percentage)
{
    const qsizetype sign = text.indexOf(QLatin1Char('%'));
    if (sign < 1 || !ReadPercentage(text.left(sign), percentage))
        return -1;
    return sign;
}

// The declarer of the "NS/EW" text in capitals: "NS" and "SN" are North, "EW" and "WE" East, a single seat
// letter that seat, anything else North.
Seat DeclarerOf(const QString& nsEw)
{
    if (nsEw == u"EW" || nsEw == u"WE")
        return Seat::East;
    if (nsEw.size() == 1)
        return SeatOfLetter(nsEw.front()).value_or(Seat::North);
    return Seat::North;
}

// The suit of a lead card's letter; "other" for anything but C, D, H and S.
LeadSuitCode LeadSuitOf(QChar letter)
{
    const std::optional<Denomination> suit = DenominationOfLetter(letter);
    if (!suit || *suit == Denomination::NoTrump)
        return LeadSuitCode::Other;
    // The four suits have the same codes as lead suits and as denominations.
    return static_cast<LeadSuitCode>(*suit);
}

// The rank character of a lead card: "2".."9" 1..8, "1" (of "10") 9, J 10, Q 11, K 12, A 13, else 0.
quint8 LeadRankOf(QChar rank)
{
    const char16_t code = rank.unicode();
    if (code >= u'2' && code <= u'9')
        return static_cast<quint8>(code - u'1');
    switch (code) {
    case u'1':
        return 9;
    case u'J':
        return 10;
    case u'Q':
        return 11;
    case u'K':
        return 12;
    case u'A':
        return 13;
    default:
        return 0;
    }
}

// The contract record of an ordinary result; all zero when the contract has no level 1..7 ("PASS").
ContractRecord ContractRecordOf(const QString& contract, const QString& nsEw, const QString& leadCard, qint32 result)
{
    ContractRecord record;
    record.Level = 0;
    const std::optional<Contract> read = ReadContractLeniently(contract);
    if (!read)
        return record;
    record.Level = static_cast<quint8>(read->Level);
    record.Denomination = read->Denomination;
    record.Doubling = read->Doubling;
    record.Declarer = DeclarerOf(nsEw.toUpper());
    const QString lead = leadCard.toUpper();
    if (!lead.isEmpty()) {
        record.LeadSuit = LeadSuitOf(lead.front());
        // A suit without a rank says nothing of the card.
        record.LeadRank = lead.size() >= 2 ? LeadRankOf(lead.at(1)) : 0;
    }
    record.ResultValue = static_cast<qint16>(static_cast<quint16>(static_cast<quint32>(result) & 0xFFFFu));
    return record;
}

} // namespace

qint32 GridRowOf(const TournamentModel& model, qint32 section, qint32 table)
{
    if (model.PairsEvent || model.ExtraSectionCount < 1 || section <= model.SectionCount)
        return GridIndex(qint64(section - qint64(1)) * model.TableCount + table);
    const qint64 sectorTables = model.ExtraTableCount / model.ExtraSectionCount;
    return GridIndex(sectorTables * (qint64(section) - model.SectionCount - 1)
        + qint64(model.SectionCount) * model.TableCount + table);
}

qint32 GridColumnOf(const TournamentModel& model, const RoundDataRow& roundRow, qint32 board)
{
    if (!roundRow.BoardSetColumnsRead) {
        const qint64 last = std::min<qint64>(model.BoardCount, qint64(model.BoardNumbers.size()) - 1);
        for (qint64 i = 1; i <= last; ++i) {
            if (model.BoardNumbers[static_cast<size_t>(i)] == board)
                return static_cast<qint32>(i);
        }
        return 0;
    }
    // The board's position inside its board set, by the printed numbers: a numbering that is not
    // consecutive (1 3 2 4 .., one that starts again every few boards, a descending one) still finds it.
    const qint64 first = (qint64(roundRow.BoardSet) - 1) * model.BoardsPerRound;
    if (roundRow.BoardSet < 1 || model.BoardsPerRound < 1)
        return 0;
    const qint64 last = std::min<qint64>(first + model.BoardsPerRound, qint64(model.BoardNumbers.size()) - 1);
    for (qint64 i = first + 1; i <= last; ++i) {
        if (model.BoardNumbers[static_cast<size_t>(i)] == board)
            return GridIndex(i);
    }
    return 0;
}

qint64 RecordIndex(const TournamentModel& model, qint32 column, qint32 slot)
{
    return (qint64(column) - 1) * model.ResultsPerBoard + slot - 1;
}

ResultPlacement PlaceResult(const TournamentModel& model, const ReceivedResult& received, const RoundDataRow& roundRow)
{
    ResultPlacement placement;
    placement.GridRow = GridRowOf(model, received.Section, received.Table);
    placement.Slot = roundRow.Found ? roundRow.Slot : -1;
    placement.GridColumn = roundRow.Found ? GridColumnOf(model, roundRow, received.Board) : 0;
    placement.Placed = placement.GridRow >= 1 && placement.GridRow <= model.GridTableCount && placement.GridColumn >= 1
        && placement.GridColumn <= model.BoardCount && placement.Slot >= 1 && placement.Slot <= model.ResultsPerBoard;
    if (placement.Placed)
        placement.RecordIndex = RecordIndex(model, placement.GridColumn, placement.Slot);
    return placement;
}

QString EffectiveRemark(const QString& remarks)
{
    const QString remark = remarks.trimmed();
    if (remark == u"Not played")
        return QStringLiteral("50%-50%");
    return remark;
}

bool ParseSplitScore(QString& text, qint32& ns, qint32& ew)
{
    ns = 0;
    ew = 0;
    text = text.trimmed();
    if (text.isEmpty())
        return false;
    text.remove(QLatin1Char(' '));
    qint32 nsPercent = 0;
    const qsizetype firstPercent = PercentageBeforeSign(text, nsPercent);
    if (firstPercent < 0 || firstPercent + 1 >= text.size() || text.at(firstPercent + 1) != QLatin1Char('-'))
        return false;
    qint32 ewPercent = 0;
    if (PercentageBeforeSign(text.mid(firstPercent + 2), ewPercent) < 0)
        return false;
    ns = nsPercent;
    ew = ewPercent;
    return true;
}

qint32 EncodeSplitScore(qint32 ns, qint32 ew)
{
    return (ns + 2) / 5 * 21 + (ew + 2) / 5 + 9780;
}

qint32 ResultNumber(const QString& result)
{
    bool isNumber = false;
    const int value = QStringView(result).trimmed().toInt(&isNumber);
    return isNumber ? value : 0;
}

ConvertedResult ConvertResult(const TScoreProvider& scorer, const ReceivedResult& received)
{
    ConvertedResult converted;
    if (received.Erased)
        return converted;

    converted.Contract = ContractRecord();
    const QString remark = EffectiveRemark(received.Remarks);
    if (remark.contains(QLatin1Char('%'))) {
        QString split = remark;
        qint32 ns = 0;
        qint32 ew = 0;
        if (!ParseSplitScore(split, ns, ew)) {
            ns = 50;
            ew = 50;
        }
        if (ns == 50 && ew == 50) {
            converted.Contract.Level = LevelByte(LevelCode::Average);
            converted.ScoreWord = ScoreWordAverage;
        } else {
            const auto code = static_cast<qint16>(EncodeSplitScore(ns, ew));
            converted.Contract.Level = LevelByte(LevelCode::SplitScore);
            converted.ScoreWord = code;
            converted.Contract.ResultValue = code;
        }
        return converted;
    }

    const QString contract = received.Contract.trimmed();
    const QString nsEw = received.NsEw.trimmed();
    const qint32 result = ResultNumber(received.Result);
    int score = scorer.ContractScore(received.Board, result, contract + nsEw);
    // 9999 + 1 would read as an average: an unscorable contract stays unscorable whatever the remark.
    if (remark == u"*" && score != UnscorableContract)
        score += 1;
    converted.ScoreWord = static_cast<qint16>(score);
    converted.Contract = ContractRecordOf(contract, nsEw, received.LeadCard.trimmed(), result);
    return converted;
}

} // namespace kibic
