// ZyRT's names database file: players' names, WK and district by identifier.
#pragma once

#include "players/PlayerEntries.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kibic {

// Fixed-length records back to back, no separators. A file that begins with "FULL_NAMES_FOR_ABACS" has
// 63-byte records, any other 31-byte records; that first record is searched like any other. Texts are in
// ZyRT's own letter codes.
//   FIELD        31-BYTE RECORD      63-BYTE RECORD
//                OFFSET SIZE         OFFSET SIZE
//   initial         0     1             0     1     first letter of the first name
//   surname         2    15            12    17
//   WK             17     4            29     4
//   district       21     5            33     5     only the text before a "," counts
//   identifier     26     5            58     5     compared exactly, not trimmed
// Bytes after the last whole record are not a record.
inline constexpr QByteArrayView FullNamesSignature = "FULL_NAMES_FOR_ABACS";

// The record size of a file that begins with these bytes.
[[nodiscard]] int NamesRecordSize(const QByteArray& fileStart);

// Step C2: for every entry, the first record whose identifier equals the entry's Id gives FirstName (the
// initial alone), Surname, Wk and Region (trimmed); an entry without a match stays as it was. An empty
// path raises KibicError "Brak bazy z nazwiskami!"; a file that cannot be read, or is too short for its
// first 20 bytes or one whole record, raises KibicError naming it.
void LookUpNamesFile(const QString& path, PlayerEntries& entries);

// The same on the bytes of a names file already read.
void LookUpNames(const QByteArray& file, PlayerEntries& entries);

} // namespace kibic
