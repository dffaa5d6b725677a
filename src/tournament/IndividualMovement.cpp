// Reading of an individual tournament and the generation of its movement.
//
// Individual description (.ind): integers read with TText, in this order.
//    #   NUMBER                         USE
//    1   tables per section (+10000)    TableCount = value mod 10000
//    2   rounds                         RoundCount
//    3   boards per round               BoardsPerRound
//    4   sections                       SectionCount
//    5   extra tables                   above 10000: ExtraSectionCount = (value - 10000) div 100 and
//                                       ExtraTableCount = value mod 100; else 0 and value
//    6   -                              ignored
//    7   shift                          offset of the seats in round 1
//    8   participant entries            ParticipantCount
//    9   result slots per board         ResultsPerBoard
//   10-11 -                             ignored
//   12-13 first switch range            rounds start+1 .. end switch
//   14   boards                         BoardCount
//   15   second switch range start      rounds start+1 .. RoundCount switch
//   then ParticipantCount numbers       ParticipantNumbers[1..]
//   then four seat steps                North, East, South, West
//   then, when ExtraTableCount >= 1     for each board set and each extra slot: the list indices of
//                                       North, East, South and West
//
// Positions of section s: North 1..T, East T+1..2T, South 2T+1..3T, West 3T+1..4T, after the 4T(s-1)
// positions of the sections before it.
#include "tournament/IndividualMovement.h"

#include "tournament/BoardNumbering.h"
#include "tournament/ContractFile.h"
#include "tournament/DescriptionChecks.h"
#include "tournament/TournamentFiles.h"

#include <array>
#include <optional>
#include <utility>

