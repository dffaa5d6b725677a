// kibic-cli results: every record of a tournament's score file and contract file, side by side.
#include "CliCommand.h"

#include "common/KibicError.h"
#include "tournament/TournamentFiles.h"
#include "transfer/ResultFiles.h"

#include <QFileInfo>

namespace kibic::cli {

namespace {

// The score file of the kind of event that the description beside the base names: ".ZAP" beside a pairs
// description (".inf"), ".ZAI" beside an individual one (".ind"), as the transfer writes them. Without one
// description to decide, the score file that exists; both of them cannot be told apart and are refused.
QString ScoreFileOf(const QString& base)
{
    const QString pairs = TournamentFile(base, QStringLiteral(".ZAP"));
    const QString individual = TournamentFile(base, QStringLiteral(".ZAI"));
    const bool pairsDescription = QFileInfo::exists(TournamentFile(base, QStringLiteral(".inf")));
    const bool individualDescription = QFileInfo::exists(TournamentFile(base, QStringLiteral(".ind")));
    if (pairsDescription != individualDescription)
        return pairsDescription ? pairs : individual;
    const bool pairsScores = QFileInfo::exists(pairs);
    const bool individualScores = QFileInfo::exists(individual);
    if (pairsScores && individualScores)
        throw KibicError(
            QStringLiteral("Są oba pliki wyników, %1 i %2, a brak jednego opisu turnieju (.inf albo .ind), "
                           "który rozstrzygnie, czy to turniej par, czy indywidualny.")
                .arg(pairs, individual));
    if (pairsScores)
        return pairs;
    if (individualScores)
        return individual;
    throw KibicError(QStringLiteral("Brak pliku wyników %1 ani %2.").arg(pairs, individual));
}

int RunResults(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return UsageError(QStringLiteral("results BAZA"));
    const QString base = arguments.front();
    const QString scoreFile = ScoreFileOf(base);
    const QString contractFile = TournamentFile(base, QStringLiteral(".KNT"));
    // Record by record: a file of any size is listed in bounded memory.
    ForEachResultRecord(scoreFile, contractFile, [](qint64 index, qint16 scoreWord, const ContractRecord& record) {
        const QStringList fields = { QString::number(index), QString::number(scoreWord), QString::number(record.Level),
            QString::number(static_cast<int>(record.Denomination)), QString::number(static_cast<int>(record.Doubling)),
            QString::number(static_cast<int>(record.Declarer)), QString::number(static_cast<int>(record.LeadSuit)),
            QString::number(record.LeadRank), QString::number(record.ResultValue) };
        PrintLine(fields.join(QLatin1Char('\t')));
        return true;
    });
    return ExitSuccess;
}

} // namespace

KIBIC_CLI_COMMAND("results", "results BAZA", RunResults);

} // namespace kibic::cli
