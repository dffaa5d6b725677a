// The printed numbers of a tournament's boards, from ZyRT's optional board-numbering file (.INR).
#pragma once

#include "tournament/TournamentModel.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace kibic {

// The non-zero numbers of a board-numbering file, in file order; empty when there is no file.
struct BoardNumbering
{
    QString FileName;
    std::vector<qint32> Numbers;
};

// The numbers at the start of the lines of an .INR file's bytes; zeros and blank lines are skipped.
// A line that does not begin with a number raises KibicError naming the file and the line.
[[nodiscard]] std::vector<qint32> ParseBoardNumbering(const QByteArray& bytes, const QString& fileName);

// base + ".INR", whatever the case of its extension; a file that cannot be opened gives no numbers.
[[nodiscard]] BoardNumbering ReadBoardNumbering(const QString& base);

// The printed number of board i (1-based):
//   no numbers                 i
//   one number k > 0           k + i (numbering starts after k)
//   one number -n < 0          ((i - 1) mod n) + 1 (numbering repeats every n boards)
//   several, at least i        the i-th number
//   several, fewer than i      i
// A number that does not fit 32 bits raises KibicError naming the file.
[[nodiscard]] qint32 BoardNumberOf(const BoardNumbering& numbering, qint32 i);

// The same, reading the tournament's .INR file for this one board.
[[nodiscard]] qint32 BoardNumberOf(const QString& base, qint32 i);
[[nodiscard]] qint32 BoardNumberOf(const TournamentModel& model, qint32 i);

// BoardNumbers := 0..BoardCount, element i the printed number of board i. Reads the .INR file once.
// A BoardCount outside 0..MaxTournamentElements raises KibicError.
void FillBoardNumbers(TournamentModel& model);

} // namespace kibic
