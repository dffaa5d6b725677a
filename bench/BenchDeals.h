// Deals for the benchmarks: boards 1..count, each a shuffle of the pack that depends only on its number.
#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <array>
#include <random>

namespace kibic::bench {

inline QString ShuffledDealsPbn(int count)
{
    static const char* const kRanks = "AKQJT98765432";
    QString text;
    for (int board = 1; board <= count; ++board) {
        std::array<int, 52> pack {};
        for (int card = 0; card < 52; ++card)
            pack[static_cast<std::size_t>(card)] = card;
        std::mt19937 shuffle(static_cast<std::mt19937::result_type>(2026 + board));
        std::shuffle(pack.begin(), pack.end(), shuffle);
        QStringList hands;
        for (int hand = 0; hand < 4; ++hand) {
            std::array<int, 13> cards {};
            std::copy_n(pack.begin() + 13 * hand, 13, cards.begin());
            std::sort(cards.begin(), cards.end());
            QStringList suits(4);
            for (const int card : cards)
                suits[card / 13] += QLatin1Char(kRanks[card % 13]);
            hands.append(suits.join(QLatin1Char('.')));
        }
        text += QStringLiteral("[Board \"%1\"]\n[Deal \"N:%2\"]\n\n").arg(board).arg(hands.join(QLatin1Char(' ')));
    }
    return text;
}

} // namespace kibic::bench
