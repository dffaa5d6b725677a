// ZyRT's two result files of a tournament, written one record at a time, in place.
#include "transfer/ResultFiles.h"

#include "common/KibicError.h"
#include "tournament/TournamentFiles.h"

#include <QtEndian>
#include <algorithm>

namespace kibic {

namespace {

constexpr int ScoreWordSize = 2;

QByteArray ScoreWordBytes(qint16 scoreWord)
{
    QByteArray bytes(ScoreWordSize, '\0');
    qToLittleEndian<qint16>(scoreWord, bytes.data());
    return bytes;
}

} // namespace

void ForEachResultRecord(const QString& scoreFile, const QString& contractFile, const ResultRecordVisitor& visit)
{
    constexpr qint64 kBlockRecords = 4096;
    RecordFileReader scores(scoreFile, ScoreWordSize);
    RecordFileReader contracts(contractFile, ContractRecord::Size);
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

ResultFilesWriter::ResultFilesWriter(const TournamentModel& model)
    : m_model(model)
{
}

void ResultFilesWriter::Write(qint64 recordIndex, const ConvertedResult& result)
{
    if (!m_scores) {
        m_scores.emplace(ScoreFileName(m_model), ScoreWordSize);
        m_contracts.emplace(ContractFileName(m_model), ContractRecord::Size);
    }
    m_scores->CheckRecord(recordIndex);
    m_contracts->CheckRecord(recordIndex);
    m_scores->Write(recordIndex, ScoreWordBytes(result.ScoreWord));
    m_contracts->Write(recordIndex, result.Contract.ToBytes());
}

QString ResultFilesWriter::ScoreFile() const
{
    return m_scores ? m_scores->FileName() : QString();
}

QString ResultFilesWriter::ContractFile() const
{
    return m_contracts ? m_contracts->FileName() : QString();
}

void WriteResultRecords(const TournamentModel& model, qint64 recordIndex, const ConvertedResult& result)
{
    ResultFilesWriter(model).Write(recordIndex, result);
}

void WriteScoreWord(const QString& fileName, qint64 recordIndex, qint16 scoreWord)
{
    RecordFileWriter(fileName, ScoreWordSize).Write(recordIndex, ScoreWordBytes(scoreWord));
}

std::vector<qint16> ReadScoreWords(const QString& fileName)
{
    RecordFileReader reader(fileName, ScoreWordSize);
    const QByteArray bytes = reader.Read(reader.Records());
    std::vector<qint16> words;
    words.reserve(static_cast<size_t>(bytes.size() / ScoreWordSize));
    for (qsizetype at = 0; at < bytes.size(); at += ScoreWordSize)
        words.push_back(qFromLittleEndian<qint16>(bytes.constData() + at));
    return words;
}

} // namespace kibic
