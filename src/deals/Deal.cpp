// Cards, hands and the checks of a deal.
#include "deals/Deal.h"

#include <QStringList>
#include <bit>

namespace kibic {

namespace {

constexpr std::array<char, 4> kSeatLetters = { 'N', 'E', 'S', 'W' };
// By IndexOf: clubs, diamonds, hearts, spades.
constexpr std::array<char, 4> kSuitLetters = { 'C', 'D', 'H', 'S' };
constexpr char kRankLetters[] = "23456789TJQKA";

int HighCardPointsOf(Holding holding)
{
    int points = 0;
    for (int rank = 11; rank <= 14; ++rank) {
        if (holding & (1u << rank))
            points += rank - 10;
    }
    return points;
}

// "1 kartę", "3 karty", "12 kart": a number of cards after "ma".
QString CardsCount(int count)
{
    if (count == 1)
        return QStringLiteral("1 kartę");
    const int lastDigit = count % 10;
    if (lastDigit >= 2 && lastDigit <= 4 && (count % 100 < 12 || count % 100 > 14))
        return QStringLiteral("%1 karty").arg(count);
    return QStringLiteral("%1 kart").arg(count);
}

QString CardName(Suit suit, int rank)
{
    return StrainSymbol(suit) + (rank == 10 ? QStringLiteral("10") : QString(RankLetter(rank)));
}

} // namespace

QString SeatLetter(Seat seat)
{
    return QString(QLatin1Char(kSeatLetters[IndexOf(seat)]));
}

QString SeatName(Seat seat)
{
    static const std::array<QString, 4> names
        = { QStringLiteral("North"), QStringLiteral("East"), QStringLiteral("South"), QStringLiteral("West") };
    return names[IndexOf(seat)];
}

QString StrainName(Denomination strain)
{
    static const std::array<QString, 5> names = { QStringLiteral("Clubs"), QStringLiteral("Diamonds"),
        QStringLiteral("Hearts"), QStringLiteral("Spades"), QStringLiteral("Notrump") };
    return names[IndexOf(strain)];
}

QString StrainLetters(Denomination strain)
{
    return strain == Denomination::NoTrump ? QStringLiteral("NT") : QString(QLatin1Char(kSuitLetters[IndexOf(strain)]));
}

QString StrainSymbol(Denomination strain)
{
    static const std::array<QString, 5> symbols = { QStringLiteral("\u2663"), QStringLiteral("\u2666"),
        QStringLiteral("\u2665"), QStringLiteral("\u2660"), QStringLiteral("BA") };
    return symbols[IndexOf(strain)];
}

QString VulnerabilityText(Vulnerability vulnerable)
{
    static const std::array<QString, 4> texts
        = { QStringLiteral("nikt"), QStringLiteral("NS"), QStringLiteral("EW"), QStringLiteral("obie") };
    return texts[static_cast<std::size_t>(vulnerable)];
}

bool IsVulnerable(Vulnerability vulnerable, Seat seat)
{
    const bool northSouth = seat == Seat::North || seat == Seat::South;
    switch (vulnerable) {
    case Vulnerability::None:
        return false;
    case Vulnerability::NorthSouth:
        return northSouth;
    case Vulnerability::EastWest:
        return !northSouth;
    case Vulnerability::Both:
        return true;
    }
    return false;
}

QChar RankLetter(int rank)
{
    if (rank < 2 || rank > 14)
        return QChar(u'0');
    return QLatin1Char(kRankLetters[rank - 2]);
}

int RankOfLetter(QChar letter)
{
    const QChar upper = letter.toUpper();
    for (int rank = 2; rank <= 14; ++rank) {
        if (upper == QLatin1Char(kRankLetters[rank - 2]))
            return rank;
    }
    return 0;
}

std::optional<Card> CardOfLeadText(QStringView text)
{
    // Read in place, in any letter case: the check of results reads the lead of every result after a pass.
    const QStringView lead = text.trimmed();
    if (lead.size() < 2)
        return std::nullopt;
    std::optional<Suit> suit;
    for (const Suit candidate : kSuits) {
        if (lead.front().toUpper() == QLatin1Char(kSuitLetters[IndexOf(candidate)]))
            suit = candidate;
    }
    const QStringView rankText = lead.mid(1);
    const int rank = rankText == u"10" ? 10 : rankText.size() == 1 ? RankOfLetter(rankText.front().toUpper()) : 0;
    if (!suit || rank == 0)
        return std::nullopt;
    return Card { *suit, rank };
}

QString LeadText(const Card& card)
{
    return QString(QLatin1Char(kSuitLetters[IndexOf(card.CardSuit)]))
        + (card.Rank == 10 ? QStringLiteral("10") : QString(RankLetter(card.Rank)));
}

std::optional<Seat> Deal::HolderOf(const Card& card) const
{
    for (const Seat seat : kSeats) {
        if (HoldingOf(seat, card.CardSuit) & (1u << card.Rank))
            return seat;
    }
    return std::nullopt;
}

int Deal::CardCount(Seat seat) const
{
    int count = 0;
    for (const Suit suit : kSuits)
        count += std::popcount(static_cast<unsigned>(HoldingOf(seat, suit)));
    return count;
}

int Deal::HighCardPoints(Seat seat) const
{
    int points = 0;
    for (const Suit suit : kSuits)
        points += HighCardPointsOf(HoldingOf(seat, suit));
    return points;
}

QString HoldingText(Holding holding)
{
    QString text;
    for (int rank = 14; rank >= 2; --rank) {
        if (holding & (1u << rank))
            text += RankLetter(rank);
    }
    return text;
}

std::optional<Holding> HoldingOfText(const QString& text)
{
    Holding holding = 0;
    for (const QChar letter : text) {
        const int rank = RankOfLetter(letter);
        if (rank == 0 || (holding & (1u << rank)))
            return std::nullopt;
        holding = static_cast<Holding>(holding | (1u << rank));
    }
    return holding;
}

QString DealProblem(const Deal& deal)
{
    for (const Suit suit : kSuits) {
        for (int rank = 2; rank <= 14; ++rank) {
            QStringList holders;
            for (const Seat seat : kSeats) {
                if (deal.HoldingOf(seat, suit) & (1u << rank))
                    holders.append(SeatLetter(seat));
            }
            if (holders.size() > 1)
                return QStringLiteral("karta %1 w kilku rękach (%2)")
                    .arg(CardName(suit, rank), holders.join(QStringLiteral(" i ")));
        }
        for (const Seat seat : kSeats) {
            if (deal.HoldingOf(seat, suit) & ~kAllRanks)
                return QStringLiteral("ręka %1 ma kartę spoza talii").arg(SeatLetter(seat));
        }
    }
    for (const Seat seat : kSeats) {
        const int count = deal.CardCount(seat);
        if (count != 13)
            return QStringLiteral("ręka %1 ma %2 zamiast 13").arg(SeatLetter(seat), CardsCount(count));
    }
    return {};
}

QString PbnDealText(const Deal& deal)
{
    QStringList hands;
    for (const Seat seat : kSeats) {
        QStringList suits;
        for (const Suit suit : kSuits)
            suits.append(HoldingText(deal.HoldingOf(seat, suit)));
        hands.append(suits.join(QLatin1Char('.')));
    }
    return QStringLiteral("N:") + hands.join(QLatin1Char(' '));
}

Seat StandardDealer(qint32 board)
{
    return static_cast<Seat>(((board - 1) % 4 + 4) % 4);
}

Vulnerability StandardVulnerability(qint32 board)
{
    // Boards 1..16: None, NS, EW, Both, NS, EW, Both, None, EW, Both, None, NS, Both, None, NS, EW.
    static constexpr std::array<Vulnerability, 16> cycle
        = { Vulnerability::None, Vulnerability::NorthSouth, Vulnerability::EastWest, Vulnerability::Both,
              Vulnerability::NorthSouth, Vulnerability::EastWest, Vulnerability::Both, Vulnerability::None,
              Vulnerability::EastWest, Vulnerability::Both, Vulnerability::None, Vulnerability::NorthSouth,
              Vulnerability::Both, Vulnerability::None, Vulnerability::NorthSouth, Vulnerability::EastWest };
    return cycle[static_cast<std::size_t>(((board - 1) % 16 + 16) % 16)];
}

} // namespace kibic
