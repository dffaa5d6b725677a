// Whole files read and replaced in one step, so that a failure never leaves half a file; records forced to disk.
#pragma once

#include <QByteArray>
#include <QString>

class QFileDevice;

namespace kibic {

// The whole content of fileName. A file that cannot be opened or read raises KibicError "what fileName: the
// file failure's text"; what is the start of the message for each ("Nie można otworzyć pliku", "Nie można
// odczytać pliku").
[[nodiscard]] QByteArray ReadWholeFile(const QString& fileName, const QString& openFailure, const QString& readFailure);

// Writes bytes as the whole new content of fileName: into a temporary file beside it, flushed and forced
// to disk, then put in the old file's place. Every step is checked, a full disk included; a failure
// raises KibicError "failure fileName: the system's own text" and leaves an old file as it was and no
// new one. failure is the start of the message ("Nie można zapisać pliku").
void SaveWholeFile(const QString& fileName, const QByteArray& bytes, const QString& failure);

// Forces what was written into an open file onto the disk (fdatasync; FlushFileBuffers on Windows), so
// that a power cut after it loses nothing. False on failure, with the system's text in systemText.
[[nodiscard]] bool ForceToDisk(QFileDevice& file, QString& systemText);

// Opens an existing file and forces its written records onto the disk; KibicError naming the file on
// failure.
void ForceFileToDisk(const QString& fileName);

// Gives the whole file from the name to, in one step, replacing a file of that name, and makes the new
// name durable. A failure raises KibicError "failure to: the system's own text" and leaves both as they were.
void MoveIntoPlace(const QString& from, const QString& to, const QString& failure);

} // namespace kibic
