// Reading the tournament from the scoring database and planning what the tables key in.
#include "RehearsalPlan.h"

#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/TTable.h"

#include <QSet>
#include <algorithm>
#include <array>
#include <map>
#include <tuple>

namespace kibic::terminals {

namespace {

// What each random generator decides; part of its keys.
enum Purpose : qint64 {
    PurposeNotPlayed = 1,
    PurposeSplit = 2,
    PurposeDeal = 3,
    PurposeErase = 4,
    PurposeReEntry = 5,
    PurposeIdentifier = 6,
};

const std::array<QString, 4> kDirections
    = { QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("S"), QStringLiteral("W") };

// What the table keys in for a board; entry 0 is the first entry, 1 the entry after an erasure.
KeyedResult KeyIn(
    const RehearsalOptions& options, const ScoringLayout& layout, const Seating& seating, int board, int entry)
{
    auto generator = [&](Purpose purpose) {
        return RehearsalRandom::For(
            options.Seed, { purpose, entry, seating.Section, seating.Table, seating.Round, board });
    };
    KeyedResult keyed;
    if (generator(PurposeNotPlayed).Chance(options.NotPlayedProbability)) {
        keyed.Remarks = kNotPlayedRemark.toString();
        return keyed;
    }
    RehearsalRandom split = generator(PurposeSplit);
    if (split.Chance(options.SplitProbability)) {
        keyed.Remarks = SplitScoreRemark(split);
        return keyed;
    }
    RehearsalRandom deal = generator(PurposeDeal);
    const bool leadCard = layout.Settings.LeadCard;
    const Deal* hands = layout.Deals.DealOf(seating.Section, board);
    if (const DoubleDummyTable* table = layout.Deals.TableOf(seating.Section, board))
        return PlayedDeal(deal, *hands, *table, leadCard);
    if (hands)
        return WithLeadFromTheDeal(PlayedBoard(deal, false), deal, *hands, leadCard);
    return PlayedBoard(deal, leadCard);
}

ReceivedRow RowOf(RowKind kind, const Seating& seating, int board, const KeyedResult& keyed, bool pairsEvent)
{
    ReceivedRow row;
    row.Kind = kind;
    row.Section = seating.Section;
    row.Table = seating.Table;
    row.Round = seating.Round;
    row.Board = board;
    row.PairNS = seating.NSPair;
    row.PairEW = seating.EWPair;
    row.Declarer = DeclaringNumber(seating, keyed.Declarer, pairsEvent);
    row.Keyed = keyed;
    return row;
}

} // namespace

int DeclaringNumber(const Seating& seating, const QString& declarer, bool pairsEvent)
{
    if (declarer.isEmpty())
        return 0;
    if (pairsEvent)
        return declarer == QStringLiteral("N") || declarer == QStringLiteral("S") ? seating.NSPair : seating.EWPair;
    return PersonAt(seating, declarer, false);
}

ScoringLayout ReadScoringLayout(const QString& databaseFile)
{
    ScoringLayout layout;
    layout.DatabaseFile = databaseFile;
    const QString connection = ScoringConnectionString(databaseFile);

    TTable settings(connection, QStringLiteral("Settings"));
    settings.Open();
    settings.First();
    if (!settings.Eof()) {
        layout.Settings.LeadCard = settings.FieldAsBoolean(QStringLiteral("LeadCard"));
        layout.Settings.MemberNumbers = settings.FieldAsBoolean(QStringLiteral("MemberNumbers"));
        if (settings.HasField(QStringLiteral("custom_pairs"))
            && !settings.FieldValue(QStringLiteral("custom_pairs")).isNull())
            layout.Settings.PairsEvent = settings.FieldAsBoolean(QStringLiteral("custom_pairs"));
    }
    settings.Close();

    TTable tables(connection, QStringLiteral("Tables"));
    tables.Open();
    layout.TablesHaveCurrentRound
        = tables.HasField(QStringLiteral("CurrentRound")) && tables.HasField(QStringLiteral("CurrentBoard"));
    QSet<QPair<int, int>> served;
    for (tables.First(); !tables.Eof(); tables.Next()) {
        const ServedTable table { tables.FieldAsInteger(QStringLiteral("Section")),
            tables.FieldAsInteger(QStringLiteral("Table")) };
        if (served.contains({ table.Section, table.Table }))
            continue;
        served.insert({ table.Section, table.Table });
        layout.Tables.push_back(table);
    }
    tables.Close();
    std::sort(layout.Tables.begin(), layout.Tables.end(), [](const ServedTable& a, const ServedTable& b) {
        return std::tie(a.Section, a.Table) < std::tie(b.Section, b.Table);
    });

    TTable rounds(connection, QStringLiteral("RoundData"));
    rounds.Open();
    const bool individualSeats
        = rounds.HasField(QStringLiteral("custom_S")) && rounds.HasField(QStringLiteral("custom_W"));
    std::map<std::tuple<int, int, int>, Seating> played;
    for (rounds.First(); !rounds.Eof(); rounds.Next()) {
        Seating seating;
        seating.Section = rounds.FieldAsInteger(QStringLiteral("Section"));
        seating.Table = rounds.FieldAsInteger(QStringLiteral("Table"));
        seating.Round = rounds.FieldAsInteger(QStringLiteral("Round"));
        seating.NSPair = rounds.FieldAsInteger(QStringLiteral("NSPair"));
        seating.EWPair = rounds.FieldAsInteger(QStringLiteral("EWPair"));
        seating.LowBoard = rounds.FieldAsInteger(QStringLiteral("LowBoard"));
        seating.HighBoard = rounds.FieldAsInteger(QStringLiteral("HighBoard"));
        if (individualSeats) {
            seating.South = rounds.FieldAsInteger(QStringLiteral("custom_S"));
            seating.West = rounds.FieldAsInteger(QStringLiteral("custom_W"));
        }
        const auto key = std::make_tuple(seating.Round, seating.Section, seating.Table);
        if (seating.Round < 1 || !served.contains({ seating.Section, seating.Table }) || played.contains(key)) {
            ++layout.IgnoredSeatings;
            continue;
        }
        played.emplace(key, seating);
    }
    rounds.Close();
    layout.Deals = ReadSessionDeals(databaseFile);
    for (const auto& [key, seating] : played) {
        layout.Seatings.push_back(seating);
        if (layout.Rounds.empty() || layout.Rounds.back() != seating.Round)
            layout.Rounds.push_back(seating.Round);
    }
    return layout;
}

std::vector<ReceivedRow> PlanRound(const ScoringLayout& layout, int round, const RehearsalOptions& options)
{
    const bool pairsEvent = layout.Settings.PairsEvent;
    std::vector<std::vector<ReceivedRow>> perTable;
    for (const Seating& seating : layout.Seatings) {
        if (seating.Round != round)
            continue;
        std::vector<ReceivedRow> rows;
        for (int board = seating.LowBoard; board >= 1 && board <= seating.HighBoard; ++board) {
            const KeyedResult first = KeyIn(options, layout, seating, board, 0);
            rows.push_back(RowOf(RowKind::Result, seating, board, first, pairsEvent));
            RehearsalRandom erase = RehearsalRandom::For(
                options.Seed, { PurposeErase, seating.Section, seating.Table, seating.Round, board });
            if (!erase.Chance(options.EraseProbability))
                continue;
            ReceivedRow erasure = rows.back();
            erasure.Kind = RowKind::Erasure;
            erasure.Erased = true;
            erasure.Keyed.Remarks = kErasedRemark.toString();
            rows.push_back(erasure);
            RehearsalRandom again = RehearsalRandom::For(
                options.Seed, { PurposeReEntry, seating.Section, seating.Table, seating.Round, board });
            if (again.Chance(kReEntryProbability)) {
                const KeyedResult second = KeyIn(options, layout, seating, board, 1);
                rows.push_back(RowOf(RowKind::ReEntry, seating, board, second, pairsEvent));
            }
        }
        MistakeContext mistakes { options.Seed, options.MistakeRate, layout.Settings.LeadCard, pairsEvent,
            &layout.Deals, &seating, {} };
        for (const Seating& other : layout.Seatings) {
            if (other.Round == round && other.Section == seating.Section && other.Table != seating.Table)
                mistakes.OtherTables.push_back(&other);
        }
        PlantMistakes(rows, mistakes);
        perTable.push_back(std::move(rows));
    }

    std::vector<ReceivedRow> ordered;
    for (std::size_t step = 0;; ++step) {
        bool any = false;
        for (const auto& rows : perTable) {
            if (step < rows.size()) {
                ordered.push_back(rows[step]);
                any = true;
            }
        }
        if (!any)
            break;
    }
    return ordered;
}

QString KnownIdentifier(int person)
{
    const qint64 spread = static_cast<qint64>(person) * 4099;
    if (person % 10 == 0)
        return QString::number(100000 + spread % 900000);
    return QString::number(1000 + spread % 29000);
}

int PersonAt(const Seating& seating, const QString& direction, bool pairsEvent)
{
    if (pairsEvent) {
        const bool northSouth = direction == QStringLiteral("N") || direction == QStringLiteral("S");
        const int pair = northSouth ? seating.NSPair : seating.EWPair;
        if (pair < 1)
            return 0;
        const bool second = direction == QStringLiteral("S") || direction == QStringLiteral("W");
        return 2 * (pair - 1) + (second ? 2 : 1);
    }
    int player = 0;
    if (direction == QStringLiteral("N"))
        player = seating.NSPair;
    else if (direction == QStringLiteral("E"))
        player = seating.EWPair;
    else if (direction == QStringLiteral("S"))
        player = seating.South;
    else if (direction == QStringLiteral("W"))
        player = seating.West;
    return std::max(player, 0);
}

std::vector<SeatIdentifier> PlanIdentifiers(const ScoringLayout& layout, quint64 seed)
{
    static const std::array<QString, 4> kMalformed
        = { QStringLiteral("999"), QStringLiteral("0999"), QStringLiteral("12a4"), QStringLiteral("abc") };
    std::vector<SeatIdentifier> seats;
    for (const ServedTable& table : layout.Tables) {
        const auto firstRound = std::find_if(layout.Seatings.begin(), layout.Seatings.end(),
            [&](const Seating& s) { return s.Round == 1 && s.Section == table.Section && s.Table == table.Table; });
        for (int d = 0; d < 4; ++d) {
            SeatIdentifier seat;
            seat.Section = table.Section;
            seat.Table = table.Table;
            seat.Direction = kDirections[d];
            if (firstRound != layout.Seatings.end())
                seat.Person = PersonAt(*firstRound, seat.Direction, layout.Settings.PairsEvent);
            if (seat.Person < 1) {
                seats.push_back(seat);
                continue;
            }
            RehearsalRandom random = RehearsalRandom::For(seed, { PurposeIdentifier, table.Section, table.Table, d });
            const double draw = random.Uniform();
            if (draw < 0.05) {
                seat.Kind = IdentifierKind::Missing;
            } else if (draw < 0.08) {
                seat.Kind = IdentifierKind::Malformed;
                seat.Number = kMalformed[random.Below(static_cast<int>(kMalformed.size()))];
            } else if (draw < 0.11) {
                // Outside both ranges of the known identifiers.
                seat.Kind = IdentifierKind::Unknown;
                seat.Number = QString::number(30000 + random.Below(60000));
            } else {
                seat.Kind = IdentifierKind::Known;
                seat.Number = KnownIdentifier(seat.Person);
            }
            seats.push_back(seat);
        }
    }
    return seats;
}

} // namespace kibic::terminals
