// The texts that explain the results grid to the director.
#include "transfer/CellHints.h"

#include "deals/SessionDeals.h"
#include "transfer/CellSuspicions.h"
#include "tournament/Contract.h"
#include "transfer/uScoreProvider.h"

#include <algorithm>

namespace kibic {

namespace {

// Missing boards and late tables are listed up to this many; the rest is counted.
constexpr qsizetype kLongestList = 12;

QString ListedUpTo(const QStringList& items)
{
    if (items.size() <= kLongestList)
        return items.join(QStringLiteral(", "));
    return items.first(kLongestList).join(QStringLiteral(", ")) + QStringLiteral(", … (razem %1)").arg(items.size());
}

// Ascending round numbers as runs: "1-4, 6".
QString RoundRuns(const QList<qint32>& rounds)
{
    QStringList runs;
    for (qsizetype i = 0; i < rounds.size();) {
        qsizetype last = i;
        while (last + 1 < rounds.size() && rounds[last + 1] == rounds[last] + 1)
            ++last;
        runs.append(last == i ? QString::number(rounds[i])
                              : QStringLiteral("%1-%2").arg(rounds[i]).arg(rounds[last]));
        i = last + 1;
    }
    return runs.join(QStringLiteral(", "));
}

QString CellTitle(const QString& tableLabel, const QString& board)
{
    return QStringLiteral("Stół %1, rozdanie %2").arg(tableLabel.trimmed(), board);
}

// A split score as it is transferred: a remark that is no valid split counts as the average.
QString SplitText(const QString& remark)
{
    QString split = remark;
    qint32 ns = 0;
    qint32 ew = 0;
    if (!ParseSplitScore(split, ns, ew))
        return QStringLiteral("50%-50%");
    return QStringLiteral("%1%-%2%").arg(ns).arg(ew);
}

// The score from North-South's side as the director reads it: points, or the split of a split score.
QString ScoreText(const ReceivedResult& received, const TScoreProvider& scorer)
{
    const QString remark = EffectiveRemark(received.Remarks);
    if (remark.contains(QLatin1Char('%')))
        return SplitText(remark);
    const int score = scorer.ContractScore(
        received.Board, ResultNumber(received.Result), received.Contract.trimmed() + received.NsEw.trimmed());
    if (score == UnscorableContract)
        return QStringLiteral("nie da się policzyć (nieznany kontrakt)");
    return QString::number(score);
}

QString EntryLines(const ReceivedResult& received, const TScoreProvider& scorer)
{
    const QString remark = EffectiveRemark(received.Remarks);
    QStringList lines;
    if (remark.contains(QLatin1Char('%'))) {
        lines.append(received.Remarks.trimmed() == QStringLiteral("Not played")
                ? QStringLiteral("Nie grano: średnia 50%-50%")
                : QStringLiteral("Zapis dzielony: ") + SplitText(remark));
    } else {
        const QString contract = received.Contract.trimmed();
        QStringList play { QStringLiteral("Kontrakt: ") + (contract.isEmpty() ? QStringLiteral("brak") : contract) };
        if (!received.NsEw.trimmed().isEmpty())
            play.append(QStringLiteral("rozgrywa: ") + received.NsEw.trimmed());
        if (!received.Result.trimmed().isEmpty())
            play.append(QStringLiteral("wynik: ") + received.Result.trimmed());
        lines.append(play.join(QStringLiteral(", ")));
        const QString lead = received.LeadCard.trimmed();
        lines.append(QStringLiteral("Wist: ") + (lead.isEmpty() ? QStringLiteral("brak") : lead));
        if (remark == QStringLiteral("*"))
            lines.append(QStringLiteral("Uwagi: * (złe linie)"));
    }
    lines.append(QStringLiteral("Zapis NS: ") + ScoreText(received, scorer));
    return lines.join(QLatin1Char('\n'));
}

// "lewa", "lewy", "lew": the word after a number of tricks.
QString Tricks(int count)
{
    if (count == 1)
        return QStringLiteral("1 lewa");
    if (count >= 2 && count <= 4)
        return QStringLiteral("%1 lewy").arg(count);
    return QStringLiteral("%1 lew").arg(count);
}

} // namespace

QString DoubleDummyHint(const ReceivedResult& received, const SessionDeals& deals)
{
    QString compact = received.Contract;
    compact.remove(QLatin1Char(' '));
    const std::optional<Contract> contract = ParseContract(compact, ContractSpelling::Compact);
    const QString declarerText = received.NsEw.trimmed();
    const std::optional<Seat> declarer = declarerText.size() == 1 ? SeatOfLetter(declarerText.front()) : std::nullopt;
    if (!contract || !declarer || EffectiveRemark(received.Remarks).contains(QLatin1Char('%')))
        return {};
    const std::optional<int> makeable
        = deals.TricksOf(received.Section, received.Board, *declarer, contract->Denomination);
    if (!makeable)
        return {};
    const int taken = std::clamp(contract->Level + 6 + ResultNumber(received.Result), 0, 13);
    return QStringLiteral("%1%2 %3: na obiegu %4, zagrano %5")
        .arg(contract->Level)
        .arg(StrainSymbol(contract->Denomination), SeatLetter(*declarer), Tricks(*makeable))
        .arg(taken);
}

QString CellHint(const QString& tableLabel, const QString& board, const CellEntry& entry, const TScoreProvider& scorer,
    const SessionDeals* deals)
{
    const QString title = CellTitle(tableLabel, board);
    const QString keyed
        = entry.KeyedIn.isEmpty() ? QString() : QStringLiteral("\nWpisano: ") + entry.KeyedIn;
    switch (entry.State) {
    case CellEntry::Why::Transferred: {
        const QString doubleDummy = deals ? DoubleDummyHint(entry.Received, *deals) : QString();
        const QString suspicion = entry.Suspicion ? SuspicionHint(*entry.Suspicion) + QLatin1Char('\n') : QString();
        return suspicion + title + QStringLiteral(", runda %1\n").arg(entry.Received.Round) + EntryLines(entry.Received, scorer)
            + (doubleDummy.isEmpty() ? QString() : QLatin1Char('\n') + doubleDummy) + keyed;
    }
    case CellEntry::Why::Erased:
        return title + QStringLiteral(", runda %1\nPusta: zapis wymazano przy stole").arg(entry.Received.Round)
            + keyed;
    case CellEntry::Why::MarkCleared:
        break;
    }
    return title + QStringLiteral("\nPusta: zaznaczenie zgaszone, zapis czeka na następny przebieg");
}

QString EmptyCellHint(const QString& tableLabel, const QString& board)
{
    return CellTitle(tableLabel, board) + QStringLiteral("\nPusta: jeszcze nie ma zapisu");
}

QString RowLabelHint(const TableProgress& table, qint32 currentRound)
{
    const QString label = table.Label.trimmed();
    if (currentRound == 0 && table.Complete.isEmpty())
        return label + QStringLiteral(": jeszcze nie ma wyników");
    QString complete;
    if (table.Complete.isEmpty())
        complete = QStringLiteral("żadna runda nie jest kompletna");
    else if (table.Complete.size() == 1)
        complete = QStringLiteral("runda %1 komplet").arg(table.Complete.first());
    else
        complete = QStringLiteral("rundy %1 komplet").arg(RoundRuns(table.Complete));
    QStringList missing;
    for (const MissingBoard& board : table.Missing)
        missing.append(QStringLiteral("%1:%2").arg(board.Round).arg(board.Board));
    return label + QStringLiteral(": ") + complete + QStringLiteral("; ")
        + (missing.isEmpty() ? QStringLiteral("niczego nie brakuje") : QStringLiteral("brak: ") + ListedUpTo(missing));
}

QStringList LateTables(const TournamentProgress& progress)
{
    QStringList late;
    for (const TableProgress& table : progress.Tables) {
        if (IsLate(table, progress.CurrentRound))
            late.append(table.Label.trimmed());
    }
    return late;
}

QString ProgressLine(const QString& head, const TournamentProgress& progress, int suspicious)
{
    const QStringList late = LateTables(progress);
    QStringList parts;
    if (!head.isEmpty())
        parts.append(head);
    parts.append(QStringLiteral("wyniki: %1 z %2").arg(progress.Received).arg(progress.Expected));
    if (suspicious > 0)
        parts.append(QStringLiteral("podejrzane: %1").arg(suspicious));
    parts.append(late.isEmpty() ? QStringLiteral("spóźnionych stołów nie ma")
                                : QStringLiteral("spóźnione: ") + ListedUpTo(late));
    return parts.join(QStringLiteral("; "));
}

} // namespace kibic
