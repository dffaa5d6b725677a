// The command line of the rehearsal terminal server.
#pragma once

#include <QString>
#include <QStringList>

namespace kibic::terminals {

// What a run plays and how fast.
struct RehearsalOptions
{
    QString DatabaseFile; // from "/f:[FILE]"
    double RowsPerSecond = 1.0; // --rate
    quint64 Seed = 1; // --seed
    bool Once = false; // --once: every result at full speed, then exit
    int LastRound = 0; // --rounds K: stop after round K; 0 plays every round
    double EraseProbability = 0.02; // --erase
    double NotPlayedProbability = 0.01; // --not-played
    double SplitProbability = 0.01; // --split
    double MistakeRate = 0.0; // --mistakes: the probability of each kind of mistake on a row
    QString MistakesFile; // --mistakes-list; empty for the database's name with "-pomylki.txt"
};

// The range of --rate, in rows a second.
inline constexpr double kSlowestRate = 0.001;
inline constexpr double kFastestRate = 1000000.0;

struct ParsedRehearsalArguments
{
    bool Ok = false;
    RehearsalOptions Options;
    QString Error; // Polish, for the operator, when not Ok
};

// Reads the server's switches as the real terminal server takes them, "/f:[FILE] /s /r /m" (the file
// between the brackets may hold spaces, whether the switches come as one argument or several; other
// "/" switches are ignored), and this server's own options:
//   --rate ROWS_PER_SECOND  --seed N  --once  --rounds K  --erase P  --not-played P  --split P
//   --mistakes RATE  --mistakes-list FILE
// (each also as --name=value). An unknown "--" option, a missing or bad value, an option given twice, or
// no "/f:" is an error. Arguments that do not begin with "--" are the real server's switches, even where a
// piece of the file name split at a space begins with "-".
[[nodiscard]] ParsedRehearsalArguments ParseRehearsalArguments(const QStringList& arguments);

// The usage lines printed with a command-line error.
[[nodiscard]] QString RehearsalUsage();

} // namespace kibic::terminals
