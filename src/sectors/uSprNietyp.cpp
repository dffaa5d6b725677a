// Completion of a non-typical sector: the choice of its kind, the computed proposals, the pattern check.
#include "sectors/uSprNietyp.h"

#include "common/KibicError.h"
#include "common/Operator.h"
#include "common/uNapisy.h"
#include "tournament/DescriptionChecks.h"
#include "tournament/TournamentFiles.h"

#include <QHash>
#include <QPair>
#include <algorithm>

namespace kibic {

QString SectorKindCaption(SectorKind kind)
{
    switch (kind) {
    case SectorKind::OneHowell:
        return QStringLiteral("Jeden zbiornicowy sektor Howella, bez sprzężeń");
    case SectorKind::BigHowell:
        return QStringLiteral("Jeden sektor dużego Howella, zapis przy numerze stołu");
    case SectorKind::Barometer:
        return QStringLiteral("Barometr na dochodzenie, zapis przy numerze stołu");
    case SectorKind::Other:
        return QStringLiteral("Coś innego");
    }
    return {};
}

std::optional<SectorKind> SectorKindOf(int code)
{
    if (code < static_cast<int>(SectorKind::OneHowell) || code > static_cast<int>(SectorKind::Other))
        return std::nullopt;
    return static_cast<SectorKind>(code);
}

int SectorKindChoice::EnabledCount() const
{
    return static_cast<int>(std::count(Enabled.begin(), Enabled.end(), true));
}

SectorKindChoice EnabledSectorKinds(const TournamentModel& model, const NonTypicalSectorHandOver& sector)
{
    SectorKindChoice choice;
    auto disable = [&choice](SectorKind kind) { choice.Enabled[static_cast<int>(kind) - 501] = false; };
    if (sector.Shift > 0) {
        disable(SectorKind::OneHowell);
        disable(SectorKind::BigHowell);
        disable(SectorKind::Barometer);
    }
    if (sector.RowCount >= model.TableCount - 1) {
        disable(SectorKind::OneHowell);
        disable(SectorKind::BigHowell);
    }
    if (model.SectionCount > 0)
        disable(SectorKind::Barometer);
    return choice;
}

void CheckSectorShape(const TournamentModel& model, qint32 n, qint32 o)
{
    const QString what = QStringLiteral("Sektor nietypowy (%1 stołów po %2 miejscach zwykłych sektorów, %3 kompletów)")
                             .arg(n)
                             .arg(o)
                             .arg(model.TableCount);
    if (n < 1 || o < 0 || model.TableCount < 1)
        throw KibicError(what + QStringLiteral(": nie ma czego uzupełniać."));
    if (model.Movement.size() < static_cast<size_t>(model.TableCount) + 1)
        throw KibicError(what
            + QStringLiteral(": ruch turnieju ma tylko %1 kompletów.")
                  .arg(static_cast<qsizetype>(model.Movement.size()) - 1));
    const size_t slotCount = static_cast<size_t>(o) + static_cast<size_t>(n) + 1;
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        if (model.Movement[static_cast<size_t>(b)].size() < slotCount)
            throw KibicError(what
                + QStringLiteral(": komplet %1 ruchu turnieju ma tylko %2 miejsc.")
                      .arg(b)
                      .arg(static_cast<qsizetype>(model.Movement[static_cast<size_t>(b)].size()) - 1));
    }
}

MovementEntry& SectorEntry(TournamentModel& model, qint32 o, qint32 b, qint32 i)
{
    return model.Movement.at(static_cast<size_t>(b)).at(static_cast<size_t>(o + i));
}

const MovementEntry& SectorEntry(const TournamentModel& model, qint32 o, qint32 b, qint32 i)
{
    return model.Movement.at(static_cast<size_t>(b)).at(static_cast<size_t>(o + i));
}

qint32 SectorParticipant(const TournamentModel& model, qint32 p, qint32 v)
{
    if (v == 0)
        return 0;
    const QString description
        = TournamentFile(model.TournamentBase, model.PairsEvent ? QStringLiteral(".inf") : QStringLiteral(".ind"));
    if (v < 0)
        FailDescription(description, QStringLiteral("pozycja %1 sektora nietypowego jest niemożliwa").arg(v));
    const qint64 index = qint64(p) + v;
    if (index >= static_cast<qint64>(model.ParticipantNumbers.size()))
        FailDescription(description,
            QStringLiteral("pozycja %1 sektora nietypowego (numer %2 listy uczestników) leży poza listą, która ma %3 "
                           "uczestników")
                .arg(v)
                .arg(index)
                .arg(std::max<qint64>(0, static_cast<qint64>(model.ParticipantNumbers.size()) - 1)));
    return model.ParticipantNumbers[static_cast<size_t>(index)];
}

