// kibic-cli ids: "Czytaj identyfikatory" on the tournament beside a scoring database, without a window.
#include "CliCommand.h"

#include "common/KibicError.h"
#include "players/ReadIdentifiers.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uOpenBWS.h"
#include "shell/MainWindowStartup.h"
#include "tournament/TournamentFiles.h"

#include <QDir>
#include <QFileInfo>

namespace kibic::cli {

namespace {

const QString kUsage = QStringLiteral("ids PLIK.bws --cezar|--names-file [--yes]");

// Every message the program would show goes to standard error as one line, in order; the overwrite
// questions are answered "&Tak" with --yes and "&Nie" without.
class CliOperator : public Operator
{
public:
    explicit CliOperator(bool overwrite)
        : m_overwrite(overwrite)
    {
    }

    ModalResult ShowMessageDialog(const QString& text, DialogKind kind, DialogButtons buttons) override
    {
        (void)kind;
        (void)buttons;
        PrintError(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        return ModalResult::Ok;
    }

    ModalResult Ask(Question question, const QString& text) override
    {
        (void)ShowMessageDialog(text, DialogKind::Confirm, YesNoQuestion);
        return question == Question::Overwrite && m_overwrite ? ModalResult::Yes : ModalResult::No;
    }

    void ShowError(const QString& text) override { PrintError(text); }

private:
    bool m_overwrite;
};

int RunIds(const QStringList& arguments)
{
    tools::CommandLine commandLine { { QStringLiteral("cezar"), QString() },
        { QStringLiteral("names-file"), QString() }, { QStringLiteral("yes"), QString() } };
    ReadCommandLine(commandLine, arguments, kUsage);
    const QStringList& files = commandLine.Positional();
    const bool cezar = commandLine.IsSet(QStringLiteral("cezar"));
    const bool overwrite = commandLine.IsSet(QStringLiteral("yes"));
    if (files.size() != 1 || cezar == commandLine.IsSet(QStringLiteral("names-file")))
        return UsageError(kUsage);

    // The questions name the lists by their full path, as the window does.
    const QString fileName = QFileInfo(files.front()).absoluteFilePath();
    const QString connectionString = ScoringConnectionString(fileName);
    // One connection for the whole command; a missing file, or one that is no scoring database, ends the
    // command here.
    const DatabaseHold hold(connectionString);
    (void)ConnectionTo(connectionString);
    TournamentModel model;
    ReadTournamentOfDatabase(model, fileName);
    model.NamesDatabasePath = ReadCompanionPaths().NamesDatabasePath;
    model.MemberNumbers = true;

    CliOperator op(overwrite);
    const IdentifierListsOutcome outcome = ReadIdentifiers(model, cezar, op);
    for (const ListFileResult& list : outcome.Lists) {
        const QString name = QDir::toNativeSeparators(list.FileName);
        PrintLine(list.Written ? QStringLiteral("Zapisano %1.").arg(name)
                               : QStringLiteral("Plik %1 pozostawiono bez zmian (--yes go nadpisuje).").arg(name));
    }
    return ExitSuccess;
}

} // namespace

KIBIC_CLI_COMMAND("ids", "ids PLIK.bws --cezar|--names-file [--yes]", RunIds);

} // namespace kibic::cli
