// Reproducible random numbers of the rehearsal terminal server: one small generator per decision.
#pragma once

#include <QtGlobal>
#include <initializer_list>
#include <span>

namespace kibic::terminals {

// SplitMix64 with draws of our own: the same seed gives the same numbers on every platform and compiler
// (the standard library's distributions do not promise that). Every decision of a run (the contract of
// one board at one table, whether it is erased, an identifier keyed in at one seat) takes a generator of
// its own, named by the run's seed and keys, so that changing one probability or stopping after another
// round leaves every other decision as it was.
class RehearsalRandom
{
public:
    explicit RehearsalRandom(quint64 state)
        : m_state(state)
    {
    }

    // The generator of one decision: the run's seed and the keys that name the decision.
    [[nodiscard]] static RehearsalRandom For(quint64 seed, std::initializer_list<qint64> keys);

    [[nodiscard]] quint64 Next();
    // A number in [0, 1) with 53 random bits.
    [[nodiscard]] double Uniform();
    // 0 .. count - 1 (count >= 1).
    [[nodiscard]] int Below(int count);
    // True with the given probability: never at 0 or below, always at 1 or above.
    [[nodiscard]] bool Chance(double probability);
    // An index drawn in proportion to the weights (none negative, at least one positive).
    [[nodiscard]] int Weighted(std::span<const int> weights);

private:
    quint64 m_state;
};

} // namespace kibic::terminals
