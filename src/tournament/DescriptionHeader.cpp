// Reading of the description header shared by both kinds of tournament.
#include "tournament/DescriptionHeader.h"

#include "tournament/DescriptionChecks.h"

namespace kibic {

namespace {

constexpr qint32 kScoringFlag = 10000;
constexpr qint32 kCodedExtraTables = 10000;

void SkipNumber(TText& description)
{
    (void)description.ReadInt();
}

} // namespace

DescriptionHeader ReadDescriptionHeader(TText& description, bool pairsEvent)
{
    DescriptionHeader header;
    const qint32 tables = description.ReadInt();
    header.ScoringFlag = tables > kScoringFlag;
    header.TableCount = tables % kScoringFlag;
    header.RoundCount = description.ReadInt();
    header.BoardsPerRound = description.ReadInt();
    header.SectionCount = description.ReadInt();
    if (pairsEvent) {
        SkipNumber(description);
        header.SwitchRound = description.ReadInt();
    } else {
        const qint32 extraTables = description.ReadInt();
        if (extraTables > kCodedExtraTables) {
            header.ExtraSectionCount = (extraTables - kCodedExtraTables) / 100;
            header.ExtraTableCount = extraTables % 100;
        } else {
            header.ExtraTableCount = extraTables;
        }
        SkipNumber(description);
    }
    header.Shift = description.ReadInt();
    header.ParticipantCount = description.ReadInt();
    header.ResultsPerBoard = description.ReadInt();
    SkipNumber(description);
    SkipNumber(description);
    if (pairsEvent) {
        SkipNumber(description);
        SkipNumber(description);
    } else {
        header.FirstSwitchStart = description.ReadInt();
        header.FirstSwitchEnd = description.ReadInt();
    }
    header.BoardCount = description.ReadInt();
    if (pairsEvent)
        header.ExtraTableCount = description.ReadInt();
    else
        header.SecondSwitchStart = description.ReadInt();
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
}

} // namespace kibic
