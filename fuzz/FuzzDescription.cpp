// Feeds arbitrary bytes to the readers of ZyRT's tournament files. The first byte chooses the reader:
//   0 pairs description (.inf)        2 header re-read of a pairs description
//   1 individual description (.ind)   3 header re-read of an individual description
//   4 board-numbering file (.INR)
// A reader may refuse the bytes with KibicError; anything else (a crash, a sanitizer report, a model
// that does not match its counts, a hand-over the model cannot hold) is a fault.
#include "common/KibicError.h"
#include "tournament/BoardNumbering.h"
#include "tournament/IndividualMovement.h"
#include "tournament/TournamentReader.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

using namespace kibic;

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Completes nothing and answers "done"; checks that what it is handed lies inside the model.
class AcceptingCompleter : public NonTypicalSectorCompleter
{
public:
    bool CompleteNonTypicalSector(TournamentModel& model, const NonTypicalSectorHandOver& sector) override
    {
        Check(model, sector);
        for (size_t b = 1; b < model.Movement.size(); ++b) {
            for (qint64 i = 1; i <= sector.RowCount; ++i) {
                const MovementEntry& entry = model.Movement[b][size_t(sector.SlotOffset + i)];
                for (const qint32 position : { entry.NS, entry.EW })
                    Require(position == 0
                        || (position > 0 && qint64(sector.PositionOffset) + position <= model.ParticipantCount));
            }
        }
        return true;
    }

    bool CompleteIndividualNonTypicalSector(TournamentModel& model, const NonTypicalSectorHandOver& sector) override
    {
        Check(model, sector);
        return true;
    }

private:
    static void Check(const TournamentModel& model, const NonTypicalSectorHandOver& sector)
    {
        Require(sector.RowCount == model.ExtraTableCount && sector.RowCount >= 1);
        Require(sector.SlotOffset == model.RoundCount * model.SectionCount);
        for (size_t b = 0; b < model.Movement.size(); ++b)
            Require(qint64(sector.SlotOffset) + sector.RowCount < qint64(model.Movement[b].size()));
    }
};

void CheckModel(const TournamentModel& model)
{
    Require(model.ParticipantNumbers.size() == size_t(model.ParticipantCount) + 1);
    Require(model.BoardNumbers.size() == size_t(model.BoardCount) + 1);
    Require(model.Movement.size() == size_t(model.TableCount) + 1);
    const qint64 slotCount = qint64(model.RoundCount) * model.SectionCount + model.ExtraTableCount + 1;
    for (const auto& boardSet : model.Movement)
        Require(qint64(boardSet.size()) == slotCount);
    // Every ordinary entry is played at a table of its section in its round.
    for (size_t b = 1; b < model.Movement.size(); ++b) {
        for (qint32 s = 0; s < model.SectionCount; ++s) {
            for (qint32 r = 1; r <= model.RoundCount; ++r) {
                const MovementEntry& entry = model.Movement[b][size_t(qint64(s) * model.RoundCount + r)];
                Require(entry.Round == r && entry.Table >= 1 && entry.Table <= model.TableCount);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The contract file and the board numbering of the fuzzed tournament live here.
    static QTemporaryDir folder;
    if (size < 1)
        return 0;
    const int reader = data[0] % 5;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString name = QStringLiteral("fuzz");
    TournamentModel model;
    model.ScoringKind = 2;
    model.TournamentBase = folder.filePath(QStringLiteral("t"));
    AcceptingCompleter completer;
    try {
        switch (reader) {
        case 0:
            Require(ReadPairsTournament(model, TText::FromBytes(bytes, name), completer));
            CheckModel(model);
            break;
        case 1:
            Require(ReadIndividualTournament(model, TText::FromBytes(bytes, name), completer));
            CheckModel(model);
            break;
        case 2:
        case 3:
            model.PairsEvent = reader == 2;
            ReadTournamentHeader(model, TText::FromBytes(bytes, name));
            Require(model.GridTableCount == model.SectionCount * model.TableCount + model.ExtraTableCount);
            break;
        default: {
            const BoardNumbering numbering { name, ParseBoardNumbering(bytes, name) };
            for (qint32 i = 1; i <= 64; ++i)
                (void)BoardNumberOf(numbering, i);
            break;
        }
        }
    } catch (const KibicError&) {
    }
    return 0;
}
