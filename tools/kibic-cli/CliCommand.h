// The commands of kibic-cli: each command file registers itself under its name.
#pragma once

#include "CommandLine.h"

#include "common/KibicError.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace kibic::cli {

// Exit codes of every command.
enum ExitCode : int { ExitSuccess = 0, ExitFailure = 1, ExitUsage = 2 };

struct Command
{
    QString Name;
    QString Usage; // one line: the command's arguments
    std::function<int(const QStringList& arguments)> Run;
};

// A command line that cannot be right, whatever the files say (a bad option value): the message is printed
// and the command ends with ExitUsage.
class CliUsageError : public KibicError
{
public:
    using KibicError::KibicError;
};

// Adds a command to the table; used through KIBIC_CLI_COMMAND at namespace scope.
bool RegisterCommand(Command command);

// Standard output and error, UTF-8, each text followed by a line end.
void PrintLine(const QString& text);
void PrintError(const QString& text);

// Prints "użycie: kibic-cli USAGE" for the command and returns ExitUsage.
int UsageError(const QString& usage);

// Reads the command's arguments into commandLine. A command line that its options refuse raises
// CliUsageError with the reason and the line "użycie: kibic-cli USAGE".
void ReadCommandLine(tools::CommandLine& commandLine, const QStringList& arguments, const QString& usage);

} // namespace kibic::cli

#define KIBIC_CLI_CONCAT2(a, b) a##b
#define KIBIC_CLI_CONCAT(a, b) KIBIC_CLI_CONCAT2(a, b)
#define KIBIC_CLI_COMMAND(name, usage, function)                                                                       \
    static const bool KIBIC_CLI_CONCAT(kibicCliRegistered, __LINE__)                                                   \
        = ::kibic::cli::RegisterCommand({ QStringLiteral(name), QStringLiteral(usage), function })