namespace kibic {

namespace {

struct SeatSteps
{
    qint64 North = 0;
    qint64 East = 0;
    qint64 South = 0;
    qint64 West = 0;
};

void CheckSwitchBound(qint64 bound, const QString& fileName)
{
    if (bound < 0 || bound > 255)
        FailDescription(fileName, QStringLiteral("granica zmiany stron %1 jest spoza zakresu 0..255").arg(bound));
}

void SwitchSeats(MovementEntry& entry)
{
    std::swap(entry.NS, entry.EW);
    std::swap(entry.South, entry.West);
}

void GenerateIndividualSections(
    TournamentModel& model, const SeatSteps& steps, qint64 shift, const SwitchRounds& switches, const QString& fileName)
{
    const qint32 T = model.TableCount;
    const qint32 R = model.RoundCount;
    if (T < 1)
        return;
    for (qint32 s = 1; s <= model.SectionCount; ++s) {
        const qint64 base = qint64(R) * (s - 1);
        const qint64 offset = 4 * qint64(T) * (s - 1);
        for (qint32 b = 1; b <= T && R >= 1; ++b) {
            MovementEntry& entry = EntryAt(model, b, base + 1, fileName);
            // North wraps round the section both ways, like the other seats.
            entry.NS = WrapAround(b + shift * steps.North, T);
            entry.EW = WrapAround(b + shift * steps.East, T);
            entry.South = WrapAround(b + shift * steps.South, T);
            entry.West = WrapAround(b + shift * steps.West, T);
            entry.Round = 1;
            entry.Table = entry.NS;
        }
        for (qint32 r = 2; r <= R; ++r) {
            for (qint32 b = 1; b <= T; ++b) {
                const MovementEntry previous = EntryAt(model, b, base + r - 1, fileName);
                MovementEntry& entry = EntryAt(model, b, base + r, fileName);
                entry.NS = WrapAround(previous.NS + steps.North, T);
                entry.EW = WrapAround(previous.EW + steps.East, T);
                entry.South = WrapAround(previous.South + steps.South, T);
                entry.West = WrapAround(previous.West + steps.West, T);
                entry.Round = r;
                entry.Table = entry.NS;
            }
        }
        for (qint32 r = 1; r <= R; ++r) {
            for (qint32 b = 1; b <= T; ++b) {
                MovementEntry& entry = EntryAt(model, b, base + r, fileName);
                entry.NS = ParticipantAt(model, entry.NS + offset, fileName);
                entry.EW = ParticipantAt(model, entry.EW + qint64(T) + offset, fileName);
                entry.South = ParticipantAt(model, entry.South + 2 * qint64(T) + offset, fileName);
                entry.West = ParticipantAt(model, entry.West + 3 * qint64(T) + offset, fileName);
                if (switches.Contains(r))
                    SwitchSeats(entry);
            }
        }
    }
}

// The extra slots of every board set, in player numbers: the positions name list indices directly.
void ReadIndividualSectorSeating(TournamentModel& model, TText& description)
{
    const QString& fileName = description.FileName();
    const qint64 ordinarySlots = qint64(model.RoundCount) * model.SectionCount;
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        for (qint32 p = 1; p <= model.ExtraTableCount; ++p) {
            MovementEntry& entry = EntryAt(model, b, ordinarySlots + p, fileName);
            entry.NS = ParticipantAt(model, description.ReadInt(), fileName);
            entry.EW = ParticipantAt(model, description.ReadInt(), fileName);
            entry.South = ParticipantAt(model, description.ReadInt(), fileName);
            entry.West = ParticipantAt(model, description.ReadInt(), fileName);
            entry.Round = 0;
            entry.Table = 0;
        }
    }
}

// Several non-typical sectors of m tables each, one after another, each taking RoundCount extra slots
// round by round: board set c of a sector starts at table shift * kN + c and moves kN tables a round.
void GenerateExtraSectors(
    TournamentModel& model, qint64 northStep, qint64 shift, const SwitchRounds& switches, const QString& fileName)
{
    const qint32 R = model.RoundCount;
    const qint32 sectors = model.ExtraSectionCount;
    const qint64 needed = qint64(R) * sectors;
    if (needed > model.ExtraTableCount)
        FailDescription(fileName,
            QStringLiteral("%1 sektorów nietypowych po %2 rund wymaga %3 miejsc, a stołów sektora nietypowego jest %4")
                .arg(sectors)
                .arg(R)
                .arg(needed)
                .arg(model.ExtraTableCount));
    const qint32 m = model.ExtraTableCount / sectors;
    if (m > model.TableCount)
        FailDescription(fileName,
            QStringLiteral("sektor nietypowy o %1 stołach ma więcej stołów niż zestawów rozdań (%2)")
                .arg(m)
                .arg(model.TableCount));
    qint64 base = qint64(R) * model.SectionCount;
    for (qint32 t = 1; t <= sectors; ++t) {
        for (qint32 c = 1; c <= m; ++c) {
            qint32 table = WrapAround(shift * northStep + c, m);
            for (qint32 r = 1; r <= R; ++r) {
                MovementEntry& entry = EntryAt(model, c, base + r, fileName);
                if (switches.Contains(r))
                    SwitchSeats(entry);
                entry.Round = r;
                entry.Table = table;
                table = WrapAround(table + northStep, m);
            }
        }
        base += R;
    }
}

// Reads the whole description; returns the sector to hand over when there is one non-typical sector.
std::optional<NonTypicalSectorHandOver> ReadIndividualDescription(TournamentModel& model, TText& description)
{
    const QString& fileName = description.FileName();
    model.PairsEvent = false;
    model.TableCount = description.ReadInt() % 10000;
    model.RoundCount = description.ReadInt();
    model.BoardsPerRound = description.ReadInt();
    model.SectionCount = description.ReadInt();
    model.ExtraSectionCount = 0;
    const qint32 extraTables = description.ReadInt();
    if (extraTables > 10000) {
        model.ExtraSectionCount = (extraTables - 10000) / 100;
        model.ExtraTableCount = extraTables % 100;
    } else {
        model.ExtraTableCount = extraTables;
    }
    (void)description.ReadInt();
    const qint32 shift = description.ReadInt();
    model.ParticipantCount = description.ReadInt();
    model.ResultsPerBoard = description.ReadInt();
    (void)description.ReadInt();
    (void)description.ReadInt();
    const qint32 firstSwitchStart = description.ReadInt();
    const qint32 firstSwitchEnd = description.ReadInt();
    model.BoardCount = description.ReadInt();
    const qint32 secondSwitchStart = description.ReadInt();

    CheckHeaderCounts(model, fileName);
    CheckMovementSize(model, fileName, 4);
    const SwitchRounds switches(firstSwitchStart, firstSwitchEnd, secondSwitchStart, model.RoundCount, fileName);

    CreateContractFile(model.TournamentBase, qint64(model.ResultsPerBoard) * model.BoardCount);
    FillBoardNumbers(model);

    SizeParticipantNumbers(model);
    for (qint32 i = 1; i <= model.ParticipantCount; ++i)
        model.ParticipantNumbers[static_cast<size_t>(i)] = description.ReadInt();
    SizeMovement(model);

    SeatSteps steps;
    steps.North = description.ReadInt();
    steps.East = description.ReadInt();
    steps.South = description.ReadInt();
    steps.West = description.ReadInt();
    GenerateIndividualSections(model, steps, shift, switches, fileName);

    if (model.ExtraTableCount < 1)
        return std::nullopt;
    ReadIndividualSectorSeating(model, description);
    if (model.ExtraSectionCount < 1) {
        NonTypicalSectorHandOver sector;
        sector.RowCount = model.ExtraTableCount;
        sector.SlotOffset = model.RoundCount * model.SectionCount;
        sector.PositionOffset = 4 * model.TableCount * model.SectionCount;
        sector.Shift = shift;
        return sector;
    }
    GenerateExtraSectors(model, steps.North, shift, switches, fileName);
    return std::nullopt;
}

} // namespace

SwitchRounds::SwitchRounds(
    qint32 firstStart, qint32 firstEnd, qint32 secondStart, qint32 lastRound, const QString& fileName)
{
    // The ends of both ranges are rounds of a set of 0..255, whether the range is empty or not.
    CheckSwitchBound(qint64(firstStart) + 1, fileName);
    CheckSwitchBound(firstEnd, fileName);
    CheckSwitchBound(qint64(secondStart) + 1, fileName);
    CheckSwitchBound(lastRound, fileName);
    for (qint32 r = firstStart + 1; r <= firstEnd; ++r)
        m_rounds.set(size_t(r));
    for (qint32 r = secondStart + 1; r <= lastRound; ++r)
        m_rounds.set(size_t(r));
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
    std::optional<NonTypicalSectorHandOver> sector;
    {
        // The description is released before the operator is asked anything about the sector.
        TText text = std::move(description);
        sector = ReadIndividualDescription(model, text);
    }
    if (!sector)
        return true;
    return completer.CompleteIndividualNonTypicalSector(model, *sector);
}

} // namespace kibic
