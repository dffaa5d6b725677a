// Checks of what a table keyed in, written apart from the server's own code: a contract, declarer,
// result and lead that can all stand together, or a remark instead.
#pragma once

#include <QRegularExpression>
#include <QString>

namespace kibic::test {

struct ContractText
{
    int Level = 0; // 0 passed out
    QString Denomination;
    int Doubling = 0;
};

// Parses "PASS", "1 C" .. "7 NT", with " x" or " xx"; false for anything else.
inline bool ParseContract(const QString& text, ContractText& into)
{
    if (text == QStringLiteral("PASS")) {
        into = {};
        return true;
    }
    static const QRegularExpression pattern(QStringLiteral("^([1-7]) (C|D|H|S|NT)( x| xx)?$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    into.Level = match.captured(1).toInt();
    into.Denomination = match.captured(2);
    into.Doubling = match.captured(3).trimmed().size();
    return true;
}

// "=" 0, "+2" 2, "-3" -3; false for anything else.
inline bool ParseResult(const QString& text, int& into)
{
    if (text == QStringLiteral("=")) {
        into = 0;
        return true;
    }
    static const QRegularExpression pattern(QStringLiteral("^[+-][1-9][0-9]?$"));
    if (!pattern.match(text).hasMatch())
        return false;
    into = text.toInt();
    return true;
}

// A split score "NS%-EW%": multiples of 5 from 0 to 100, not both 50.
inline bool IsSplitScore(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,3})%-([0-9]{1,3})%$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    const int ns = match.captured(1).toInt();
    const int ew = match.captured(2).toInt();
    return ns <= 100 && ew <= 100 && ns % 5 == 0 && ew % 5 == 0 && !(ns == 50 && ew == 50);
}

// Empty when the keyed texts are possible; otherwise what is wrong.
inline QString WhatIsImpossible(const QString& contract, const QString& declarer, const QString& result,
    const QString& lead, const QString& remarks, bool leadCardAsked)
{
    if (remarks == QStringLiteral("Not played") || IsSplitScore(remarks)) {
        if (!contract.isEmpty() || !declarer.isEmpty() || !result.isEmpty() || !lead.isEmpty())
            return QStringLiteral("a remark with a contract: ") + contract;
        return {};
    }
    if (remarks == QStringLiteral("Result erased") && contract.isEmpty()) {
        // The erasure of a board that had a remark instead of a contract.
        if (!declarer.isEmpty() || !result.isEmpty() || !lead.isEmpty())
            return QStringLiteral("an erasure with a declarer, result or lead but no contract");
        return {};
    }
    if (!remarks.isEmpty() && remarks != QStringLiteral("Result erased"))
        return QStringLiteral("unknown remark ") + remarks;
    ContractText parsed;
    if (!ParseContract(contract, parsed))
        return QStringLiteral("bad contract ") + contract;
    if (parsed.Level == 0) {
        if (!declarer.isEmpty() || !result.isEmpty() || !lead.isEmpty())
            return QStringLiteral("a passed-out board with a declarer, result or lead");
        return {};
    }
    static const QRegularExpression seat(QStringLiteral("^[NESW]$"));
    if (!seat.match(declarer).hasMatch())
        return QStringLiteral("bad declarer ") + declarer;
    int against = 0;
    if (!ParseResult(result, against))
        return QStringLiteral("bad result ") + result;
    const int tricks = parsed.Level + 6 + against;
    if (tricks < 0 || tricks > 13)
        return QStringLiteral("%1 %2 takes %3 tricks").arg(contract, result).arg(tricks);
    static const QRegularExpression card(QStringLiteral("^[SHDC]([2-9]|10|J|Q|K|A)$"));
    if (leadCardAsked ? !card.match(lead).hasMatch() : !lead.isEmpty())
        return QStringLiteral("bad lead card ") + lead;
    return {};
}

} // namespace kibic::test
