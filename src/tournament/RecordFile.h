// ZyRT's files of fixed-size records (the score and contract files): updated in place one record at a
// time, and read back in blocks.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

namespace kibic {

// One file of records of one size, written a record at a time. Each write opens the file, writes the
// record at its place and closes the file again, so that ZyRT may read the file between two writes; the
// file is never created, extended or kept open. Its record count is read from the disk once, at the first
// write, and kept for the writer's life (ZyRT sizes these files when it creates a tournament and never
// shortens them): one writer serves one pass. Failures are KibicError naming the file: "Brak pliku" for a
// file that does not exist, the system's own text for one that cannot be opened, written or closed.
class RecordFileWriter
{
public:
    RecordFileWriter(QString fileName, int recordSize);

    [[nodiscard]] const QString& FileName() const { return m_fileName; }

    // Refuses, naming the file and the record, an index outside the records the file holds.
    void CheckRecord(qint64 index);

    // Writes record index; record holds exactly one record's bytes.
    void Write(qint64 index, const QByteArray& record);

private:
    QString m_fileName;
    int m_recordSize;
    qint64 m_records = -1; // -1 until read from the disk
};

// One file of records of one size, read from the first record on.
class RecordFileReader
{
public:
    // A missing file, one that cannot be opened, or a length that is not a whole number of records is a
    // KibicError naming the file.
    RecordFileReader(const QString& fileName, int recordSize);

    [[nodiscard]] qint64 Records() const { return m_records; }

    // The next count records; fewer bytes than that (the file was cut meanwhile) is a KibicError.
    [[nodiscard]] QByteArray Read(qint64 count);

private:
    QFile m_file;
    int m_recordSize;
    qint64 m_records = 0;
};

} // namespace kibic
