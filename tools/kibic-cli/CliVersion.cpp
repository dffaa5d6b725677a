// kibic-cli version: the program's version line, as the start-up window shows it.
#include "CliCommand.h"

#include "shell/FileV.h"

namespace kibic::cli {

namespace {

int RunVersion(const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return UsageError(QStringLiteral("version"));
    PrintLine(SplashVersionLine(QStringLiteral("kibic"), RunningProgramVersion()));
    return ExitSuccess;
}

} // namespace

KIBIC_CLI_COMMAND("version", "version", RunVersion);

} // namespace kibic::cli
