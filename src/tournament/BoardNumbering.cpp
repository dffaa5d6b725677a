// Board numbering of a tournament.
//
// Board-numbering file (.INR): text, one integer at the start of each line, the rest of the line
// ignored; blank lines and zeros are skipped, byte 26 ends the file. How many non-zero numbers it holds
// decides their meaning (see BoardNumberOf).
#include "tournament/BoardNumbering.h"

#include "common/KibicError.h"
#include "tournament/DescriptionChecks.h"
#include "tournament/TextData.h"
#include "tournament/TournamentFiles.h"

#include <QFile>
#include <limits>

namespace kibic {

namespace {

bool IsBlank(char byte)
{
    return byte == ' ' || byte == '\t';
}

bool IsDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

enum class LeadingNumberKind {
    Number,
    NoNumber,
    Beyond32Bits,
};

// The integer at the start of one line.
LeadingNumberKind LeadingNumber(const QByteArray& line, qint32& value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    if (i >= line.size() || !IsDigit(line[i]))
        return LeadingNumberKind::NoNumber;
    qint64 magnitude = 0;
    for (; i < line.size() && IsDigit(line[i]); ++i) {
        magnitude = magnitude * 10 + (line[i] - '0');
        if (magnitude > qint64(std::numeric_limits<qint32>::max()) + 1)
            return LeadingNumberKind::Beyond32Bits;
    }
    const qint64 signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<qint32>::max())
        return LeadingNumberKind::Beyond32Bits;
    value = static_cast<qint32>(signedValue);
    return LeadingNumberKind::Number;
}

qint32 ToBoardNumber(qint64 number, const QString& fileName)
{
    if (number > std::numeric_limits<qint32>::max())
        throw KibicError(
            QStringLiteral("Błąd w pliku %1: numer rozdania %2 jest zbyt duży.").arg(fileName).arg(number));
    return static_cast<qint32>(number);
}

} // namespace

std::vector<qint32> ParseBoardNumbering(const QByteArray& bytes, const QString& fileName)
{
    std::vector<qint32> numbers;
    const qsizetype end = bytes.contains(kEndOfFileMark) ? bytes.indexOf(kEndOfFileMark) : bytes.size();
    qsizetype start = 0;
    int lineNumber = 0;
    while (start < end) {
        qsizetype stop = start;
        while (stop < end && bytes[stop] != '\n' && bytes[stop] != '\r')
            ++stop;
        ++lineNumber;
        qsizetype first = start;
        while (first < stop && IsBlank(bytes[first]))
            ++first;
        if (first < stop) {
            qint32 value = 0;
            const LeadingNumberKind kind = LeadingNumber(bytes.mid(first, stop - first), value);
            if (kind == LeadingNumberKind::NoNumber)
                throw KibicError(QStringLiteral("Błąd w pliku %1, wiersz %2: wiersz nie zaczyna się od liczby.")
                                     .arg(fileName)
                                     .arg(lineNumber));
            if (kind == LeadingNumberKind::Beyond32Bits)
                throw KibicError(QStringLiteral(
                    "Błąd w pliku %1, wiersz %2: liczba na początku wiersza jest zbyt duża (ponad 32 bity).")
                                     .arg(fileName)
                                     .arg(lineNumber));
            if (value != 0)
                numbers.push_back(value);
        }
        // CR LF is one line end; a lone CR or LF is one too.
        if (stop < end && bytes[stop] == '\r' && stop + 1 < end && bytes[stop + 1] == '\n')
            ++stop;
        start = stop + 1;
    }
    return numbers;
}

BoardNumbering ReadBoardNumbering(const QString& base)
{
    BoardNumbering numbering;
    numbering.FileName = TournamentFile(base, QStringLiteral(".INR"));
    QFile file(numbering.FileName);
    if (!file.open(QIODevice::ReadOnly))
        return numbering;
    numbering.Numbers = ParseBoardNumbering(file.readAll(), numbering.FileName);
    return numbering;
}

qint32 BoardNumberOf(const BoardNumbering& numbering, qint32 i)
{
    const auto& numbers = numbering.Numbers;
    if (numbers.empty())
        return i;
    if (numbers.size() == 1) {
        const qint64 k = numbers.front();
        if (k > 0)
            return ToBoardNumber(k + i, numbering.FileName);
        const qint64 n = -k;
        qint64 inCycle = (qint64(i) - 1) % n;
        if (inCycle < 0)
            inCycle += n;
        return static_cast<qint32>(inCycle + 1);
    }
    if (i >= 1 && static_cast<size_t>(i) <= numbers.size())
        return numbers[static_cast<size_t>(i) - 1];
    return i;
}

qint32 BoardNumberOf(const QString& base, qint32 i)
{
    return BoardNumberOf(ReadBoardNumbering(base), i);
}

qint32 BoardNumberOf(const TournamentModel& model, qint32 i)
{
    return BoardNumberOf(model.TournamentBase, i);
}

void FillBoardNumbers(TournamentModel& model)
{
    if (model.BoardCount < 0 || model.BoardCount > MaxTournamentElements)
        throw KibicError(QStringLiteral("Turniej %1: liczba rozdań %2 jest niemożliwa.")
                             .arg(model.TournamentBase)
                             .arg(model.BoardCount));
    const BoardNumbering numbering = ReadBoardNumbering(model.TournamentBase);
    model.BoardNumbers.resize(static_cast<size_t>(model.BoardCount) + 1);
    for (qint32 i = 1; i <= model.BoardCount; ++i)
        model.BoardNumbers[static_cast<size_t>(i)] = BoardNumberOf(numbering, i);
}

} // namespace kibic
