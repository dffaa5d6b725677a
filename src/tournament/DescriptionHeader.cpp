// Reading of the description header shared by both kinds of tournament.
#include "tournament/DescriptionHeader.h"

#include "tournament/DescriptionChecks.h"
#include "tournament/DescriptionNumbers.h"

namespace kibic {

namespace {

constexpr qint32 kScoringFlag = 10000;
constexpr qint32 kCodedExtraTables = 10000;
constexpr int kHeaderNumbers = 15;

} // namespace

DescriptionHeader ReadDescriptionHeader(TText& description, bool pairsEvent)
{
    DescriptionNumbers numbers(description);
    int position = 0;
    const auto place
        = [&position] { return QStringLiteral("liczba %1 z %2 nagłówka").arg(position).arg(kHeaderNumbers); };
    const auto next = [&] {
        ++position;
        return numbers.Read(place);
    };
    const auto skip = [&] {
        ++position;
        numbers.Skip(place);
    };
    DescriptionHeader header;
    const qint32 tables = next();
    header.ScoringFlag = tables > kScoringFlag;
    header.TableCount = tables % kScoringFlag;
    header.RoundCount = next();
    header.BoardsPerRound = next();
    header.SectionCount = next();
    if (pairsEvent) {
        skip();
        header.SwitchRound = next();
    } else {
        const qint32 extraTables = next();
        if (extraTables > kCodedExtraTables) {
            header.ExtraSectionCount = (extraTables - kCodedExtraTables) / 100;
            header.ExtraTableCount = extraTables % 100;
        } else {
            header.ExtraTableCount = extraTables;
        }
        skip();
    }
    header.Shift = next();
    header.ParticipantCount = next();
    header.ResultsPerBoard = next();
    skip();
    skip();
    if (pairsEvent) {
        skip();
        skip();
    } else {
        header.FirstSwitchStart = next();
        header.FirstSwitchEnd = next();
    }
    header.BoardCount = next();
    if (pairsEvent)
        header.ExtraTableCount = next();
    else
        header.SecondSwitchStart = next();
    return header;
}

void SetHeaderCounts(TournamentModel& model, const DescriptionHeader& header, const QString& fileName, qint64 seatsPerTable)
{
    model.TableCount = header.TableCount;
    model.RoundCount = header.RoundCount;
    model.BoardsPerRound = header.BoardsPerRound;
    model.SectionCount = header.SectionCount;
    model.ExtraSectionCount = header.ExtraSectionCount;
    model.ExtraTableCount = header.ExtraTableCount;
    model.ParticipantCount = header.ParticipantCount;
    model.ResultsPerBoard = header.ResultsPerBoard;
    model.BoardCount = header.BoardCount;
    CheckHeaderCounts(model, fileName);
    CheckMovementSize(model, fileName, seatsPerTable);
    CheckSomethingToPlay(model, fileName);
}

} // namespace kibic
