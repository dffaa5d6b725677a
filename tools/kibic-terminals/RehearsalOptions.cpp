// Parsing the rehearsal terminal server's command line.
#include "RehearsalOptions.h"

#include "CommandLine.h"
#include "PlantedMistakes.h"

#include "common/KibicError.h"

#include <array>
#include <cmath>

namespace kibic::terminals {

namespace {

bool ReadProbability(const QString& text, double& into)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0.0 || value > 1.0)
        return false;
    into = value;
    return true;
}

} // namespace

QString RehearsalUsage()
{
    return QStringLiteral(
        "użycie: kibic-terminals /f:[PLIK.bws] [/s] [/r] [/m] [--rate WIERSZY_NA_SEKUNDĘ] [--seed N] [--once]\n"
        "                        [--rounds K] [--erase P] [--not-played P] [--split P]\n"
        "                        [--mistakes P] [--mistakes-list PLIK]\n"
        "  --rate        ile wierszy ReceivedData na sekundę (domyślnie 1)\n"
        "  --seed        ziarno losowania; to samo ziarno i te same opcje dają te same wiersze (domyślnie 1)\n"
        "  --once        wszystkie wyniki od razu, bez czekania, potem koniec\n"
        "  --rounds      koniec po rundzie K\n"
        "  --erase       prawdopodobieństwo skreślenia wyniku (0..1, domyślnie 0.02)\n"
        "  --not-played  prawdopodobieństwo uwagi \"Not played\" (0..1, domyślnie 0.01)\n"
        "  --split       prawdopodobieństwo wyniku dzielonego, np. \"60%-40%\" (0..1, domyślnie 0.01)\n"
        "  --mistakes    prawdopodobieństwo każdej z pomyłek przy wpisywaniu wyniku (0..0.15, domyślnie 0):\n"
        "                strona rozgrywającego, rozgrywający w parze, lewy, rozdanie, pary, wynik odstający\n"
        "  --mistakes-list  plik z listą wpisanych pomyłek (domyślnie PLIK-pomylki.txt obok bazy)");
}

ParsedRehearsalArguments ParseRehearsalArguments(const QStringList& arguments)
{
    ParsedRehearsalArguments parsed;
    auto fail = [&](const QString& error) {
        parsed.Ok = false;
        parsed.Error = error;
        return parsed;
    };

    tools::CommandLine commandLine { { QStringLiteral("rate"), QStringLiteral("WIERSZY_NA_SEKUNDĘ") },
        { QStringLiteral("seed"), QStringLiteral("N") }, { QStringLiteral("once"), QString() },
        { QStringLiteral("rounds"), QStringLiteral("K") }, { QStringLiteral("erase"), QStringLiteral("P") },
        { QStringLiteral("not-played"), QStringLiteral("P") }, { QStringLiteral("split"), QStringLiteral("P") },
        { QStringLiteral("mistakes"), QStringLiteral("P") }, { QStringLiteral("mistakes-list"), QStringLiteral("PLIK") } };
    if (!commandLine.Parse(arguments))
        return fail(commandLine.Error());

    RehearsalOptions& o = parsed.Options;
    bool ok = false;
    if (const auto value = commandLine.Value(QStringLiteral("rate"))) {
        const double rate = value->toDouble(&ok);
        if (!ok || !std::isfinite(rate) || rate < kSlowestRate || rate > kFastestRate)
            return fail(
                QStringLiteral("Tempo --rate musi być liczbą od 0.001 do 1000000 wierszy na sekundę, a jest \"%1\".")
                    .arg(QuotedValue(*value)));
        o.RowsPerSecond = rate;
    }
    if (const auto value = commandLine.Value(QStringLiteral("seed"))) {
        const quint64 seed = value->toULongLong(&ok);
        if (!ok)
            return fail(QStringLiteral("Ziarno --seed musi być liczbą całkowitą nieujemną, a jest \"%1\".")
                            .arg(QuotedValue(*value)));
        o.Seed = seed;
    }
    o.Once = commandLine.IsSet(QStringLiteral("once"));
    if (const auto value = commandLine.Value(QStringLiteral("rounds"))) {
        const int rounds = value->toInt(&ok);
        if (!ok || rounds < 1)
            return fail(QStringLiteral("Liczba rund --rounds musi być liczbą całkowitą od 1, a jest \"%1\".")
                            .arg(QuotedValue(*value)));
        o.LastRound = rounds;
    }
    const std::array<std::pair<QString, double*>, 3> probabilities = {
        { { QStringLiteral("erase"), &o.EraseProbability }, { QStringLiteral("not-played"), &o.NotPlayedProbability },
            { QStringLiteral("split"), &o.SplitProbability } }
    };
    for (const auto& [name, into] : probabilities) {
        const auto value = commandLine.Value(name);
        if (value && !ReadProbability(*value, *into))
            return fail(QStringLiteral("Prawdopodobieństwo --%1 musi być liczbą od 0 do 1, a jest \"%2\".")
                            .arg(name, QuotedValue(*value)));
    }
    if (const auto value = commandLine.Value(QStringLiteral("mistakes"))) {
        if (!ReadProbability(*value, o.MistakeRate) || o.MistakeRate > kLargestMistakeRate)
            return fail(QStringLiteral("Prawdopodobieństwo --mistakes musi być liczbą od 0 do 0.15, a jest \"%1\".")
                            .arg(QuotedValue(*value)));
    }
    if (const auto value = commandLine.Value(QStringLiteral("mistakes-list"))) {
        if (value->trimmed().isEmpty())
            return fail(QStringLiteral("Plik listy pomyłek --mistakes-list nie może mieć pustej nazwy."));
        o.MistakesFile = *value;
    }

    // The real server's switches: "/f:[" file "]" and single-letter switches, which are ignored. The
    // file name may hold spaces (and the switches may come split at them), so the text is taken whole:
    // the name runs from "/f:[" to the last "]" that ends the text or stands before a blank (a folder may
    // be called "Puchar] Lata"; the switches after the name hold no bracket).
    const QString text = commandLine.Positional().join(QLatin1Char(' '));
    const qsizetype start = text.indexOf(QStringLiteral("/f:"), 0, Qt::CaseInsensitive);
    if (start < 0)
        return fail(QStringLiteral("Brak pliku bazy: podaj go jako /f:[PLIK.bws]."));
    const qsizetype nameStart = start + 3;
    QString file;
    if (nameStart < text.size() && text[nameStart] == QLatin1Char('[')) {
        qsizetype end = -1;
        for (qsizetype i = text.size() - 1; i > nameStart; --i) {
            if (text[i] == QLatin1Char(']') && (i + 1 == text.size() || text[i + 1].isSpace())) {
                end = i;
                break;
            }
        }
        if (end < 0)
            return fail(QStringLiteral("Nazwa pliku bazy po /f:[ nie jest zamknięta nawiasem \"]\"."));
        file = text.mid(nameStart + 1, end - nameStart - 1);
    } else {
        qsizetype end = nameStart;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        file = text.mid(nameStart, end - nameStart);
    }
    if (file.trimmed().isEmpty())
        return fail(QStringLiteral("Brak pliku bazy: podaj go jako /f:[PLIK.bws]."));
    o.DatabaseFile = file;
    parsed.Ok = true;
    return parsed;
}

} // namespace kibic::terminals
