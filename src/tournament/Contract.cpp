// A bridge contract and a seat at the table, and the readers of contract text.
#include "tournament/Contract.h"

#include <QString>

namespace kibic {

namespace {

// The letters in the order of their codes.
constexpr QStringView kSeatLetters = u"NESW";
constexpr QStringView kDenominationLetters = u"CDHSN";

} // namespace

std::optional<qint32> LevelOfDigit(QChar digit)
{
    if (digit < QLatin1Char('1') || digit > QLatin1Char('7'))
        return std::nullopt;
    return digit.unicode() - u'0';
}

std::optional<Seat> SeatOfLetter(QChar letter)
{
    const qsizetype code = kSeatLetters.indexOf(letter);
    if (code < 0)
        return std::nullopt;
    return static_cast<Seat>(code);
}

std::optional<Denomination> DenominationOfLetter(QChar letter)
{
    const qsizetype code = kDenominationLetters.indexOf(letter);
    if (code < 0)
        return std::nullopt;
    return static_cast<Denomination>(code);
}

std::optional<Contract> ParseContract(QStringView text, ContractSpelling spelling)
{
    // Each part after the level starts with a space in the spaced spelling and directly in the compact one.
    const auto takeSeparator = [spelling](QStringView& rest) {
        if (spelling == ContractSpelling::Compact)
            return true;
        if (!rest.startsWith(u' '))
            return false;
        rest = rest.mid(1);
        return true;
    };
    if (text.isEmpty())
        return std::nullopt;
    const std::optional<qint32> level = LevelOfDigit(text.front());
    QStringView rest = text.mid(1);
    if (!level || !takeSeparator(rest) || rest.isEmpty())
        return std::nullopt;
    Contract contract;
    contract.Level = *level;
    const std::optional<Denomination> denomination = DenominationOfLetter(rest.front());
    if (!denomination)
        return std::nullopt;
    contract.Denomination = *denomination;
    const QStringView name = *denomination == Denomination::NoTrump ? QStringView(u"NT") : rest.left(1);
    if (!rest.startsWith(name))
        return std::nullopt;
    rest = rest.mid(name.size());
    if (rest.isEmpty())
        return contract;
    if (!takeSeparator(rest))
        return std::nullopt;
    if (rest == u"x")
        contract.Doubling = Doubling::Doubled;
    else if (rest == u"xx")
        contract.Doubling = Doubling::Redoubled;
    else
        return std::nullopt;
    return contract;
}

std::optional<Contract> ReadContractLeniently(QStringView text)
{
    const QString upper = text.toString().toUpper();
    if (upper.isEmpty())
        return std::nullopt;
    const std::optional<qint32> level = LevelOfDigit(upper.front());
    if (!level)
        return std::nullopt;
    Contract contract;
    contract.Level = *level;
    const QString rest = upper.mid(1).trimmed();
    if (!rest.isEmpty())
        contract.Denomination = DenominationOfLetter(rest.front()).value_or(Denomination::Clubs);
    contract.Doubling = rest.contains(u"XX") ? Doubling::Redoubled
        : rest.contains(u'X')                ? Doubling::Doubled
                                             : Doubling::Undoubled;
    return contract;
}

} // namespace kibic
