// The players of a tournament with the identifiers keyed in at the tables: the list both identifier
// flows build before ZyRT's name lists are written.
#pragma once

#include "tournament/TournamentModel.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <vector>

namespace kibic {

// The text of an unknown value in player lists.
inline constexpr QByteArrayView UnknownText = "?";

// One player. Texts are bytes: Windows-1250 for data from the player database and the terminals, ZyRT's
// own letter codes for data from ZyRT's names file.
struct PlayerEntry
{
    qint32 ParticipantNo = 0; // the pair (pairs event) or the player (individual event)
    QByteArray FirstName = UnknownText.toByteArray();
    QByteArray Surname = UnknownText.toByteArray();
    QByteArray Wk = UnknownText.toByteArray();
    QByteArray Region = UnknownText.toByteArray();
    QByteArray Info = UnknownText.toByteArray();
    QByteArray Club = UnknownText.toByteArray();
    QByteArray Id = UnknownText.toByteArray(); // the identifier as written into the lists

    friend bool operator==(const PlayerEntry&, const PlayerEntry&) = default;
};

// Entries 1..N; element 0 exists and is unused. In a pairs event the two players of a pair are two
// adjacent entries with the same ParticipantNo: first the one who sat North or East, then South or West.
using PlayerEntries = std::vector<PlayerEntry>;

// How a keyed-in identifier becomes the one stored in the list.
enum class IdentifierKind {
    Cezar, // a decimal number of at least 1000, zero-padded to 5 digits; anything else becomes empty
    NamesFile // zero-padded to 5 characters, nothing checked
};

// The identifier for a keyed-in text that is already trimmed and not empty.
[[nodiscard]] QByteArray MakeIdentifier(const QByteArray& keyedIn, IdentifierKind kind);

// The text without the control characters and spaces at its ends (every byte up to 0x20).
[[nodiscard]] QByteArray TrimmedBytes(const QByteArray& text);

// The number of players: two per pair in a pairs event, one per entry otherwise.
[[nodiscard]] qint32 PlayerCount(const TournamentModel& model);

// Step A: the players in ascending ParticipantNo, read from the description (TournamentBase + ".inf"
// in a pairs event, ".ind" in an individual one): after the description's header, ParticipantCount
// numbers are the pairs or players. A description that cannot be opened and a
// ParticipantCount outside 0..MaxParticipantCount raise KibicError.
[[nodiscard]] PlayerEntries ReadParticipantList(const TournamentModel& model);

inline constexpr qint32 MaxParticipantCount = 100000;

// Step B: stores the identifiers of the scoring database's PlayerNumbers (TournamentBase + ".bws") in
// the entries of the players who sat at those seats in round 1 (RoundData). Rows that cannot be placed
// are skipped; a later row for the same player overwrites an earlier one. A database that cannot be
// read raises KibicError.
void PlaceIdentifiers(const TournamentModel& model, IdentifierKind kind, PlayerEntries& entries);

} // namespace kibic
