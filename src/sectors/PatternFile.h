// Pattern files (*.bmt): the tables and rounds of a non-typical sector, kept for another tournament.
#pragma once

#include "tournament/TournamentModel.h"

#include <QByteArray>
#include <QString>

namespace kibic {

class Operator;

// The pattern file's bytes for rows 1..n of the sector (slots o+1..o+n) of every board set.
[[nodiscard]] QByteArray PatternBytes(const TournamentModel& model, qint32 n, qint32 o);

// Writes the pattern file whole (never half a file); a failure raises KibicError naming the file.
void SavePattern(const QString& path, const TournamentModel& model, qint32 n, qint32 o);

// Reads Table and Round of every row of the sector from a pattern file made for a tournament of the
// same shape (TableCount board sets, n tables). A pattern of another shape is refused with a message to
// the operator and changes nothing; the result says whether the pattern was loaded. A file that cannot
// be read raises KibicError naming it.
[[nodiscard]] bool LoadPattern(const QString& path, TournamentModel& model, qint32 n, qint32 o, Operator& messages);

} // namespace kibic
