// kibic-cli score: the duplicate score of one result from North-South's side, or of many read from stdin.
#include "CliCommand.h"

#include "common/KibicError.h"
#include "transfer/uScoreProvider.h"

#include <QTextStream>
#include <cstdio>

namespace kibic::cli {

namespace {

const QString ScoreUsage
    = QStringLiteral("score ROZDANIE WYNIK TEKST | score - (wiersze ROZDANIE<TAB>WYNIK<TAB>TEKST)");

bool ReadInteger(const QString& text, int& value)
{
    bool isNumber = false;
    value = text.toInt(&isNumber);
    return isNumber;
}

int ScoreLines(const TScoreProvider& scorer)
{
    QTextStream input(stdin);
    int lineNumber = 0;
    QString line;
    while (input.readLineInto(&line)) {
        ++lineNumber;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const qsizetype firstTab = line.indexOf(QLatin1Char('\t'));
        const qsizetype secondTab = firstTab < 0 ? -1 : line.indexOf(QLatin1Char('\t'), firstTab + 1);
        int board = 0;
        int result = 0;
        if (secondTab < 0 || !ReadInteger(line.left(firstTab), board)
            || !ReadInteger(line.mid(firstTab + 1, secondTab - firstTab - 1), result))
            throw KibicError(
                QStringLiteral("Wiersz %1 wejścia: oczekiwano ROZDANIE<TAB>WYNIK<TAB>TEKST.").arg(lineNumber));
        PrintLine(QString::number(scorer.ContractScore(board, result, line.mid(secondTab + 1))));
    }
    return ExitSuccess;
}

int RunScore(const QStringList& arguments)
{
    const TScoreProvider scorer;
    if (arguments.size() == 1 && arguments.front() == u"-")
        return ScoreLines(scorer);
    // The text may come as several arguments ("4 S x" "N"): they are one text, spaces do not count.
    int board = 0;
    int result = 0;
    if (arguments.size() < 3 || !ReadInteger(arguments.at(0), board) || !ReadInteger(arguments.at(1), result))
        return UsageError(ScoreUsage);
    PrintLine(QString::number(scorer.ContractScore(board, result, arguments.mid(2).join(QLatin1Char(' ')))));
    return ExitSuccess;
}

} // namespace

KIBIC_CLI_COMMAND("score", "score ROZDANIE WYNIK TEKST | score - (wiersze ROZDANIE<TAB>WYNIK<TAB>TEKST)", RunScore);

} // namespace kibic::cli
