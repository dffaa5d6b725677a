// kibic-cli check: the results that reached ZyRT through this copy, checked against the field, the deals and the
// movement, one line a suspicious result. Nothing is written: the director decides what to correct.
#include "CliCommand.h"

#include "deals/SessionDeals.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uOpenBWS.h"
#include "transfer/Polling.h"
#include "transfer/ResultsCheck.h"

#include <QFileInfo>
#include <algorithm>
#include <tuple>

namespace kibic::cli {

namespace {

const QString kCheckUsage = QStringLiteral("check BAZA [--column 0..4]");

// The line of a finding, tab-separated: section letter, table, round, board, kind, reason, proposed
// correction (empty when no one correction explains it).
QString FindingLine(const ResultFinding& finding)
{
    return QStringList { QString(QChar(char16_t(u'A' + finding.Section - 1))), QString::number(finding.Table),
        QString::number(finding.Round), QString::number(finding.Board), FindingKindWord(finding.Kind),
        finding.Reason, finding.ProposedNotation }
        .join(QLatin1Char('\t'));
}

// A failure to read the database: apart from exit 1, which says that there are findings.
constexpr int kCheckFailed = 3;

std::vector<ResultFinding> FindingsOf(const QString& file, const TournamentModel& given)
{
    if (!QFileInfo::exists(file))
        throw KibicError(QStringLiteral("Nie ma pliku bazy danych %1.").arg(file));
    const DatabaseHold hold(ScoringConnectionString(file));
    TournamentModel model = given;
    ReadTournamentOfDatabase(model, file);
    model.GridTableCount = model.SectionCount * model.TableCount + model.ExtraTableCount;
    const SessionDeals deals = ReadSessionDeals(file);
    TTable recTable(ScoringConnectionString(file), QStringLiteral("ReceivedData"));
    TTable rdaTable(ScoringConnectionString(file), QStringLiteral("RoundData"));
    MemoryGrid grid(model.BoardCount + 1, model.GridTableCount + 1, true);
    RefreshGrid(model, recTable, rdaTable, grid, &deals);

    std::vector<ResultFinding> findings;
    for (int row = 1; row < grid.RowCount(); ++row) {
        for (int column = 1; column < grid.ColumnCount(); ++column) {
            const CellEntry* entry = grid.EntryAt(column, row);
            if (entry && entry->State == CellEntry::Why::Transferred && entry->Suspicion)
                findings.push_back(*entry->Suspicion);
        }
    }
    std::sort(findings.begin(), findings.end(), [](const ResultFinding& a, const ResultFinding& b) {
        return std::tie(a.Section, a.Table, a.Round, a.Board) < std::tie(b.Section, b.Table, b.Round, b.Board);
    });
    return findings;
}

// Exit 0 when nothing is suspicious, 1 when something is, 3 when the database cannot be read.
int Check(const QStringList& given)
{
    tools::CommandLine commandLine({ { QStringLiteral("column"), QStringLiteral("N") } });
    ReadCommandLine(commandLine, given, kCheckUsage);
    if (commandLine.Positional().size() != 1)
        return UsageError(kCheckUsage);
    TournamentModel model;
    model.ScoringKind = 2;
    model.CellClicked = true;
    if (const auto column = commandLine.Value(QStringLiteral("column"))) {
        bool ok = false;
        model.ProcessedColumnNo = column->toInt(&ok);
        if (!ok || model.ProcessedColumnNo < 0 || model.ProcessedColumnNo > 4)
            return UsageError(kCheckUsage);
    }
    const QString file = QFileInfo(commandLine.Positional().front()).absoluteFilePath();
    std::vector<ResultFinding> findings;
    try {
        findings = FindingsOf(file, model);
    } catch (const KibicError& error) {
        PrintError(error.Message());
        return kCheckFailed;
    }
    for (const ResultFinding& finding : findings)
        PrintLine(FindingLine(finding));
    return findings.empty() ? ExitSuccess : ExitFailure;
}

} // namespace

KIBIC_CLI_COMMAND("check", "check BAZA [--column 0..4]", Check);

} // namespace kibic::cli
