// The participant list from the tournament description and the identifiers from the scoring database.
#include "players/PlayerEntries.h"

#include "common/KibicError.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/TTable.h"
#include "tournament/Contract.h"
#include "tournament/Cp1250.h"
#include "tournament/DescriptionHeader.h"
#include "tournament/DescriptionNumbers.h"
#include "tournament/TextData.h"
#include "tournament/TournamentFiles.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace kibic {

namespace {

constexpr qsizetype kIdentifierWidth = 5;
constexpr qint64 kLowestCezarIdentifier = 1000;

QByteArray ZeroPadded(QByteArray text)
{
    while (text.size() < kIdentifierWidth)
        text.prepend('0');
    return text;
}

// A text of decimal digits only whose value fits a 32-bit integer.
std::optional<qint64> DecimalValue(const QByteArray& text)
{
    if (text.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<qint32>::max())
            return std::nullopt;
    }
    return value;
}

// Which RoundData column names the participant who sat at a seat, and whether that participant is the
// second player of a pair.
struct SeatColumn
{
    QString Column;
    bool SecondOfPair = false;
};

// A pairs event takes the seat from the direction's first letter ("N", "NS"), an individual event only
// from a direction of one letter. Empty when the direction names no seat that way.
std::optional<SeatColumn> SeatColumnOf(const QString& direction, bool pairsEvent)
{
    if (direction.isEmpty() || (!pairsEvent && direction.size() != 1))
        return std::nullopt;
    const std::optional<Seat> seat = SeatOfLetter(direction.front());
    if (!seat)
        return std::nullopt;
    const QString pairColumn = IsNorthSouth(*seat) ? QStringLiteral("NSPair") : QStringLiteral("EWPair");
    if (pairsEvent)
        return SeatColumn { pairColumn, *seat == Seat::South || *seat == Seat::West };
    if (*seat == Seat::South)
        return SeatColumn { QStringLiteral("custom_S") };
    if (*seat == Seat::West)
        return SeatColumn { QStringLiteral("custom_W") };
    return SeatColumn { pairColumn };
}

// The index of the first entry of participant p, 0 when there is none.
std::size_t FirstEntryOf(const PlayerEntries& entries, qint32 p)
{
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (entries[i].ParticipantNo == p)
            return i;
    }
    return 0;
}

} // namespace

QByteArray TrimmedBytes(const QByteArray& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

QByteArray MakeIdentifier(const QByteArray& keyedIn, IdentifierKind kind)
{
    if (kind == IdentifierKind::Cezar) {
        const std::optional<qint64> value = DecimalValue(keyedIn);
        if (!value || *value < kLowestCezarIdentifier)
            return {};
    }
    return ZeroPadded(keyedIn);
}

qint32 PlayerCount(const TournamentModel& model)
{
    return model.PairsEvent ? 2 * model.ParticipantCount : model.ParticipantCount;
}

PlayerEntries ReadParticipantList(const TournamentModel& model)
{
    const QString fileName
        = TournamentFile(model.TournamentBase, model.PairsEvent ? QStringLiteral(".inf") : QStringLiteral(".ind"));
    if (model.ParticipantCount < 0 || model.ParticipantCount > MaxParticipantCount)
        throw KibicError(QStringLiteral("Liczba uczestników %1 turnieju %2 jest spoza zakresu 0..%3.")
                             .arg(model.ParticipantCount)
                             .arg(fileName)
                             .arg(MaxParticipantCount));
    TText description(fileName);
    (void)ReadDescriptionHeader(description, model.PairsEvent);
    DescriptionNumbers numbers(description);

    PlayerEntries entries(static_cast<std::size_t>(PlayerCount(model)) + 1);
    std::size_t next = 1;
    for (qint32 k = 1; k <= model.ParticipantCount; ++k) {
        const qint32 number = ReadParticipant(numbers, k, model.ParticipantCount);
        entries[next++].ParticipantNo = number;
        if (model.PairsEvent)
            entries[next++].ParticipantNo = number;
    }
    // Entries with equal numbers are interchangeable here: all their other fields are still "?".
    std::stable_sort(entries.begin() + 1, entries.end(),
        [](const PlayerEntry& a, const PlayerEntry& b) { return a.ParticipantNo < b.ParticipantNo; });
    return entries;
}

void PlaceIdentifiers(const TournamentModel& model, IdentifierKind kind, PlayerEntries& entries)
{
    const QString connection = ScoringConnectionString(TournamentFile(model.TournamentBase, QStringLiteral(".bws")));
    TTable playerNumbers(connection, QStringLiteral("PlayerNumbers"));
    TTable roundData(connection, QStringLiteral("RoundData"));
    playerNumbers.Open();
    roundData.Open();

    for (playerNumbers.First(); !playerNumbers.Eof(); playerNumbers.Next()) {
        const QByteArray keyedIn = TrimmedBytes(ToCp1250(playerNumbers.FieldAsString(QStringLiteral("Number"))));
        if (keyedIn.isEmpty())
            continue;
        // The first round decides who sits where, whatever round the identifier was keyed in.
        const qint32 section = playerNumbers.FieldAsInteger(QStringLiteral("Section"));
        const qint32 table = playerNumbers.FieldAsInteger(QStringLiteral("Table"));
        if (!roundData.Locate(QStringLiteral("Section;Table;Round"), { section, table, 1 }))
            continue;
        const std::optional<SeatColumn> seat
            = SeatColumnOf(playerNumbers.FieldAsString(QStringLiteral("Direction")), model.PairsEvent);
        if (!seat)
            continue;
        const qint32 participant = roundData.FieldAsInteger(seat->Column);
        if (participant < 1)
            continue;
        std::size_t index = FirstEntryOf(entries, participant);
        if (index == 0)
            continue;
        if (seat->SecondOfPair)
            ++index;
        if (index >= entries.size())
            continue;
        entries[index].Id = MakeIdentifier(keyedIn, kind);
    }
}

} // namespace kibic
