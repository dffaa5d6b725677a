// The steps of loading deals, shared by the main window and kibic-cli.
#include "deals/LoadDeals.h"

#include "common/KibicError.h"
#include "common/PolishCounts.h"
#include "deals/PbnReader.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace kibic {

DealsToLoad PrepareDeals(const TournamentModel& model, const QString& databaseFile, const QString& pbnFile)
{
    const std::vector<Deal> all = ReadPbnFile(pbnFile);
    const std::vector<SessionBoard> played = PlayedBoards(model, databaseFile);
    DealMatch matched = MatchDeals(all, played);
    matched.Repeated = RepeatedBoardNumbers(model);
    if (matched.Rows.empty())
        throw KibicError(QStringLiteral("Żadne rozdanie z pliku %1 nie jest grane w turnieju %2.")
                             .arg(QFileInfo(pbnFile).fileName(), QFileInfo(databaseFile).fileName()));
    DealsToLoad load { pbnFile, databaseFile, {}, matched };
    // Only the deals that are played are kept (and analysed); the rows follow them to their new places.
    QHash<std::size_t, std::size_t> kept;
    for (DealMatch::Row& row : load.Match.Rows) {
        if (!kept.contains(row.DealIndex)) {
            kept.insert(row.DealIndex, load.Deals.size());
            load.Deals.push_back(all[row.DealIndex]);
        }
        row.DealIndex = kept.value(row.DealIndex);
    }
    return load;
}

AnalysisOutcome AnalyseDeals(const DealsToLoad& deals, DoubleDummySolver& solver, AnalysisProgress* progress)
{
    return solver.Analyse(deals.Deals, progress);
}

void StoreDeals(const DealsToLoad& deals, const std::vector<DealAnalysis>* analyses)
{
    WriteHandRecords(deals.DatabaseFile, deals.Deals, deals.Match, analyses);
}

QString LoadedDealsText(const DealsToLoad& deals, bool analysed)
{
    QSet<qint32> sections;
    for (const DealMatch::Row& row : deals.Match.Rows)
        sections.insert(row.Board.Section);
    QString text = QStringLiteral("Wczytano %1 z pliku %2 dla %3 do bazy %4%5.")
                       .arg(Counted(qint64(deals.Deals.size()), u"rozdanie", u"rozdania", u"rozdań"),
                           QFileInfo(deals.PbnFile).fileName(),
                           Counted(sections.size(), u"sektora", u"sektorów", u"sektorów"),
                           QFileInfo(deals.DatabaseFile).fileName(),
                           analysed ? QStringLiteral(", z analizą w widne karty") : QStringLiteral(", bez analizy"));
    if (const QString mismatch = deals.Match.Message(deals.PbnFile); !mismatch.isEmpty())
        text += QLatin1Char('\n') + mismatch;
    return text;
}

QString BoardLine(const Deal& deal, const DealAnalysis* analysis)
{
    QStringList fields { QString::number(deal.Board), SeatLetter(deal.Dealer), VulnerabilityText(deal.Vulnerable) };
    if (analysis) {
        fields.append(MakeableContractsText(analysis->Table));
        fields.append(ParText(analysis->Par));
    }
    return fields.join(QLatin1Char('\t'));
}

} // namespace kibic
