// Looking players up in ZyRT's names database file.
#include "players/NamesFile.h"

#include "common/KibicError.h"
#include "common/SafeFiles.h"
#include "common/uNapisy.h"

namespace kibic {

namespace {

struct Field
{
    qsizetype Offset;
    qsizetype Size;
};

struct RecordLayout
{
    int Size;
    Field Surname;
    Field Wk;
    Field District;
    Field Identifier;
};

constexpr RecordLayout kShortRecord { 31, { 2, 15 }, { 17, 4 }, { 21, 5 }, { 26, 5 } };
constexpr RecordLayout kFullRecord { 63, { 12, 17 }, { 29, 4 }, { 33, 5 }, { 58, 5 } };

QByteArray Bytes(const QByteArray& file, qsizetype recordStart, Field field)
{
    return file.mid(recordStart + field.Offset, field.Size);
}

} // namespace

int NamesRecordSize(const QByteArray& fileStart)
{
    return fileStart.startsWith(FullNamesSignature) ? kFullRecord.Size : kShortRecord.Size;
}

void LookUpNames(const QByteArray& file, PlayerEntries& entries)
{
    const RecordLayout& layout = NamesRecordSize(file) == kFullRecord.Size ? kFullRecord : kShortRecord;
    const qsizetype records = file.size() / layout.Size;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        PlayerEntry& entry = entries[i];
        for (qsizetype r = 0; r < records; ++r) {
            const qsizetype start = r * layout.Size;
            if (Bytes(file, start, layout.Identifier) != entry.Id)
                continue;
            entry.FirstName = file.mid(start, 1);
            entry.Surname = TrimmedBytes(Bytes(file, start, layout.Surname));
            entry.Wk = TrimmedBytes(Bytes(file, start, layout.Wk));
            QByteArray district = Bytes(file, start, layout.District);
            const qsizetype comma = district.indexOf(',');
            if (comma >= 0)
                district.truncate(comma);
            entry.Region = TrimmedBytes(district);
            break;
        }
    }
}

void LookUpNamesFile(const QString& path, PlayerEntries& entries)
{
    if (path.isEmpty())
        throw KibicError(uNapisy::BrakBazyZNazwiskami.toString());
    const QByteArray bytes = ReadWholeFile(
        path, QStringLiteral("Nie można otworzyć bazy nazwisk"), QStringLiteral("Nie można odczytać bazy nazwisk"));
    // A file without its first 20 bytes or a whole record cannot be read as a names file: looking players
    // up in it would find nobody and write a list of blanks over a good one.
    if (bytes.size() < FullNamesSignature.size() || bytes.size() < NamesRecordSize(bytes))
        throw KibicError(QStringLiteral("Nie można odczytać bazy nazwisk %1: plik ma %2 B, za mało na jeden rekord.")
                             .arg(path)
                             .arg(bytes.size()));
    LookUpNames(bytes, entries);
}

} // namespace kibic
