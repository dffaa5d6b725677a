// Reading of a tournament description of either kind, the choice between them, and the header re-read.
//
// After the header (DescriptionHeader.h) and the ParticipantCount numbers of the participant list:
//   pairs (.inf)
//     when ExtraTableCount < 1     the EW step (else it is -2)
//     when ExtraTableCount >= 1    for each board set: a count c, an ignored number, and for each extra
//                                  table: NS position, ignored, EW position, ignored
//     when ExtraTableCount < 1 and SectionCount = 2: an exchange flag and a pair position
//   individual (.ind)
//     four seat steps              North, East, South, West
//     when ExtraTableCount >= 1    for each board set and each extra slot: the list indices of North,
//                                  East, South and West
#include "tournament/TournamentReader.h"

#include "tournament/BoardNumbering.h"
#include "tournament/ContractFile.h"
#include "tournament/DescriptionChecks.h"
#include "tournament/DescriptionHeader.h"
#include "tournament/DescriptionNumbers.h"
#include "tournament/IndividualMovement.h"
#include "tournament/PairsMovement.h"
#include "tournament/TournamentFiles.h"

#include <optional>

namespace kibic {

namespace {

// On counts that passed their checks (a tournament refused as too large leaves no contract file): the
// contract file and the board numbers, then the participant list and the sized movement.
void ReadParticipantNumbers(TournamentModel& model, TText& description)
{
    CreateContractFile(model.TournamentBase, qint64(model.ResultsPerBoard) * model.BoardCount);
    FillBoardNumbers(model);
    SizeParticipantNumbers(model);
    DescriptionNumbers numbers(description);
    for (qint32 i = 1; i <= model.ParticipantCount; ++i)
        model.ParticipantNumbers[static_cast<size_t>(i)] = ReadParticipant(numbers, i, model.ParticipantCount);
    SizeMovement(model);
}

std::optional<NonTypicalSectorHandOver> ReadPairsDescription(TournamentModel& model, TText& description)
{
    const QString& fileName = description.FileName();
    model.PairsEvent = true;
    const DescriptionHeader header = ReadDescriptionHeader(description, true);
    if (header.ScoringFlag)
        model.ScoringKind = 0;
    SetHeaderCounts(model, header, fileName, 2);
    ReadParticipantNumbers(model, description);

    PairsMovementParameters parameters;
    parameters.SwitchRound = header.SwitchRound;
    parameters.Shift = header.Shift;
    DescriptionNumbers numbers(description);
    parameters.EWStep = model.ExtraTableCount < 1
        ? numbers.Read([] { return QStringLiteral("krok par EW po liście uczestników"); })
        : -2;
    GeneratePairsSections(model, parameters, fileName);
    if (model.ExtraTableCount >= 1)
        return ReadPairsSectorSeating(model, description, parameters);
    if (model.SectionCount == 2) {
        // The two numbers that close a description of two sections; a file that ends before them reads
        // them as 0, nothing exchanged.
        const qint32 exchangeFlag
            = numbers.ReadOptional([] { return QStringLiteral("zamiana sektorów w ostatniej rundzie"); });
        const qint32 meetingPosition
            = numbers.ReadOptional([] { return QStringLiteral("pozycja pary spotkania sektorów"); });
        ExchangeLastRounds(model, exchangeFlag, parameters.SwitchRound, fileName);
        ArrangeSectionMeeting(model, meetingPosition, fileName);
    }
    return std::nullopt;
}

// Returns the sector to hand over when there is one non-typical sector; several are generated here.
std::optional<NonTypicalSectorHandOver> ReadIndividualDescription(TournamentModel& model, TText& description)
{
    const QString& fileName = description.FileName();
    model.PairsEvent = false;
    const DescriptionHeader header = ReadDescriptionHeader(description, false);
    SetHeaderCounts(model, header, fileName, 4);
    const SwitchRounds switches(
        header.FirstSwitchStart, header.FirstSwitchEnd, header.SecondSwitchStart, model.RoundCount, fileName);
    ReadParticipantNumbers(model, description);

    DescriptionNumbers numbers(description);
    const auto step = [&numbers](const char* seat) {
        return numbers.Read(
            [seat] { return QStringLiteral("krok miejsca %1 po liście uczestników").arg(QLatin1String(seat)); });
    };
    SeatSteps steps;
    steps.North = step("N");
    steps.East = step("E");
    steps.South = step("S");
    steps.West = step("W");
    GenerateIndividualSections(model, steps, header.Shift, switches, fileName);

    if (model.ExtraTableCount < 1)
        return std::nullopt;
    ReadIndividualSectorSeating(model, description);
    if (model.ExtraSectionCount < 1) {
        NonTypicalSectorHandOver sector;
        sector.RowCount = model.ExtraTableCount;
        sector.SlotOffset = model.RoundCount * model.SectionCount;
        sector.PositionOffset = 4 * model.TableCount * model.SectionCount;
        sector.Shift = header.Shift;
        return sector;
    }
    GenerateExtraSectors(model, steps.North, header.Shift, switches, fileName);
    return std::nullopt;
}

// Reads the whole description, releases it, and only then hands a non-typical sector to the completer,
// which may ask the operator.
bool ReadDescription(TournamentModel& model, TText description, NonTypicalSectorCompleter& completer, bool pairsEvent)
{
    std::optional<NonTypicalSectorHandOver> sector;
    {
        TText text = std::move(description);
        sector = pairsEvent ? ReadPairsDescription(model, text) : ReadIndividualDescription(model, text);
    }
    if (!sector)
        return true;
    return pairsEvent ? completer.CompleteNonTypicalSector(model, *sector)
                      : completer.CompleteIndividualNonTypicalSector(model, *sector);
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
    return ReadDescription(model, std::move(description), completer, true);
}

bool ReadIndividualTournament(TournamentModel& model, NonTypicalSectorCompleter& completer)
{
    model.PairsEvent = false;
    model.TournamentBase = WithoutExtension(model.TournamentBase);
    return ReadIndividualTournament(
        model, TText(TournamentFile(model.TournamentBase, QStringLiteral(".ind"))), completer);
}

bool ReadIndividualTournament(TournamentModel& model, TText description, NonTypicalSectorCompleter& completer)
{
    return ReadDescription(model, std::move(description), completer, false);
}

void ReadTournamentHeader(TournamentModel& model)
{
    const QString extension = model.PairsEvent ? QStringLiteral(".inf") : QStringLiteral(".ind");
    ReadTournamentHeader(model, TText(TournamentFile(model.TournamentBase, extension)));
}

void ReadTournamentHeader(TournamentModel& model, TText description)
{
    const DescriptionHeader header = ReadDescriptionHeader(description, model.PairsEvent);
    SetHeaderCounts(model, header, description.FileName(), model.PairsEvent ? 2 : 4);
    model.GridTableCount = model.SectionCount * model.TableCount + model.ExtraTableCount;
}

} // namespace kibic
