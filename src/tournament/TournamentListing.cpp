// Listing of the tournament model.
#include "tournament/TournamentListing.h"

#include <algorithm>

namespace kibic {

namespace {

QString Line(const QString& name, const std::vector<qint32>& values)
{
    QString line = name;
    for (const qint32 value : values)
        line += QLatin1Char('\t') + QString::number(value);
    return line;
}

QString Line(const QString& name, qint32 value)
{
    return name + QLatin1Char('\t') + QString::number(value);
}

} // namespace

QStringList TournamentListing(const TournamentModel& model)
{
    QStringList lines;
    lines << Line(QStringLiteral("PairsEvent"), model.PairsEvent ? 1 : 0)
          << Line(QStringLiteral("TableCount"), model.TableCount)
          << Line(QStringLiteral("RoundCount"), model.RoundCount)
          << Line(QStringLiteral("BoardsPerRound"), model.BoardsPerRound)
          << Line(QStringLiteral("SectionCount"), model.SectionCount)
          << Line(QStringLiteral("ExtraTableCount"), model.ExtraTableCount)
          << Line(QStringLiteral("ExtraSectionCount"), model.ExtraSectionCount)
          << Line(QStringLiteral("ParticipantCount"), model.ParticipantCount)
          << Line(QStringLiteral("ResultsPerBoard"), model.ResultsPerBoard)
          << Line(QStringLiteral("BoardCount"), model.BoardCount)
          << Line(QStringLiteral("ScoringKind"), model.ScoringKind)
          << Line(QStringLiteral("ParticipantNumbers"), model.ParticipantNumbers)
          << Line(QStringLiteral("BoardNumbers"), model.BoardNumbers);
    const qsizetype boardSets = std::min<qsizetype>(model.TableCount, qsizetype(model.Movement.size()) - 1);
    for (qsizetype b = 1; b <= boardSets; ++b) {
        const auto& entries = model.Movement[static_cast<size_t>(b)];
        for (size_t slot = 1; slot < entries.size(); ++slot) {
            const MovementEntry& e = entries[slot];
            lines << Line(QStringLiteral("Movement"),
                std::vector<qint32>{qint32(b), qint32(slot), e.NS, e.EW, e.South, e.West, e.Round, e.Table});
        }
    }
    return lines;
}

} // namespace kibic
