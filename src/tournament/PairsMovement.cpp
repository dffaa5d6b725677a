// Movement of a pairs tournament.
//
// In each ordinary section board set b starts at table b and moves down one table every round; the NS
// pairs stay at their tables and the EW pairs move EWStep places against the board sets. Positions of
// section s in the participant list: NS 1..T then EW T+1..2T, after the 2T(s-1) positions of the
// sections before it. Slots of section s: R(s-1)+1 .. R(s-1)+R, one for each round.
#include "tournament/PairsMovement.h"

#include "tournament/DescriptionChecks.h"
#include "tournament/DescriptionNumbers.h"
#include "tournament/SectionMovement.h"

#include <utility>

namespace kibic {

void GeneratePairsSections(TournamentModel& model, const PairsMovementParameters& parameters, const QString& fileName)
{
    const qint32 T = model.TableCount;
    const qint32 R = model.RoundCount;
    const qint64 h = parameters.Shift;
    const qint64 k = parameters.EWStep;
    if (parameters.SwitchRound < 0)
        FailDescription(fileName, QStringLiteral("runda zmiany stron %1 jest ujemna").arg(parameters.SwitchRound));
    for (qint32 s = 1; s <= model.SectionCount; ++s) {
        // The NS pairs stay at their tables, so their position is the board set's table; with a shift the
        // board sets start h tables lower, wrapping round the section, so that no two share a table.
        GenerateSection(model, s, { { &MovementEntry::NS, -1 }, { &MovementEntry::EW, k, true } }, h, fileName);
        const qint64 base = qint64(R) * (s - 1);
        for (qint64 r = qint64(parameters.SwitchRound) + 1; r <= R; ++r) {
            for (qint32 b = 1; b <= T; ++b) {
                MovementEntry& entry = EntryAt(model, b, base + r, fileName);
                std::swap(entry.NS, entry.EW);
            }
        }
    }
}

NonTypicalSectorHandOver ReadPairsSectorSeating(
    TournamentModel& model, TText& description, const PairsMovementParameters& parameters)
{
    const QString& fileName = description.FileName();
    const qint64 ordinarySlots = qint64(model.RoundCount) * model.SectionCount;
    const qint64 sectorOffset = 2 * qint64(model.TableCount) * model.SectionCount;
    // A position of the sector is the participant at sectorOffset + position; check it now, so that
    // whoever completes the sector can rely on it. A position below 1 is no meeting to translate: the
    // kinds recorded by table number seat the sector's first two pairs there, the others refuse it.
    auto checked = [&](qint32 position) {
        if (position > 0 && sectorOffset + position > model.ParticipantCount)
            FailDescription(fileName,
                QStringLiteral("pozycja %1 sektora nietypowego wykracza poza listę %2 uczestników")
                    .arg(position)
                    .arg(model.ParticipantCount));
        return position;
    };
    DescriptionNumbers numbers(description);
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        const auto count = [b] { return QStringLiteral("liczba spotkań kompletu %1 sektora nietypowego").arg(b); };
        const qint32 meetings = numbers.Read(count);
        numbers.Skip(count);
        for (qint32 p = 1; p <= model.ExtraTableCount; ++p) {
            const auto seating = [b, p] { return SectorSeatingPlace(b, p); };
            MovementEntry& entry = EntryAt(model, b, ordinarySlots + p, fileName);
            const qint32 ns = numbers.Read(seating);
            numbers.Skip(seating);
            entry.NS = checked(p > meetings ? 0 : ns);
            const qint32 ew = numbers.Read(seating);
            numbers.Skip(seating);
            entry.EW = checked(p > meetings ? 0 : ew);
            entry.Round = 0;
            entry.Table = 0;
        }
    }
    NonTypicalSectorHandOver sector;
    sector.RowCount = model.ExtraTableCount;
    sector.SlotOffset = static_cast<qint32>(ordinarySlots);
    sector.PositionOffset = static_cast<qint32>(sectorOffset);
    sector.Shift = parameters.Shift;
    return sector;
}

void ExchangeLastRounds(TournamentModel& model, qint32 exchangeFlag, qint32 switchRound, const QString& fileName)
{
    if (exchangeFlag <= 0)
        return;
    const qint32 R = model.RoundCount;
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        MovementEntry& first = EntryAt(model, b, R, fileName);
        MovementEntry& second = EntryAt(model, b, 2 * qint64(R), fileName);
        // The pairs that moved during the session change sections for the last round; after the switch
        // round they sit NS.
        if (R > switchRound)
            std::swap(first.NS, second.NS);
        else
            std::swap(first.EW, second.EW);
    }
}

void ArrangeSectionMeeting(TournamentModel& model, qint32 position, const QString& fileName)
{
    if (position <= 0)
        return;
    const qint32 A = ParticipantAt(model, position, fileName);
    const qint32 B = ParticipantAt(model, qint64(position) + 2 * qint64(model.TableCount), fileName);
    const qint64 lastSlot = 2 * qint64(model.RoundCount);
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        qint64 ownPlace = 0; // slot where A plays: > 0 as NS, < 0 as EW
        qint32 displaced = 0; // B's opponent, who takes A's own place
        for (qint64 slot = 1; slot <= lastSlot; ++slot) {
            MovementEntry& entry = EntryAt(model, b, slot, fileName);
            if (entry.NS == A) {
                ownPlace = slot;
            } else if (entry.EW == A) {
                ownPlace = -slot;
            } else if (entry.EW == B) {
                displaced = entry.NS;
                entry.NS = A;
            } else if (entry.NS == B) {
                displaced = entry.EW;
                entry.EW = A;
            }
        }
        if (ownPlace > 0)
            EntryAt(model, b, ownPlace, fileName).NS = displaced;
        else if (ownPlace < 0)
            EntryAt(model, b, -ownPlace, fileName).EW = displaced;
    }
}

} // namespace kibic
