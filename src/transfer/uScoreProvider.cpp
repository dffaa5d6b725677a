// Duplicate bridge scoring of one result, seen from North-South's side.
#include "transfer/uScoreProvider.h"

#include "common/KibicError.h"
#include "tournament/Contract.h"

namespace kibic {

namespace {

// The number 1..105 of a contract in the scoring tables.
int ContractNumberOf(const Contract& contract)
{
    return 35 * static_cast<int>(contract.Doubling) + 5 * (contract.Level - 1) + static_cast<int>(contract.Denomination)
        + 1;
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
    const std::optional<Seat> declarer = SeatOfLetter(contract.back().toUpper());
    if (!declarer)
        return UnscorableContract;
    contract.chop(1);
    const std::optional<Contract> parsed = ParseContract(contract, ContractSpelling::Compact);
    return parsed ? ContractScore(board, result, *parsed, *declarer) : UnscorableContract;
}

int TScoreProvider::ContractScore(int board, int result, const Contract& contract, Seat declarer) const
{
    if (board < 1)
        return UnscorableContract;
    // A result beyond the 13 tricks of a deal cannot be scored; it is not silently given a number.
    const qint64 tricks = qint64(result) + contract.Level + 6;
    if (tricks < 0 || tricks > 13)
        return UnscorableContract;

    const int code = BoardVulnerability[static_cast<size_t>((board - 1) % 16)];
    const bool northSouth = IsNorthSouth(declarer);
    const int vulnerable = (code == 3 || (code == 1 && northSouth) || (code == 2 && !northSouth)) ? 1 : 0;
    const int score = ScoreForTricks(vulnerable, ContractNumberOf(contract), static_cast<int>(tricks));
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
