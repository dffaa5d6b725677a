// Duplicate bridge scoring of one result, seen from North-South's side.
#include "transfer/uScoreProvider.h"

#include "common/KibicError.h"

namespace kibic {

namespace {

enum class Seat : int { North = 0, East = 1, South = 2, West = 3 };

bool SeatOf(QChar letter, Seat& seat)
{
    switch (letter.toUpper().unicode()) {
    case 'N':
        seat = Seat::North;
        return true;
    case 'E':
        seat = Seat::East;
        return true;
    case 'S':
        seat = Seat::South;
        return true;
    case 'W':
        seat = Seat::West;
        return true;
    default:
        return false;
    }
}

int ContractNumberOf(const QString& text)
{
    for (int contract = 1; contract <= ContractCount; ++contract) {
        const std::string_view name = ContractNames[static_cast<size_t>(contract)];
        if (text == QLatin1String(name.data(), static_cast<qsizetype>(name.size())))
            return contract;
    }
    return 0;
}

} // namespace

int TScoreProvider::ContractScore(int board, int result, const QString& text) const
{
    QString contract = text.trimmed();
    contract.remove(QLatin1Char(' '));
    if (contract.isEmpty())
        return UnscorableContract;
    if (contract.front() == QLatin1Char('P') || contract.front() == QLatin1Char('p'))
        return 0;
    const QChar levelDigit = contract.front();
    if (levelDigit < QLatin1Char('0') || levelDigit > QLatin1Char('9'))
        return UnscorableContract;
    Seat declarer = Seat::North;
    if (!SeatOf(contract.back(), declarer))
        return UnscorableContract;
    contract.chop(1);
    const int number = ContractNumberOf(contract);
    if (number == 0 || board < 1)
        return UnscorableContract;
    // A result beyond the 13 tricks of a deal cannot be scored; it is not silently given a number.
    const qint64 tricks = qint64(result) + (levelDigit.unicode() - '0') + 6;
    if (tricks < 0 || tricks > 13)
        return UnscorableContract;

    const int code = BoardVulnerability[static_cast<size_t>((board - 1) % 16)];
    const bool northSouth = declarer == Seat::North || declarer == Seat::South;
    const int vulnerable = (code == 3 || (code == 1 && northSouth) || (code == 2 && !northSouth)) ? 1 : 0;
    const int score = ScoreForTricks(vulnerable, number, static_cast<int>(tricks));
    return northSouth ? score : -score;
}

int TScoreProvider::ScoreForTricks(int vulnerable, int contract, int tricks) const
{
    if (vulnerable < 0 || vulnerable > 1 || contract < 0 || contract > ContractCount || tricks < 0 || tricks > 13)
        throw KibicError(QStringLiteral("Nie da się policzyć zapisu: kontrakt %1, lew %2, założenie %3.")
                             .arg(contract)
                             .arg(tricks)
                             .arg(vulnerable));
    if (contract == 0)
        return 0;
    const int level = scoring_tables::LevelOf(contract);
    const int doubling = scoring_tables::DoublingOf(contract);
    if (tricks < level + 6)
        return -PenaltyScores[static_cast<size_t>(vulnerable)][static_cast<size_t>(doubling)]
                             [static_cast<size_t>(level + 6 - tricks)];
    int score = MadeScores[static_cast<size_t>(vulnerable)][static_cast<size_t>(contract)];
    const int overtricks = tricks - level - 6;
    if (doubling == 0)
        score += (scoring_tables::DenominationOf(contract) < 2 ? 20 : 30) * overtricks;
    else
        score += 100 * doubling * overtricks * (vulnerable + 1);
    return score;
}

} // namespace kibic
