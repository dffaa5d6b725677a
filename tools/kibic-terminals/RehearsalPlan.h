// What the rehearsal terminal server plays: the tournament read from a scoring database, and the rows
// that its tables key in, round by round.
#pragma once

#include "KeyedResult.h"
#include "PlantedMistakes.h"
#include "RehearsalOptions.h"

#include "deals/SessionDeals.h"

#include <QString>
#include <vector>

namespace kibic::terminals {

// The terminals' options that change what the tables key in (table Settings).
struct RehearsalSettings
{
    bool LeadCard = false;
    bool MemberNumbers = false;
    bool PairsEvent = true; // custom_pairs; true when the column is missing
};

// A table served by the terminals (table Tables).
struct ServedTable
{
    int Section = 0;
    int Table = 0;
};

// One RoundData row: who sits at a table in a round and which boards they play.
struct Seating
{
    int Section = 0;
    int Table = 0;
    int Round = 0;
    int NSPair = 0; // the pair sitting NS; the North player in an individual event
    int EWPair = 0; // the pair sitting EW; the East player in an individual event
    int South = 0; // custom_S: the South player in an individual event
    int West = 0; // custom_W: the West player in an individual event
    int LowBoard = 0;
    int HighBoard = 0;
};

struct ScoringLayout
{
    QString DatabaseFile;
    RehearsalSettings Settings;
    std::vector<ServedTable> Tables; // by section, then table
    // The seatings that are played: one per section, table and round (the first RoundData row, as Kibic
    // finds it), only at served tables, only in rounds from 1 on; by round, section, table.
    std::vector<Seating> Seatings;
    std::vector<int> Rounds; // the rounds that are played, ascending
    bool TablesHaveCurrentRound = false; // Tables has CurrentRound and CurrentBoard
    int IgnoredSeatings = 0; // RoundData rows left out (no such table, round below 1, repeated)
    // The deals loaded into the database (HandRecord, HandEvaluation): a board with an analysed deal is played
    // on it; the others, and every board of a database without deals, as before.
    SessionDeals Deals;
};

// Reads Settings, Tables, RoundData and the deals. A missing table or column raises KibicError naming it;
// a database without HandRecord has no deals.
[[nodiscard]] ScoringLayout ReadScoringLayout(const QString& databaseFile);

enum class RowKind {
    Result, // a board keyed in
    Erasure, // the table erased the result it keyed in
    ReEntry // the table keyed the erased board in again
};

// One ReceivedData row as the terminal server appends it. The Processed columns are never written.
struct ReceivedRow
{
    RowKind Kind = RowKind::Result;
    int Section = 0;
    int Table = 0;
    int Round = 0;
    int Board = 0;
    int PairNS = 0;
    int PairEW = 0;
    // The declaring side's pair (in an individual event the declaring player); 0 when nobody declares.
    int Declarer = 0;
    KeyedResult Keyed;
    bool Erased = false;
    std::optional<PlantedMistake> Mistake; // set when --mistakes keyed this row in wrongly
};

// The number of the declaring side keyed into ReceivedData's Declarer: the pair sitting on the side of the
// declarer's letter, in an individual event the declaring player; 0 when nobody declares.
[[nodiscard]] int DeclaringNumber(const Seating& seating, const QString& declarer, bool pairsEvent);

// The rows of one round in the order the tables send them: the tables play their boards side by side,
// so the rows go table after table for the first board of the round, then for the second, and so on. A
// board keyed in is followed at its table by its erasure (with probability --erase) and, mostly, by a
// new entry of the same board; with --mistakes, some boards' last entries are keyed in wrongly (PlantMistakes).
// The rows depend only on the layout, the seed and the probabilities.
[[nodiscard]] std::vector<ReceivedRow> PlanRound(
    const ScoringLayout& layout, int round, const RehearsalOptions& options);

// How often a table that erased a result keys the board in again.
inline constexpr double kReEntryProbability = 0.7;

enum class IdentifierKind {
    Known, // the player's identifier, which the demo's player database knows
    Unknown, // a well-formed identifier that no player has
    Malformed, // a text that is no identifier ("999", "abc")
    Missing // nothing keyed in
};

// The identifier keyed in at one seat (a PlayerNumbers row).
struct SeatIdentifier
{
    int Section = 0;
    int Table = 0;
    QString Direction; // "N", "E", "S", "W"
    int Person = 0; // the player sitting there in round 1; 0 when the seat is empty
    IdentifierKind Kind = IdentifierKind::Missing;
    QString Number; // what is written into PlayerNumbers.Number; empty when Missing
};

// The identifier of the person-th player of a tournament: in a pairs event pair p has the players
// 2p - 1 (sitting N or E) and 2p (sitting S or W), in an individual event player p is person p.
// Four- and five-digit numbers from 1000 to 29999; every tenth person has a six-digit number from
// 100000 on. Different persons have different identifiers.
[[nodiscard]] QString KnownIdentifier(int person);

// The person sitting at a seat of a round-1 seating, by the rule above; 0 when nobody sits there.
[[nodiscard]] int PersonAt(const Seating& seating, const QString& direction, bool pairsEvent);

// What every seat of every served table keys in, by the players of round 1: mostly the player's known
// identifier; a few seats key nothing, a malformed text or an identifier that nobody has.
[[nodiscard]] std::vector<SeatIdentifier> PlanIdentifiers(const ScoringLayout& layout, quint64 seed);

} // namespace kibic::terminals
