// ZyRT's two result files of a tournament, written one record at a time, in place.
#include "transfer/ResultFiles.h"

#include "common/HeldFiles.h"
#include "common/KibicError.h"
#include "tournament/TournamentFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>

namespace kibic {

namespace {

constexpr int ScoreWordSize = 2;

// A result file opened for updating one record: it must exist and already hold the record.
class RecordFile
{
public:
    RecordFile(const QString& fileName, int recordSize, qint64 recordIndex)
        : m_file(fileName)
        , m_recordSize(recordSize)
        , m_recordIndex(recordIndex)
    {
        if (!QFileInfo::exists(fileName))
            throw KibicError(QStringLiteral("Brak pliku %1.").arg(fileName));
        bool held = false;
        if (!OpenWaitingForHold(
                fileName, [this] { return m_file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly); }, held)) {
            if (held)
                throw FileHeldError(fileName);
            throw KibicError(
                QStringLiteral("Nie można otworzyć pliku %1 do zapisu: %2").arg(fileName, m_file.errorString()));
        }
        const qint64 records = m_file.size() / recordSize;
        if (recordIndex < 0 || recordIndex >= records)
            throw KibicError(QStringLiteral("Plik %1 nie ma rekordu %2 (rekordów w pliku: %3).")
                                 .arg(fileName)
                                 .arg(recordIndex)
                                 .arg(records));
    }

    void Write(const QByteArray& record)
    {
        const QString fileName = m_file.fileName();
        if (!m_file.seek(m_recordIndex * m_recordSize))
            throw KibicError(QStringLiteral("Nie można przejść do rekordu %1 pliku %2: %3")
                                 .arg(m_recordIndex)
                                 .arg(fileName, m_file.errorString()));
        if (m_file.write(record) != record.size() || !m_file.flush())
            throw KibicError(QStringLiteral("Nie można zapisać rekordu %1 w pliku %2: %3")
                                 .arg(m_recordIndex)
                                 .arg(fileName, m_file.errorString()));
        m_file.close();
        if (m_file.error() != QFileDevice::NoError)
            throw KibicError(QStringLiteral("Nie można zamknąć pliku %1: %2").arg(fileName, m_file.errorString()));
    }

private:
    QFile m_file;
    int m_recordSize;
    qint64 m_recordIndex;
};

QByteArray ScoreWordBytes(qint16 scoreWord)
{
    QByteArray bytes(ScoreWordSize, '\0');
    qToLittleEndian<qint16>(scoreWord, bytes.data());
    return bytes;
}

// A result file opened for reading its records in order.
class RecordReader
{
public:
    RecordReader(const QString& fileName, int recordSize)
        : m_file(fileName)
        , m_recordSize(recordSize)
    {
        if (!QFileInfo::exists(fileName))
            throw KibicError(QStringLiteral("Brak pliku %1.").arg(fileName));
        if (!m_file.open(QIODevice::ReadOnly))
            throw KibicError(QStringLiteral("Nie można otworzyć pliku %1: %2").arg(fileName, m_file.errorString()));
        const qint64 size = m_file.size();
        if (size % recordSize != 0)
            throw KibicError(QStringLiteral("Plik %1 ma %2 bajtów, a to nie jest pełna liczba rekordów po %3 bajtów.")
                                 .arg(fileName)
                                 .arg(size)
                                 .arg(recordSize));
        m_records = size / recordSize;
    }

    [[nodiscard]] qint64 Records() const { return m_records; }
    [[nodiscard]] QString FileName() const { return m_file.fileName(); }

    // The next count records; fewer bytes than that is an error (the file was cut meanwhile).
    QByteArray Read(qint64 count)
    {
        const qint64 wanted = count * m_recordSize;
        QByteArray block = m_file.read(wanted);
        if (block.size() != wanted)
            throw KibicError(QStringLiteral("Nie można odczytać pliku %1: %2")
                                 .arg(m_file.fileName(),
                                     m_file.error() != QFileDevice::NoError ? m_file.errorString()
                                                                            : QStringLiteral("plik się skrócił")));
        return block;
    }

private:
    QFile m_file;
    int m_recordSize;
    qint64 m_records = 0;
};

} // namespace

void ForEachResultRecord(const QString& scoreFile, const QString& contractFile, const ResultRecordVisitor& visit)
{
    constexpr qint64 kBlockRecords = 4096;
    RecordReader scores(scoreFile, ScoreWordSize);
    RecordReader contracts(contractFile, ContractRecord::Size);
    if (scores.Records() != contracts.Records())
        throw KibicError(QStringLiteral("Pliki %1 (rekordów: %2) i %3 (rekordów: %4) nie pasują do siebie.")
                             .arg(scoreFile)
                             .arg(scores.Records())
                             .arg(contractFile)
                             .arg(contracts.Records()));
    for (qint64 first = 0; first < scores.Records(); first += kBlockRecords) {
        const qint64 count = std::min(kBlockRecords, scores.Records() - first);
        const QByteArray scoreBlock = scores.Read(count);
        const QByteArray contractBlock = contracts.Read(count);
        for (qint64 i = 0; i < count; ++i) {
            const qint16 scoreWord = qFromLittleEndian<qint16>(scoreBlock.constData() + i * ScoreWordSize);
            const ContractRecord contract
                = ContractRecord::FromBytes(contractBlock.constData() + i * ContractRecord::Size);
            if (!visit(first + i, scoreWord, contract))
                return;
        }
    }
}

QString ScoreFileName(const TournamentModel& model)
{
    return TournamentFile(model.TournamentBase, model.PairsEvent ? QStringLiteral(".ZAP") : QStringLiteral(".ZAI"));
}

QString ContractFileName(const TournamentModel& model)
{
    return TournamentFile(model.TournamentBase, QStringLiteral(".KNT"));
}

void WriteResultRecords(const TournamentModel& model, qint64 recordIndex, const ConvertedResult& result)
{
    RecordFile scoreFile(ScoreFileName(model), ScoreWordSize, recordIndex);
    RecordFile contractFile(ContractFileName(model), ContractRecord::Size, recordIndex);
    scoreFile.Write(ScoreWordBytes(result.ScoreWord));
    contractFile.Write(result.Contract.ToBytes());
}

void WriteScoreWord(const QString& fileName, qint64 recordIndex, qint16 scoreWord)
{
    RecordFile(fileName, ScoreWordSize, recordIndex).Write(ScoreWordBytes(scoreWord));
}

void WriteContractRecord(const QString& fileName, qint64 recordIndex, const ContractRecord& record)
{
    RecordFile(fileName, ContractRecord::Size, recordIndex).Write(record.ToBytes());
}

std::vector<qint16> ReadScoreWords(const QString& fileName)
{
    RecordReader reader(fileName, ScoreWordSize);
    const QByteArray bytes = reader.Read(reader.Records());
    std::vector<qint16> words;
    words.reserve(static_cast<size_t>(bytes.size() / ScoreWordSize));
    for (qsizetype at = 0; at < bytes.size(); at += ScoreWordSize)
        words.push_back(qFromLittleEndian<qint16>(bytes.constData() + at));
    return words;
}

std::vector<ContractRecord> ReadContractRecords(const QString& fileName)
{
    RecordReader reader(fileName, ContractRecord::Size);
    const QByteArray bytes = reader.Read(reader.Records());
    std::vector<ContractRecord> records;
    records.reserve(static_cast<size_t>(bytes.size() / ContractRecord::Size));
    for (qsizetype at = 0; at < bytes.size(); at += ContractRecord::Size)
        records.push_back(ContractRecord::FromBytes(bytes.constData() + at));
    return records;
}

} // namespace kibic
