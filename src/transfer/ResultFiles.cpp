// ZyRT's two result files of a tournament, written one record at a time, in place.
#include "transfer/ResultFiles.h"

#include "shell/KibicError.h"
#include "tournament/TournamentFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

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
        if (!m_file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
            throw KibicError(
                QStringLiteral("Nie można otworzyć pliku %1 do zapisu: %2").arg(fileName, m_file.errorString()));
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

QByteArray ReadWholeFile(const QString& fileName, int recordSize)
{
    if (!QFileInfo::exists(fileName))
        throw KibicError(QStringLiteral("Brak pliku %1.").arg(fileName));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw KibicError(QStringLiteral("Nie można otworzyć pliku %1: %2").arg(fileName, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw KibicError(QStringLiteral("Nie można odczytać pliku %1: %2").arg(fileName, file.errorString()));
    if (bytes.size() % recordSize != 0)
        throw KibicError(QStringLiteral("Plik %1 ma %2 bajtów, a to nie jest pełna liczba rekordów po %3 bajtów.")
                             .arg(fileName)
                             .arg(bytes.size())
                             .arg(recordSize));
    return bytes;
}

} // namespace

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
    const QByteArray bytes = ReadWholeFile(fileName, ScoreWordSize);
    std::vector<qint16> words;
    words.reserve(static_cast<size_t>(bytes.size() / ScoreWordSize));
    for (qsizetype at = 0; at < bytes.size(); at += ScoreWordSize)
        words.push_back(qFromLittleEndian<qint16>(bytes.constData() + at));
    return words;
}

std::vector<ContractRecord> ReadContractRecords(const QString& fileName)
{
    const QByteArray bytes = ReadWholeFile(fileName, ContractRecord::Size);
    std::vector<ContractRecord> records;
    records.reserve(static_cast<size_t>(bytes.size() / ContractRecord::Size));
    for (qsizetype at = 0; at < bytes.size(); at += ContractRecord::Size)
        records.push_back(ContractRecord::FromBytes(bytes.constData() + at));
    return records;
}

} // namespace kibic
