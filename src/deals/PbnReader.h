// The deals of a PBN file (Portable Bridge Notation), as dealing programs and duplimate machines export them.
#pragma once

#include "deals/Deal.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace kibic {

// A PBN file is a list of games, each a block of tag lines such as
//     [Board "1"]
//     [Dealer "N"]
//     [Vulnerable "None"]
//     [Deal "N:AKQ2.T98.765.432 J9.AK7.KQ.AT985 ... ..."]
// separated by empty lines. The Deal value names the first hand, then gives four hands clockwise from it,
// each four suits (spades, hearts, diamonds, clubs) joined by ".", "T" (or "10") for the ten, nothing or "-"
// for a void. Every other tag, the commentary (";" to the end of the line, "{" to "}") and the lines that start
// with "%" are skipped. The bytes are UTF-8 (a leading byte-order mark is dropped) when they are valid UTF-8,
// else Windows-1250; line ends may be CRLF.
//
// A game without a Deal tag is skipped. A game with one must have a board number; a missing Dealer or
// Vulnerable tag takes the board's standard rotation. A deal whose cards are not the 52 of the pack, 13 a hand,
// a board number given twice, or a tag value that cannot be read, raises KibicError naming the file and the
// board. A file without any deal raises it too.
[[nodiscard]] std::vector<Deal> ParsePbn(const QByteArray& bytes, const QString& fileName);

// The file read and parsed; a file that cannot be opened raises KibicError naming it.
[[nodiscard]] std::vector<Deal> ReadPbnFile(const QString& fileName);

// The text of a PBN file's bytes: UTF-8 without its byte-order mark, or Windows-1250.
[[nodiscard]] QString PbnText(const QByteArray& bytes);

} // namespace kibic
