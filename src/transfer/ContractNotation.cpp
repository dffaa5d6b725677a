// The contract notation of the correction window.
#include "transfer/ContractNotation.h"

#include "tournament/Contract.h"
#include "transfer/ResultConversion.h"

namespace kibic {

QStringList ContractSamples()
{
    return { QStringLiteral("PASS"), QStringLiteral("2 C"), QStringLiteral("3 NT x"), QStringLiteral("4 S xx"),
        QStringLiteral("35%-60%") };
}

QStringList DeclarerItems()
{
    return { QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("S"), QStringLiteral("W") };
}

QStringList LeadCardItems()
{
    const QStringList ranks = { QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
        QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("10"),
        QStringLiteral("J"), QStringLiteral("Q"), QStringLiteral("K"), QStringLiteral("A") };
    QStringList cards;
    for (const char suit : { 'C', 'D', 'H', 'S' }) {
        for (const QString& rank : ranks)
            cards.append(QLatin1Char(suit) + rank);
    }
    return cards;
}

QStringList InitialTricksItems()
{
    QStringList items = { QStringLiteral("=") };
    for (int i = 1; i <= 6; ++i)
        items << QStringLiteral("+%1").arg(i) << QStringLiteral("-%1").arg(i);
    for (int i = 7; i <= 13; ++i)
        items << QStringLiteral("-%1").arg(i);
    return items;
}

ContractCheck CheckContractNotation(const QString& typed)
{
    ContractCheck check;
    QString s = typed.trimmed();
    if (s.contains(QLatin1Char('%'))) {
        check.ClearSelections = true;
        check.ClearWrongLines = true;
        qint32 ns = 0;
        qint32 ew = 0;
        check.Accepted = ParseSplitScore(s, ns, ew);
        check.Text = s;
        return check;
    }
    s = QString(s.left(4).toUpper() + s.mid(4).toLower()).trimmed();
    check.Text = s;
    if (s.isEmpty())
        return check;
    if (s == u"PASS") {
        check.ClearSelections = true;
        check.Accepted = true;
        return check;
    }
    check.Accepted = ParseContract(s, ContractSpelling::Spaced).has_value();
    return check;
}

TricksChoice TricksList(const QString& contract, const std::optional<QString>& selected)
{
    TricksChoice choice;
    QString s = contract.trimmed();
    while (s.size() < 2)
        s.append(QLatin1Char('x'));
    const std::optional<qint32> level = LevelOfDigit(s.at(0));
    if (!level || s.at(1) != QLatin1Char(' '))
        return choice;

    const QString remembered = selected ? selected->trimmed() : QString();
    const int rememberedNumber = selected ? ResultNumber(remembered) : 0;
    const auto add = [&](const QString& item, bool isRemembered) {
        if (selected && isRemembered)
            choice.Selected = static_cast<int>(choice.Items.size());
        choice.Items.append(item);
    };
    add(QStringLiteral("="), remembered == u"=");
    for (int i = 1; i <= 13; ++i) {
        if (*level + i <= 7)
            add(QStringLiteral("+%1").arg(i), rememberedNumber == i);
        if (*level + 6 - i >= 0)
            add(QStringLiteral("-%1").arg(i), rememberedNumber == -i);
    }
    return choice;
}

} // namespace kibic
