// Reading of a pairs tournament, the choice between the two readers, and the header re-read.
//
// Pairs description (.inf): integers read with TText, in this order (line structure does not matter).
//    #   NUMBER                         USE
//    1   tables per section (+10000)    TableCount = value mod 10000; above 10000: ScoringKind := 0
//    2   rounds                         RoundCount
//    3   boards per round               BoardsPerRound
//    4   sections                       SectionCount
//    5   -                              ignored
//    6   switch round                   NS and EW change places after this round
//    7   shift                          offset of the board sets in round 1
//    8   participant entries            ParticipantCount
//    9   result slots per board         ResultsPerBoard
//   10-13 -                             ignored
//   14   boards                         BoardCount
//   15   extra tables                   ExtraTableCount (0: no non-typical sector)
//   then ParticipantCount numbers       ParticipantNumbers[1..]
//   then, when ExtraTableCount < 1      the EW step (else it is -2)
//   then, when ExtraTableCount >= 1     for each board set: a count c, an ignored number, and for each
//                                       extra table: NS position, ignored, EW position, ignored
//   then, when ExtraTableCount < 1 and SectionCount = 2: an exchange flag and a pair position
#include "tournament/TournamentReader.h"

#include "tournament/BoardNumbering.h"
#include "tournament/ContractFile.h"
#include "tournament/DescriptionChecks.h"
#include "tournament/PairsMovement.h"
#include "tournament/TournamentFiles.h"

#include <optional>

namespace kibic {

namespace {

constexpr qint32 kScoringFlag = 10000;

void SkipNumbers(TText& description, int count)
{
    for (int i = 0; i < count; ++i)
        (void)description.ReadInt();
}

std::optional<NonTypicalSectorHandOver> ReadPairsDescription(TournamentModel& model, TText& description)
{
    const QString& fileName = description.FileName();
    model.PairsEvent = true;
    model.ExtraSectionCount = 0;
    const qint32 tables = description.ReadInt();
    if (tables > kScoringFlag)
        model.ScoringKind = 0;
    model.TableCount = tables % kScoringFlag;
    model.RoundCount = description.ReadInt();
    model.BoardsPerRound = description.ReadInt();
    model.SectionCount = description.ReadInt();
    SkipNumbers(description, 1);
    PairsMovementParameters parameters;
    parameters.SwitchRound = description.ReadInt();
    parameters.Shift = description.ReadInt();
    model.ParticipantCount = description.ReadInt();
    model.ResultsPerBoard = description.ReadInt();
    SkipNumbers(description, 4);
    model.BoardCount = description.ReadInt();
    CheckHeaderCounts(model, fileName);
    // Number 15 is read before the contract file is made: a tournament refused as too large leaves none.
    model.ExtraTableCount = description.ReadInt();
    CheckMovementSize(model, fileName, 2);

    CreateContractFile(model.TournamentBase, qint64(model.ResultsPerBoard) * model.BoardCount);
    FillBoardNumbers(model);

    SizeParticipantNumbers(model);
    for (qint32 i = 1; i <= model.ParticipantCount; ++i)
        model.ParticipantNumbers[static_cast<size_t>(i)] = description.ReadInt();
    SizeMovement(model);
    parameters.EWStep = model.ExtraTableCount < 1 ? description.ReadInt() : -2;

    GeneratePairsSections(model, parameters, fileName);
    if (model.ExtraTableCount >= 1)
        return ReadPairsSectorSeating(model, description, parameters);
    if (model.SectionCount == 2) {
        const qint32 exchangeFlag = description.ReadInt();
        const qint32 meetingPosition = description.ReadInt();
        ExchangeLastRounds(model, exchangeFlag, parameters.SwitchRound, fileName);
        ArrangeSectionMeeting(model, meetingPosition, fileName);
    }
    return std::nullopt;
}

} // namespace

bool ReadTournament(TournamentModel& model, const QString& chosenFile, NonTypicalSectorCompleter& completer)
{
    model.TournamentBase = chosenFile;
    const QString extension = chosenFile.mid(WithoutExtension(chosenFile).size());
    if (extension.compare(QStringLiteral(".IND"), Qt::CaseInsensitive) == 0)
        return ReadIndividualTournament(model, completer);
    return ReadPairsTournament(model, completer);
}

bool ReadPairsTournament(TournamentModel& model, NonTypicalSectorCompleter& completer)
{
    model.PairsEvent = true;
    model.ExtraSectionCount = 0;
    model.TournamentBase = WithoutExtension(model.TournamentBase);
    return ReadPairsTournament(model, TText(TournamentFile(model.TournamentBase, QStringLiteral(".inf"))), completer);
}

bool ReadPairsTournament(TournamentModel& model, TText description, NonTypicalSectorCompleter& completer)
{
    std::optional<NonTypicalSectorHandOver> sector;
    {
        // The description is released before the operator is asked anything about the sector.
        TText text = std::move(description);
        sector = ReadPairsDescription(model, text);
    }
    if (!sector)
        return true;
    return completer.CompleteNonTypicalSector(model, *sector);
}

void ReadTournamentHeader(TournamentModel& model)
{
    const QString extension = model.PairsEvent ? QStringLiteral(".inf") : QStringLiteral(".ind");
    ReadTournamentHeader(model, TText(TournamentFile(model.TournamentBase, extension)));
}

void ReadTournamentHeader(TournamentModel& model, TText description)
{
    const QString& fileName = description.FileName();
    model.ExtraSectionCount = 0;
    model.TableCount = description.ReadInt() % kScoringFlag;
    model.RoundCount = description.ReadInt();
    model.BoardsPerRound = description.ReadInt();
    model.SectionCount = description.ReadInt();
    if (model.PairsEvent) {
        SkipNumbers(description, 3);
    } else {
        const qint32 extraTables = description.ReadInt();
        if (extraTables > kScoringFlag) {
            model.ExtraSectionCount = (extraTables - kScoringFlag) / 100;
            model.ExtraTableCount = extraTables % 100;
        } else {
            model.ExtraTableCount = extraTables;
        }
        SkipNumbers(description, 2);
    }
    model.ParticipantCount = description.ReadInt();
    model.ResultsPerBoard = description.ReadInt();
    SkipNumbers(description, 4);
    model.BoardCount = description.ReadInt();
    if (model.PairsEvent)
        model.ExtraTableCount = description.ReadInt();
    CheckHeaderCounts(model, fileName);
    CheckMovementSize(model, fileName, model.PairsEvent ? 2 : 4);
    model.GridTableCount = model.SectionCount * model.TableCount + model.ExtraTableCount;
}

} // namespace kibic
