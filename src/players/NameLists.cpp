// Writing ZyRT's identifier and name lists.
#include "players/NameLists.h"

#include "common/SafeFiles.h"
#include "common/uNapisy.h"
#include "tournament/TextData.h"
#include "tournament/TournamentFiles.h"

#include <QDir>
#include <QFileInfo>

namespace kibic {

namespace {

constexpr int kUnknownLines = 11;
constexpr qsizetype kNameSize = 17;
constexpr qsizetype kWkSize = 4;
constexpr qsizetype kRegionSize = 5;
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// One line of the identifier list. A line break or TAB inside a field (the player database holds free
// text) becomes a space, so that every entry keeps its eight lines.
QByteArray ListLine(QByteArray field)
{
    for (char& c : field) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F')
            c = ' ';
    }
    const QByteArray text = TrimmedBytes(field);
    if (text.isEmpty())
        return UnknownText.toByteArray();
    if (text.contains(' '))
        return '"' + text + '"';
    return text;
}

QByteArray WithoutUnknown(QByteArray text)
{
    text.replace('?', QByteArray());
    return text;
}

QByteArray PaddedRight(QByteArray text, qsizetype size)
{
    while (text.size() < size)
        text.append(' ');
    return text.left(size);
}

QByteArray PaddedLeft(QByteArray text, qsizetype size)
{
    while (text.size() < size)
        text.prepend(' ');
    return text.left(size);
}

ListFileResult WriteList(const QString& fileName, const QByteArray& bytes, Operator& op)
{
    if (QFileInfo::exists(fileName)) {
        if (op.Ask(Question::Overwrite, QDir::toNativeSeparators(fileName) + uNapisy::IstniejeNadpisac)
            != ModalResult::Yes)
            return { fileName, false };
    }
    SaveWholeFile(fileName, bytes, QStringLiteral("Nie można zapisać pliku"));
    return { fileName, true };
}

} // namespace

QByteArray IdentifierListBytes(const PlayerEntries& entries)
{
    QByteArray list;
    for (int i = 0; i < kUnknownLines; ++i)
        list += UnknownText + kLineEnd;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const PlayerEntry& entry = entries[i];
        list += QByteArray::number(entry.ParticipantNo) + kLineEnd;
        for (const QByteArray* field :
            { &entry.FirstName, &entry.Surname, &entry.Wk, &entry.Region, &entry.Info, &entry.Club, &entry.Id })
            list += ListLine(*field) + kLineEnd;
    }
    return list;
}

QByteArray NameRecord(const PlayerEntry& entry, bool convertLetters)
{
    QByteArray name = entry.FirstName.left(1) + ' ' + entry.Surname;
    if (convertLetters)
        name = ConvertPolishLetters(name);
    return PaddedRight(WithoutUnknown(name), kNameSize) + PaddedLeft(WithoutUnknown(entry.Wk), kWkSize)
        + PaddedRight(WithoutUnknown(entry.Region), kRegionSize);
}

QByteArray NameListBytes(const PlayerEntries& entries, bool convertLetters)
{
    QByteArray list;
    for (std::size_t i = 1; i < entries.size(); ++i)
        list += NameRecord(entries[i], convertLetters);
    return list;
}

ListFileResult WriteIdentifierList(
    const PlayerEntries& entries, const QString& tournamentBase, bool pairsEvent, Operator& op)
{
    const QString fileName
        = TournamentFile(tournamentBase, pairsEvent ? QStringLiteral(".LU2") : QStringLiteral(".LU1"));
    return WriteList(fileName, IdentifierListBytes(entries), op);
}

ListFileResult WriteNameList(
    const PlayerEntries& entries, const QString& tournamentBase, bool pairsEvent, bool convertLetters, Operator& op)
{
    const QString fileName
        = TournamentFile(tournamentBase, pairsEvent ? QStringLiteral(".LUC") : QStringLiteral(".LZA"));
    return WriteList(fileName, NameListBytes(entries, convertLetters), op);
}

} // namespace kibic
