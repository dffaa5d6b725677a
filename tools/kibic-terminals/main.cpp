// kibic-terminals: the rehearsal terminal server, which plays a tournament's tables into its scoring
// database where the real terminal server is absent.
#include "RehearsalOptions.h"
#include "RehearsalServer.h"

#include "platform/Console.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t g_stopRequests = 0;

extern "C" void RequestStop(int)
{
    if (g_stopRequests < 2)
        g_stopRequests = g_stopRequests + 1;
}

void Write(FILE* stream, const QString& text)
{
    kibic::WriteTextLine(stream, text);
}

} // namespace

int main(int argc, char* argv[])
{
    kibic::PrepareStandardStreams();
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const kibic::terminals::ParsedRehearsalArguments parsed = kibic::terminals::ParseRehearsalArguments(arguments);
    if (!parsed.Ok) {
        Write(stderr, parsed.Error);
        Write(stderr, kibic::terminals::RehearsalUsage());
        return 2;
    }

    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);

    kibic::terminals::RehearsalServer server(
        parsed.Options, [] { return static_cast<int>(g_stopRequests); },
        [](const QString& line) { Write(stdout, line); }, [](const QString& line) { Write(stderr, line); });
    return server.Run();
}
