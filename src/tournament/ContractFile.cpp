// ZyRT's contract file (.KNT): its record, its creation and the writing and reading of its records.
#include "tournament/ContractFile.h"

#include "common/KibicError.h"
#include "common/SafeFiles.h"
#include "tournament/DescriptionChecks.h"
#include "tournament/RecordFile.h"
#include "tournament/TournamentFiles.h"

#include <QFileInfo>
#include <QtEndian>

namespace kibic {

ContractRecord ContractRecord::EmptySlot()
{
    ContractRecord record;
    record.Level = LevelByte(LevelCode::NoResult);
    return record;
}

QByteArray ContractRecord::ToBytes() const
{
    QByteArray bytes(Size, '\0');
    bytes[0] = static_cast<char>(Level);
    bytes[1] = static_cast<char>(Denomination);
    bytes[2] = static_cast<char>(Doubling);
    bytes[3] = static_cast<char>(Declarer);
    bytes[4] = static_cast<char>(LeadSuit);
    bytes[5] = static_cast<char>(LeadRank);
    qToLittleEndian<qint16>(ResultValue, bytes.data() + 6);
    return bytes;
}

ContractRecord ContractRecord::FromBytes(const char* bytes)
{
    const auto byte = [bytes](int offset) { return static_cast<quint8>(bytes[offset]); };
    ContractRecord record;
    record.Level = byte(0);
    record.Denomination = static_cast<kibic::Denomination>(byte(1));
    record.Doubling = static_cast<kibic::Doubling>(byte(2));
    record.Declarer = static_cast<Seat>(byte(3));
    record.LeadSuit = static_cast<LeadSuitCode>(byte(4));
    record.LeadRank = byte(5);
    record.ResultValue = qFromLittleEndian<qint16>(bytes + 6);
    return record;
}

QString ContractFileName(const TournamentModel& model)
{
    return TournamentFile(model.TournamentBase, QStringLiteral(".KNT"));
}

void CreateContractFile(const QString& base, qint64 recordCount)
{
    const QString fileName = TournamentFile(base, QStringLiteral(".KNT"));
    const QFileInfo existing(fileName);
    if (existing.isDir())
        throw KibicError(QStringLiteral("Nie można otworzyć pliku %1: w jego miejscu jest folder.").arg(fileName));
    if (existing.exists())
        return;
    if (recordCount < 0 || recordCount > MaxTournamentElements)
        throw KibicError(QStringLiteral("Nie można utworzyć pliku %1: liczba zapisów %2 jest niemożliwa.")
                             .arg(fileName)
                             .arg(recordCount));
    const QByteArray empty = ContractRecord::EmptySlot().ToBytes();
    QByteArray records;
    records.reserve(recordCount * ContractRecord::Size);
    for (qint64 i = 0; i < recordCount; ++i)
        records.append(empty);
    SaveWholeFile(fileName, records, QStringLiteral("Nie można utworzyć pliku"));
}

void WriteContractRecord(const QString& fileName, qint64 recordIndex, const ContractRecord& record)
{
    RecordFileWriter(fileName, ContractRecord::Size).Write(recordIndex, record.ToBytes());
}

std::vector<ContractRecord> ReadContractRecords(const QString& fileName)
{
    RecordFileReader reader(fileName, ContractRecord::Size);
    const QByteArray bytes = reader.Read(reader.Records());
    std::vector<ContractRecord> records;
    records.reserve(static_cast<size_t>(bytes.size() / ContractRecord::Size));
    for (qsizetype at = 0; at < bytes.size(); at += ContractRecord::Size)
        records.push_back(ContractRecord::FromBytes(bytes.constData() + at));
    return records;
}

} // namespace kibic
