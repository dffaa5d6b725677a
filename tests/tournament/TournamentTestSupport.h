// Helpers of the tournament tests: descriptions written into a scratch folder, a recording completer.
#pragma once

#include "tournament/NonTypicalSector.h"
#include "tournament/TournamentModel.h"

#include <QByteArray>
#include <QFile>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <initializer_list>
#include <vector>

namespace kibic::test {

// Numbers separated by single spaces, as ZyRT's description lines are.
inline QByteArray Numbers(std::initializer_list<qint64> numbers)
{
    QByteArray text;
    for (const qint64 n : numbers)
        text += QByteArray::number(n) + ' ';
    return text;
}

inline QByteArray Range(qint64 first, qint64 last)
{
    QByteArray text;
    for (qint64 n = first; n <= last; ++n)
        text += QByteArray::number(n) + ' ';
    return text;
}

inline void WriteFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(fileName));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray ReadFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Records each hand-over with the sector's entries as they were at that moment, and answers with result.
class RecordingCompleter : public NonTypicalSectorCompleter
{
public:
    explicit RecordingCompleter(bool result = true)
        : Result(result)
    {
    }

    bool CompleteNonTypicalSector(TournamentModel& model, const NonTypicalSectorHandOver& sector) override
    {
        Record(QStringLiteral("pairs"), model, sector);
        return Result;
    }

    bool CompleteIndividualNonTypicalSector(TournamentModel& model, const NonTypicalSectorHandOver& sector) override
    {
        Record(QStringLiteral("individual"), model, sector);
        return Result;
    }

    bool Result;
    QStringList Calls;
    NonTypicalSectorHandOver Sector;
    std::vector<std::vector<MovementEntry>> MovementSeen;

private:
    void Record(const QString& kind, const TournamentModel& model, const NonTypicalSectorHandOver& sector)
    {
        Calls << kind;
        Sector = sector;
        MovementSeen = model.Movement;
    }
};

// Pairs met at one table: (NS, EW) of a board set's slot.
inline QPair<qint32, qint32> Pairs(const TournamentModel& model, int boardSet, int slot)
{
    const MovementEntry& entry = model.Movement.at(size_t(boardSet)).at(size_t(slot));
    return {entry.NS, entry.EW};
}

} // namespace kibic::test
