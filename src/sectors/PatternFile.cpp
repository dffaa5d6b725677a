// Pattern files (*.bmt): the tables and rounds of a non-typical sector, kept for another tournament.
//
// A text file of lines ending in CR LF, decimal numbers without padding, TAB between fields, in
// Windows-1250. T = TableCount (the board sets), n = the sector's tables (rows of a board set).
//   LINE                                        CONTENT
//   "* BAZA=" T ", STOLY=" n                    comment for the human reader
//   T TAB n                                     the shape of the tournament, checked on loading
//   then for each board set b = 1..T:
//     "* KOMPLET " b TAB TAB "NS" TAB "EW"      pairs event; individual: "N" TAB "S" TAB "W" TAB "E"
//     n lines: Table TAB Round TAB "*" TAB NS TAB EW
//                                               individual: ... "*" TAB NS TAB South TAB West TAB EW;
//                                               Table and Round below 1 (not stated) are written as 0
// "*" starts a comment to the end of the line, so a reader sees T, n and then Table, Round of every
// row in board set order; the participant numbers are for the human reader and never read back.
#include "sectors/PatternFile.h"

#include "common/Operator.h"
#include "common/SafeFiles.h"
#include "common/uNapisy.h"
#include "sectors/uSprNietyp.h"
#include "tournament/TextData.h"

namespace kibic {

namespace {

QByteArray Number(qint32 value)
{
    return QByteArray::number(value);
}

QByteArray Stated(qint32 value)
{
    return Number(value < 1 ? 0 : value);
}

} // namespace

QByteArray PatternBytes(const TournamentModel& model, qint32 n, qint32 o)
{
    CheckSectorShape(model, n, o);
    const QByteArray crlf = QByteArrayLiteral("\r\n");
    const char tab = '\t';
    QByteArray bytes;
    bytes += "* BAZA=" + Number(model.TableCount) + ", STOLY=" + Number(n) + crlf;
    bytes += Number(model.TableCount) + tab + Number(n) + crlf;
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        bytes += "* KOMPLET " + Number(b) + tab + tab;
        bytes += model.PairsEvent ? QByteArrayLiteral("NS\tEW") : QByteArrayLiteral("N\tS\tW\tE");
        bytes += crlf;
        for (qint32 i = 1; i <= n; ++i) {
            const MovementEntry& entry = SectorEntry(model, o, b, i);
            bytes += Stated(entry.Table) + tab + Stated(entry.Round) + tab + '*' + tab + Number(entry.NS) + tab;
            if (!model.PairsEvent)
                bytes += Number(entry.South) + tab + Number(entry.West) + tab;
            bytes += Number(entry.EW) + crlf;
        }
    }
    return bytes;
}

void SavePattern(const QString& path, const TournamentModel& model, qint32 n, qint32 o)
{
    const QByteArray bytes = PatternBytes(model, n, o);
    SaveWholeFile(path, bytes, QStringLiteral("Nie można zapisać wzorca"));
}

bool LoadPattern(const QString& path, TournamentModel& model, qint32 n, qint32 o, Operator& messages)
{
    CheckSectorShape(model, n, o);
    TText text(path);
    const qint32 boardSets = text.ReadInt();
    const qint32 tables = text.ReadInt();
    if (boardSets != model.TableCount || tables != n) {
        messages.ShowInfo(uNapisy::ToNieJestWzorzec + QLatin1Char('\n') + uNapisy::TutajBaza
            + QString::number(boardSets) + uNapisy::StolowJest + QString::number(tables) + QLatin1Char('.'));
        return false;
    }
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        for (qint32 i = 1; i <= n; ++i) {
            MovementEntry& entry = SectorEntry(model, o, b, i);
            entry.Table = text.ReadInt();
            entry.Round = text.ReadInt();
        }
    }
    return true;
}

} // namespace kibic
