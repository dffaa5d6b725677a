// kibic-cli results: every record of a tournament's score file and contract file, side by side.
#include "CliCommand.h"

#include "shell/KibicError.h"
#include "tournament/TournamentFiles.h"
#include "transfer/ResultFiles.h"

#include <QFileInfo>

namespace kibic::cli {

namespace {

// The pairs score file, or the individual one when a tournament has no pairs score file.
QString ScoreFileOf(const QString& base)
{
    const QString pairs = TournamentFile(base, QStringLiteral(".ZAP"));
    if (QFileInfo::exists(pairs))
        return pairs;
    const QString individual = TournamentFile(base, QStringLiteral(".ZAI"));
    if (QFileInfo::exists(individual))
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
