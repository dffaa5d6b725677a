// Texts of the double-dummy analysis.
#include "deals/DoubleDummy.h"

namespace kibic {

namespace {

// The strains as a hand record lists makeable contracts: no trump, then the suits from spades down.
constexpr std::array<Denomination, 5> kListedStrains = { Denomination::NoTrump, Denomination::Spades,
    Denomination::Hearts, Denomination::Diamonds, Denomination::Clubs };

QString ContractsOf(const DoubleDummyTable& table, Seat declarer)
{
    QStringList contracts;
    for (const Denomination strain : kListedStrains) {
        const int level = table.TricksOf(declarer, strain) - 6;
        if (level >= 1)
            contracts.append(QString::number(level) + StrainSymbol(strain));
    }
    return contracts.join(QLatin1Char(' '));
}

} // namespace

QString MakeableContractsText(const DoubleDummyTable& table)
{
    QStringList sides;
    for (const Seat first : { Seat::North, Seat::East }) {
        const Seat partner = PartnerOf(first);
        if (const QString contracts = ContractsOf(table, first); contracts == ContractsOf(table, partner)) {
            if (!contracts.isEmpty())
                sides.append(SeatLetter(first) + SeatLetter(partner) + QLatin1Char(' ') + contracts);
            continue;
        }
        QStringList hands;
        for (const Seat seat : { first, partner }) {
            if (const QString contracts = ContractsOf(table, seat); !contracts.isEmpty())
                hands.append(SeatLetter(seat) + QLatin1Char(' ') + contracts);
        }
        if (!hands.isEmpty())
            sides.append(hands.join(QStringLiteral("; ")));
    }
    return sides.isEmpty() ? QStringLiteral("nikt nic nie wygrywa") : sides.join(QStringLiteral("; "));
}

QString ParText(const ParOutcome& par)
{
    if (par.ScoreNS == 0)
        return QStringLiteral("0");
    const QString side = par.ScoreNS > 0 ? QStringLiteral("NS ") : QStringLiteral("EW ");
    const QString score = side + QString::number(std::abs(par.ScoreNS));
    return par.Contracts.isEmpty()
        ? score
        : score + QStringLiteral(" (") + par.Contracts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

} // namespace kibic
