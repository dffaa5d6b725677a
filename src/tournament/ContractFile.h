// Making sure a tournament's contract file (.KNT) exists before results are written into it.
#pragma once

#include <QString>
#include <QtGlobal>

namespace kibic {

// Creates base + ".KNT" with recordCount empty records ("no result") when the tournament has no contract
// file yet, in any letter case of the extension; an existing file is never changed, whatever its size.
// A count outside 0..MaxTournamentElements, or a file that cannot be written, raises KibicError.
void CreateContractFile(const QString& base, qint64 recordCount);

} // namespace kibic
