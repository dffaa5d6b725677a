// Generation of the ordinary sections' movement.
#include "tournament/SectionMovement.h"

#include "tournament/DescriptionChecks.h"

namespace kibic {

void GenerateSection(TournamentModel& model, qint32 section, std::initializer_list<SeatMove> seats, qint64 shift,
    const QString& fileName)
{
    const qint32 T = model.TableCount;
    const qint32 R = model.RoundCount;
    if (T < 1 || seats.size() == 0)
        return;
    const qint32 MovementEntry::*table = seats.begin()->Seat;
    const qint64 base = qint64(R) * (section - 1);
    const qint64 offset = qint64(seats.size()) * T * (section - 1);
    for (qint32 b = 1; b <= T && R >= 1; ++b) {
        MovementEntry& entry = EntryAt(model, b, base + 1, fileName);
        for (const SeatMove& seat : seats)
            entry.*seat.Seat = WrapAround(b + shift * seat.Step, T);
        entry.Round = 1;
        entry.Table = entry.*table;
    }
    for (qint32 r = 2; r <= R; ++r) {
        for (qint32 b = 1; b <= T; ++b) {
            const MovementEntry previous = EntryAt(model, b, base + r - 1, fileName);
            MovementEntry& entry = EntryAt(model, b, base + r, fileName);
            for (const SeatMove& seat : seats) {
                qint64 position = qint64(previous.*seat.Seat) + seat.Step;
                if (seat.MitchellSkip && T % 2 == 0 && r + shift == T / 2 + 1)
                    position -= 1;
                entry.*seat.Seat = WrapAround(position, T);
            }
            entry.Round = r;
            entry.Table = entry.*table;
        }
    }
    for (qint32 r = 1; r <= R; ++r) {
        for (qint32 b = 1; b <= T; ++b) {
            MovementEntry& entry = EntryAt(model, b, base + r, fileName);
            qint64 first = offset;
            for (const SeatMove& seat : seats) {
                entry.*seat.Seat = ParticipantAt(model, entry.*seat.Seat + first, fileName);
                first += T;
            }
        }
    }
}

} // namespace kibic
