// ZyRT's two result files of a tournament, written one record at a time, in place.
#pragma once

#include "tournament/RecordFile.h"
#include "transfer/ResultConversion.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace kibic {

// The score file (layout in ResultConversion.h): TournamentBase + ".ZAP" for a pairs event, ".ZAI" for an
// individual one, whatever the letter case of the extension on disk.
[[nodiscard]] QString ScoreFileName(const TournamentModel& model);

// The two result files as one pass writes them. The files are looked up on the disk (in any letter case)
// at the first write, and their record counts read then, once for the pass; every write after that costs
// an open, a write and a close of each file.
class ResultFilesWriter
{
public:
    explicit ResultFilesWriter(const TournamentModel& model);

    // Writes one result into record recordIndex of both files: the score file first, then the contract
    // file. Both files must exist and already hold that record (ZyRT prepared them; they are never created
    // or extended). Both are checked before either is written, so a refused record leaves both untouched.
    // Failures are KibicError naming the file and, where it applies, the record.
    void Write(qint64 recordIndex, const ConvertedResult& result);

    // The files written, as found on the disk; empty before the first write.
    [[nodiscard]] QString ScoreFile() const;
    [[nodiscard]] QString ContractFile() const;

private:
    const TournamentModel& m_model;
    std::optional<RecordFileWriter> m_scores;
    std::optional<RecordFileWriter> m_contracts;
};

// One result written as ResultFilesWriter writes it, the files looked up for this record alone.
void WriteResultRecords(const TournamentModel& model, qint64 recordIndex, const ConvertedResult& result);

// One score into the existing score file, in place; the same rules and failures as WriteResultRecords
// (the contract file's own: tournament/ContractFile.h).
void WriteScoreWord(const QString& fileName, qint64 recordIndex, qint16 scoreWord);

// Every score of the score file, in order. A missing file, a read error or a length that is not a whole number of
// records is a KibicError naming the file.
[[nodiscard]] std::vector<qint16> ReadScoreWords(const QString& fileName);

// One record of both files, as ForEachResultRecord hands it over: its index, the score word and the
// contract record. Returns false to stop the reading.
using ResultRecordVisitor = std::function<bool(qint64 index, qint16 scoreWord, const ContractRecord& contract)>;

// Reads the records of a score file and a contract file side by side, a block at a time, so that files of
// any size are read in bounded memory. Both files must hold whole records, and as many of them; a file that
// is missing, cannot be read, or changes length while it is read is a KibicError naming it.
void ForEachResultRecord(const QString& scoreFile, const QString& contractFile, const ResultRecordVisitor& visit);

} // namespace kibic
