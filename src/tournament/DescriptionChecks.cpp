// Checks of the counts and indices that a tournament description gives.
#include "tournament/DescriptionChecks.h"

#include "common/KibicError.h"

namespace kibic {

namespace {

void CheckCount(const QString& fileName, const QString& name, qint64 value)
{
    if (value < 0)
        FailDescription(fileName, QStringLiteral("%1 %2 jest niemożliwa").arg(name).arg(value));
    if (value > MaxTournamentElements)
        FailDescription(fileName, QStringLiteral("%1 %2 jest zbyt duża").arg(name).arg(value));
}

// A count that a tournament cannot be without (its number in the header given for the message).
void CheckPresent(const QString& fileName, const QString& what, qint64 value, int number)
{
    if (value < 1)
        FailDescription(fileName,
            QStringLiteral("nagłówek nie podaje %1 (liczba %2 nagłówka daje %3)").arg(what).arg(number).arg(value));
}

} // namespace

void FailDescription(const QString& fileName, const QString& what)
{
    throw KibicError(QStringLiteral("Błąd w pliku %1: %2.").arg(fileName, what));
}

void CheckHeaderCounts(const TournamentModel& model, const QString& fileName)
{
    CheckCount(fileName, QStringLiteral("liczba stołów"), model.TableCount);
    CheckCount(fileName, QStringLiteral("liczba rund"), model.RoundCount);
    CheckCount(fileName, QStringLiteral("liczba rozdań w rundzie"), model.BoardsPerRound);
    CheckCount(fileName, QStringLiteral("liczba sektorów"), model.SectionCount);
    CheckCount(fileName, QStringLiteral("liczba uczestników"), model.ParticipantCount);
    CheckCount(fileName, QStringLiteral("liczba wyników rozdania"), model.ResultsPerBoard);
    CheckCount(fileName, QStringLiteral("liczba rozdań"), model.BoardCount);
    const qint64 records = qint64(model.ResultsPerBoard) * model.BoardCount;
    if (records > MaxTournamentElements)
        FailDescription(fileName,
            QStringLiteral("%1 rozdań po %2 wyników to zbyt wiele zapisów pliku kontraktów")
                .arg(model.BoardCount)
                .arg(model.ResultsPerBoard));
}

void CheckSomethingToPlay(const TournamentModel& model, const QString& fileName)
{
    CheckPresent(fileName, QStringLiteral("ani jednego stołu w sektorze"), model.TableCount, 1);
    CheckPresent(fileName, QStringLiteral("ani jednej rundy"), model.RoundCount, 2);
    CheckPresent(fileName, QStringLiteral("ani jednego rozdania w rundzie"), model.BoardsPerRound, 3);
    CheckPresent(fileName, QStringLiteral("ani jednego rozdania"), model.BoardCount, 14);
}

void CheckMovementSize(const TournamentModel& model, const QString& fileName, qint64 seatsPerTable)
{
    CheckCount(fileName, QStringLiteral("liczba stołów sektora nietypowego"), model.ExtraTableCount);
    CheckCount(fileName, QStringLiteral("liczba sektorów nietypowych"), model.ExtraSectionCount);
    // Every count is now within 0..MaxTournamentElements, so none of these products overflows.
    const qint64 slotCount = qint64(model.RoundCount) * model.SectionCount + model.ExtraTableCount + 1;
    const qint64 positions = seatsPerTable * model.TableCount * model.SectionCount;
    const qint64 total = qint64(model.ParticipantCount) + 1 + qint64(model.BoardCount) + 1
        + (slotCount > MaxTournamentElements ? slotCount : (qint64(model.TableCount) + 1) * slotCount);
    if (slotCount > MaxTournamentElements || positions > MaxTournamentElements || total > MaxTournamentElements)
        FailDescription(fileName,
            QStringLiteral("turniej o %1 stołach, %2 rundach, %3 sektorach i %4 stołach sektora nietypowego "
                           "jest zbyt duży")
                .arg(model.TableCount)
                .arg(model.RoundCount)
                .arg(model.SectionCount)
                .arg(model.ExtraTableCount));
}

void SizeParticipantNumbers(TournamentModel& model)
{
    model.ParticipantNumbers.resize(static_cast<size_t>(model.ParticipantCount) + 1);
    model.ParticipantNumbers[0] = 0;
}

void SizeMovement(TournamentModel& model)
{
    const auto slotCount
        = static_cast<size_t>(qint64(model.RoundCount) * model.SectionCount + model.ExtraTableCount + 1);
    model.Movement.resize(static_cast<size_t>(model.TableCount) + 1);
    for (auto& boardSet : model.Movement)
        boardSet.resize(slotCount);
}

qint32 ParticipantAt(const TournamentModel& model, qint64 position, const QString& fileName)
{
    if (position < 0 || position >= qint64(model.ParticipantNumbers.size()))
        FailDescription(fileName,
            QStringLiteral("pozycja %1 wykracza poza listę %2 uczestników").arg(position).arg(model.ParticipantCount));
    return model.ParticipantNumbers[static_cast<size_t>(position)];
}

MovementEntry& EntryAt(TournamentModel& model, qint64 boardSet, qint64 slot, const QString& fileName)
{
    if (boardSet < 0 || boardSet >= qint64(model.Movement.size()))
        FailDescription(fileName,
            QStringLiteral("zestaw rozdań %1 wykracza poza %2 zestawów turnieju").arg(boardSet).arg(model.TableCount));
    auto& entries = model.Movement[static_cast<size_t>(boardSet)];
    if (slot < 0 || slot >= qint64(entries.size()))
        FailDescription(fileName,
            QStringLiteral("miejsce %1 zestawu rozdań %2 wykracza poza przebieg turnieju").arg(slot).arg(boardSet));
    return entries[static_cast<size_t>(slot)];
}

qint32 WrapAround(qint64 value, qint32 count)
{
    Q_ASSERT(count >= 1);
    qint64 wrapped = (value - 1) % count;
    if (wrapped < 0)
        wrapped += count;
    return static_cast<qint32>(wrapped + 1);
}

} // namespace kibic
