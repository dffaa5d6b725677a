// kibic-cli: the headless face of Kibic's logic, for scripts, checks and tests.
#include "CliCommand.h"

#include "common/KibicError.h"

#include "platform/Console.h"

#include <QCoreApplication>
#include <cstdio>
#include <map>

namespace kibic::cli {

namespace {

std::map<QString, Command>& Commands()
{
    static std::map<QString, Command> commands;
    return commands;
}

void Write(FILE* stream, const QString& text)
{
    kibic::WriteTextLine(stream, text);
}

int PrintCommandList()
{
    PrintError(QStringLiteral("użycie: kibic-cli POLECENIE [ARGUMENTY]"));
    for (const auto& [name, command] : Commands())
        PrintError(QStringLiteral("  kibic-cli ") + command.Usage);
    return ExitUsage;
}

// Qt's ODBC driver warns of every statement that fails; a statement the database layer tries again
// while the other program holds the file would fill the console with them, and a failure that stays
// reaches the operator as the command's own message.
QtMessageHandler g_qtMessageHandler = nullptr;

void DropDriverWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QODBCResult::")))
        return;
    if (g_qtMessageHandler)
        g_qtMessageHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}

} // namespace

bool RegisterCommand(Command command)
{
    const QString name = command.Name;
    Commands()[name] = std::move(command);
    return true;
}

void PrintLine(const QString& text)
{
    Write(stdout, text);
}

void PrintError(const QString& text)
{
    Write(stderr, text);
}

int UsageError(const QString& usage)
{
    PrintError(QStringLiteral("użycie: kibic-cli ") + usage);
    return ExitUsage;
}

void ReadCommandLine(tools::CommandLine& commandLine, const QStringList& arguments, const QString& usage)
{
    if (!commandLine.Parse(arguments))
        throw CliUsageError(commandLine.Error() + QStringLiteral("\nużycie: kibic-cli ") + usage);
}

} // namespace kibic::cli

int main(int argc, char* argv[])
{
    using namespace kibic::cli;
    kibic::PrepareStandardStreams();
    QCoreApplication application(argc, argv);
    g_qtMessageHandler = qInstallMessageHandler(DropDriverWarnings);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.isEmpty())
        return PrintCommandList();
    const QString name = arguments.takeFirst();
    const auto found = Commands().find(name);
    if (found == Commands().end())
        return PrintCommandList();
    try {
        return found->second.Run(arguments);
    } catch (const CliUsageError& error) {
        PrintError(error.Message());
        return ExitUsage;
    } catch (const kibic::KibicError& error) {
        PrintError(error.Message());
        return ExitFailure;
    } catch (const std::exception& error) {
        PrintError(QString::fromUtf8(error.what()));
        return ExitFailure;
    }
}