void TranslateSectorPositions(TournamentModel& model, const NonTypicalSectorHandOver& sector)
{
    CheckSectorShape(model, sector.RowCount, sector.SlotOffset);
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        for (qint32 i = 1; i <= sector.RowCount; ++i) {
            MovementEntry& entry = SectorEntry(model, sector.SlotOffset, b, i);
            entry.NS = SectorParticipant(model, sector.PositionOffset, entry.NS);
            entry.EW = SectorParticipant(model, sector.PositionOffset, entry.EW);
        }
    }
}

void FillByTableNumber(TournamentModel& model, const NonTypicalSectorHandOver& sector)
{
    CheckSectorShape(model, sector.RowCount, sector.SlotOffset);
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        for (qint32 i = 1; i <= sector.RowCount; ++i) {
            MovementEntry& entry = SectorEntry(model, sector.SlotOffset, b, i);
            if (entry.NS < 1)
                entry.NS = 1;
            if (entry.EW < 1)
                entry.EW = 2;
            entry.NS = SectorParticipant(model, sector.PositionOffset, entry.NS);
            entry.EW = SectorParticipant(model, sector.PositionOffset, entry.EW);
            entry.Round = b;
            entry.Table = i;
        }
    }
}

namespace {

// Row 1 of a board set is played at the same table as row 1 of the board set before it when one of
// its pairs was seen there: a pair numbered above the board sets (a stationary pair) sits again, or
// the EW pair is the next one of the previous board set's EW pair (cyclically).
bool SameTableAsBefore(const MovementEntry& row, const MovementEntry& previous, qint32 boardSets)
{
    const qint32 n = row.NS;
    const qint32 e = row.EW;
    return (n > boardSets && (n == previous.NS || n == previous.EW))
        || (e > boardSets && (e == previous.NS || e == previous.EW)) || (e <= boardSets && e == previous.EW + 1)
        || (e == 1 && previous.EW == boardSets);
}

} // namespace

void ProposeHowellSector(TournamentModel& model, const NonTypicalSectorHandOver& sector)
{
    const qint32 n = sector.RowCount;
    const qint32 o = sector.SlotOffset;
    const qint32 boardSets = model.TableCount;
    CheckSectorShape(model, n, o);
    auto row = [&model, o](qint32 b, qint32 i) -> MovementEntry& { return SectorEntry(model, o, b, i); };

    // Tables of row 1.
    row(1, 1).Table = 1;
    row(1, 1).Round = 1;
    qint32 t = 1;
    for (qint32 b = 2; b <= boardSets; ++b) {
        if (!SameTableAsBefore(row(b, 1), row(b - 1, 1), boardSets)) {
            ++t;
            if (t > n)
                t = 1;
        }
        row(b, 1).Table = t;
    }

    // Rounds of row 1: consecutive board sets at one table are consecutive rounds there.
    qint32 r = 1;
    for (qint32 b = 2; b <= boardSets; ++b) {
        r = row(b, 1).Table == row(b - 1, 1).Table ? r + 1 : 1;
        row(b, 1).Round = r;
    }

    // Tables of the other rows walk down the tables cyclically.
    for (qint32 b = 1; b <= boardSets; ++b) {
        for (qint32 i = 2; i <= n; ++i) {
            qint32 table = row(b, i - 1).Table - 1;
            row(b, i).Table = table == 0 ? n : table;
        }
    }

    // Rounds of the other rows: from the first board set seen at a table, that table plays the
    // following board sets in the following rounds; in each the row at that table is the same row or
    // the next one. A seating whose rows leave the sector before that stops the run at that table.
    qint32 lastTable = 0;
    for (qint32 b = 1; b <= boardSets; ++b) {
        if (row(b, 1).Table == lastTable)
            continue;
        lastTable = row(b, 1).Table;
        r = row(b, 1).Round;
        qint32 s = 1;
        qint32 d = b;
        for (qint32 step = 1; step < boardSets; ++step) {
            d = d == boardSets ? 1 : d + 1;
            ++r;
            if (row(d, s).Table != lastTable)
                ++s;
            if (s > n)
                break;
            row(d, s).Round = r;
        }
    }
}

