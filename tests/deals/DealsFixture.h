// What the tests of the deals share: a scoring database of two sections built by the production code, and PBN
// files of deals that tell the hands apart.
#pragma once

#include "scoringdb/uBuildBWS.h"
#include "support/ScoringTables.h"
#include "support/TournamentModels.h"
#include "tournament/BoardNumbering.h"

#include <QFile>
#include <QString>

namespace kibic::test {

inline void WriteText(const QString& file, const QString& text)
{
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text.toUtf8()) < 0)
        qFatal("cannot write %s", qPrintable(file));
}

// Two sections of 5 tables, 5 rounds of 3 boards, a Mitchell-like movement: board set b at table b in round 1.
inline TournamentModel TwoSections(const QString& base, const QByteArray& numbering)
{
    ModelCounts counts;
    counts.Sections = 2;
    counts.Tables = 5;
    counts.Rounds = 5;
    counts.BoardsPerRound = 3;
    TournamentModel model = MakeModel(counts, base);
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        auto& boardSet = model.Movement[static_cast<std::size_t>(b)];
        for (qint32 k = 1; k <= model.SectionCount * model.RoundCount; ++k) {
            MovementEntry& entry = boardSet[static_cast<std::size_t>(k)];
            entry.Round = (k - 1) % model.RoundCount + 1;
            entry.Table = (b + entry.Round - 2) % model.TableCount + 1;
            entry.NS = entry.Table;
            entry.EW = entry.Table + 5;
        }
    }
    if (!numbering.isEmpty())
        WriteText(base + QStringLiteral(".INR"), QString::fromLatin1(numbering));
    FillBoardNumbers(model);
    return model;
}

// The PBN text of the boards. Board b: one whole suit a hand, North holding spades when b mod 4 is 0, the
// suits going round the hands from board to board.
inline QString Pbn(const QList<int>& boards)
{
    static const QStringList hands = { QStringLiteral("AKQJT98765432..."), QStringLiteral(".AKQJT98765432.."),
        QStringLiteral("..AKQJT98765432."), QStringLiteral("...AKQJT98765432") };
    QString text;
    for (const int board : boards) {
        QStringList deal;
        for (int seat = 0; seat < 4; ++seat)
            deal.append(hands[(seat + board) % 4]);
        text += QStringLiteral("[Board \"%1\"]\n[Deal \"N:%2\"]\n\n").arg(board).arg(deal.join(QLatin1Char(' ')));
    }
    return text;
}

// The database base + ".bws" of TwoSections, built as a tournament's build fills it.
inline TournamentModel BuildTwoSections(const QString& base, const QByteArray& numbering)
{
    const TournamentModel model = TwoSections(base, numbering);
    CreateScoringTables(base + QStringLiteral(".bws"));
    FillScoringDatabase(model, base + QStringLiteral(".bws"));
    return model;
}

} // namespace kibic::test
