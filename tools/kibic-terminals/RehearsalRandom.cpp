// SplitMix64 and the draws built on it.
#include "RehearsalRandom.h"

#include <numeric>

namespace kibic::terminals {

namespace {

constexpr quint64 kGolden = 0x9E3779B97F4A7C15ULL;

quint64 Finalise(quint64 z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

} // namespace

RehearsalRandom RehearsalRandom::For(quint64 seed, std::initializer_list<qint64> keys)
{
    quint64 state = Finalise(seed + kGolden);
    for (const qint64 key : keys)
        state = Finalise(state ^ (static_cast<quint64>(key) + kGolden));
    return RehearsalRandom(state);
}

quint64 RehearsalRandom::Next()
{
    m_state += kGolden;
    return Finalise(m_state);
}

double RehearsalRandom::Uniform()
{
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

int RehearsalRandom::Below(int count)
{
    if (count <= 1)
        return 0;
    return static_cast<int>(Next() % static_cast<quint64>(count));
}

bool RehearsalRandom::Chance(double probability)
{
    // One draw whatever the probability, so that the numbers after it do not depend on it.
    const double draw = Uniform();
    return probability >= 1.0 || draw < probability;
}

int RehearsalRandom::Weighted(std::span<const int> weights)
{
    const int total = std::accumulate(weights.begin(), weights.end(), 0);
    int draw = Below(total);
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (draw < weights[i])
            return static_cast<int>(i);
        draw -= weights[i];
    }
    return static_cast<int>(weights.size()) - 1;
}

} // namespace kibic::terminals
