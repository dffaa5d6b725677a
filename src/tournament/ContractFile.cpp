// Creation of the contract file (.KNT) of a tournament that has none yet.
//
// Contract file (.KNT): records of 8 bytes, back to back, no header; ResultsPerBoard records for each
// board, board after board. A new file holds only empty records:
//   OFFSET SIZE  FIELD
//      0     1   Level          9: no result yet
//      1     7   (rest)         0
#include "tournament/ContractFile.h"

#include "common/KibicError.h"
#include "common/SafeFiles.h"
#include "tournament/DescriptionChecks.h"
#include "tournament/TournamentFiles.h"

#include <QFileInfo>

namespace kibic {

namespace {

constexpr int kRecordSize = 8;
constexpr char kNoResult = 9;

} // namespace

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
    QByteArray empty(kRecordSize, '\0');
    empty[0] = kNoResult;
    QByteArray records;
    records.reserve(recordCount * kRecordSize);
    for (qint64 i = 0; i < recordCount; ++i)
        records.append(empty);
    SaveWholeFile(fileName, records, QStringLiteral("Nie można utworzyć pliku"));
}

} // namespace kibic