bool SectorPatternComplete(const TournamentModel& model, qint32 n, qint32 o)
{
    CheckSectorShape(model, n, o);
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        for (qint32 i = 1; i <= n; ++i) {
            const MovementEntry& entry = SectorEntry(model, o, b, i);
            if (entry.Round < 1 || entry.Table < 1)
                return false;
        }
    }
    return true;
}

PatternFault SectorPatternFault(const TournamentModel& model, qint32 n, qint32 o)
{
    CheckSectorShape(model, n, o);
    if (!model.PairsEvent && model.ExtraSectionCount >= 1)
        return {};
    QHash<QPair<qint32, qint32>, QPair<qint32, qint32>> seated; // (table, round) -> (board set, row)
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        for (qint32 i = 1; i <= n; ++i) {
            const MovementEntry& entry = SectorEntry(model, o, b, i);
            if (entry.Table < 1 || entry.Round < 1)
                continue;
            if (entry.Table > n)
                return { QStringLiteral("Wzorzec sektora nietypowego: komplet %1, wiersz %2 – stolik %3 jest poza "
                                        "sektorem, który ma stoliki 1..%4.")
                             .arg(b)
                             .arg(i)
                             .arg(entry.Table)
                             .arg(n),
                    b, i };
            const QPair<qint32, qint32> place { entry.Table, entry.Round };
            const auto earlier = seated.constFind(place);
            if (earlier != seated.cend())
                return { QStringLiteral("Wzorzec sektora nietypowego: komplet %1, wiersz %2 – stolik %3 w rundzie %4 "
                                        "ma już spotkanie kompletu %5 z wiersza %6.")
                             .arg(b)
                             .arg(i)
                             .arg(entry.Table)
                             .arg(entry.Round)
                             .arg(earlier->first)
                             .arg(earlier->second),
                    b, i };
            seated.insert(place, { b, i });
        }
    }
    return {};
}

SectorCompletion::SectorCompletion(SectorOperator& sectorOperator, Operator& messages)
    : m_sectorOperator(sectorOperator)
    , m_messages(messages)
{
}

bool SectorCompletion::CompleteNonTypicalSector(TournamentModel& model, const NonTypicalSectorHandOver& sector)
{
    CheckSectorShape(model, sector.RowCount, sector.SlotOffset);
    const SectorKindChoice choice = EnabledSectorKinds(model, sector);
    const std::optional<SectorKind> kind
        = choice.EnabledCount() <= 1 ? SectorKind::Other : m_sectorOperator.ChooseSectorKind(choice);
    // TForm2 closed without a choice: the tournament is not opened.
    if (!kind)
        return false;
    switch (*kind) {
    case SectorKind::BigHowell:
    case SectorKind::Barometer:
        FillByTableNumber(model, sector);
        return true;
    case SectorKind::Other:
        TranslateSectorPositions(model, sector);
        return m_sectorOperator.EditSectorPattern(model, sector.RowCount, sector.SlotOffset);
    case SectorKind::OneHowell:
        ProposeHowellSector(model, sector);
        TranslateSectorPositions(model, sector);
        return m_sectorOperator.EditSectorPattern(model, sector.RowCount, sector.SlotOffset);
    }
    return false;
}

bool SectorCompletion::CompleteIndividualNonTypicalSector(
    TournamentModel& model, const NonTypicalSectorHandOver& sector)
{
    CheckSectorShape(model, sector.RowCount, sector.SlotOffset);
    const ModalResult answer = m_messages.Ask(Question::Barometer, uNapisy::CzyBarometr.toString());
    if (answer == ModalResult::Yes) {
        for (qint32 b = 1; b <= model.TableCount; ++b) {
            for (qint32 i = 1; i <= sector.RowCount; ++i) {
                MovementEntry& entry = SectorEntry(model, sector.SlotOffset, b, i);
                if (entry.NS < 1)
                    entry.NS = SectorParticipant(model, sector.PositionOffset, 1);
                if (entry.EW < 1)
                    entry.EW = SectorParticipant(model, sector.PositionOffset, 2);
                entry.Round = b;
                entry.Table = i;
            }
        }
        return true;
    }
    if (answer == ModalResult::No)
        return m_sectorOperator.EditSectorPattern(model, sector.RowCount, sector.SlotOffset);
    return false;
}

} // namespace kibic
