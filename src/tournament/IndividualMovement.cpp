// The movement of an individual tournament.
//
// Positions of section s: North 1..T, East T+1..2T, South 2T+1..3T, West 3T+1..4T, after the 4T(s-1)
// positions of the sections before it.
#include "tournament/IndividualMovement.h"

#include "tournament/DescriptionChecks.h"
#include "tournament/DescriptionNumbers.h"
#include "tournament/SectionMovement.h"

#include <utility>

namespace kibic {

namespace {

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

} // namespace

void GenerateIndividualSections(
    TournamentModel& model, const SeatSteps& steps, qint64 shift, const SwitchRounds& switches, const QString& fileName)
{
    const qint32 T = model.TableCount;
    const qint32 R = model.RoundCount;
    if (T < 1)
        return;
    for (qint32 s = 1; s <= model.SectionCount; ++s) {
        GenerateSection(model, s,
            { { &MovementEntry::NS, steps.North }, { &MovementEntry::EW, steps.East },
                { &MovementEntry::South, steps.South }, { &MovementEntry::West, steps.West } },
            shift, fileName);
        const qint64 base = qint64(R) * (s - 1);
        for (qint32 r = 1; r <= R; ++r) {
            if (!switches.Contains(r))
                continue;
            for (qint32 b = 1; b <= T; ++b)
                SwitchSeats(EntryAt(model, b, base + r, fileName));
        }
    }
}

void ReadIndividualSectorSeating(TournamentModel& model, TText& description)
{
    const QString& fileName = description.FileName();
    const qint64 ordinarySlots = qint64(model.RoundCount) * model.SectionCount;
    DescriptionNumbers numbers(description);
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        for (qint32 p = 1; p <= model.ExtraTableCount; ++p) {
            const auto seat = [&] {
                return ParticipantAt(model, numbers.Read([b, p] { return SectorSeatingPlace(b, p); }), fileName);
            };
            MovementEntry& entry = EntryAt(model, b, ordinarySlots + p, fileName);
            entry.NS = seat();
            entry.EW = seat();
            entry.South = seat();
            entry.West = seat();
            entry.Round = 0;
            entry.Table = 0;
        }
    }
}

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

} // namespace kibic
