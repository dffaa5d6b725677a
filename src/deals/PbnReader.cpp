// Reading the deals of a PBN file.
#include "deals/PbnReader.h"

#include "common/KibicError.h"
#include "tournament/Cp1250.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

namespace kibic {

namespace {

// The tags of one game, by name in capitals; where the game starts in the file, for the messages.
struct Game
{
    QHash<QString, QString> Tags;
    int FirstLine = 0;
};

[[noreturn]] void Refuse(const QString& fileName, const QString& where, const QString& what)
{
    throw KibicError(QStringLiteral("Plik rozkładów %1, %2: %3").arg(QFileInfo(fileName).fileName(), where, what));
}

// The line without its commentary: ";" to the end of the line, and what "{" ... "}" encloses (inComment
// carries a "{" over line ends). Text between quotes is kept as it is.
QString WithoutCommentary(const QString& line, bool& inComment)
{
    QString kept;
    bool quoted = false;
    for (const QChar c : line) {
        if (inComment) {
            if (c == u'}')
                inComment = false;
            continue;
        }
        if (c == u'"')
            quoted = !quoted;
        if (!quoted && c == u';')
            break;
        if (!quoted && c == u'{') {
            inComment = true;
            continue;
        }
        kept += c;
    }
    return kept;
}

std::vector<Game> GamesOf(const QString& text)
{
    static const QRegularExpression tag(QStringLiteral("\\[\\s*([A-Za-z0-9_]+)\\s+\"([^\"]*)\"\\s*\\]"));
    std::vector<Game> games;
    Game current;
    auto finish = [&] {
        if (!current.Tags.isEmpty())
            games.push_back(current);
        current = Game {};
    };
    bool inComment = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int number = 1; number <= lines.size(); ++number) {
        const QString& raw = lines[number - 1];
        if (!inComment && raw.startsWith(QLatin1Char('%')))
            continue;
        const QString line = WithoutCommentary(raw, inComment).trimmed();
        if (line.isEmpty()) {
            if (!inComment && raw.trimmed().isEmpty())
                finish();
            continue;
        }
        for (auto match = tag.globalMatch(line); match.hasNext();) {
            const QRegularExpressionMatch found = match.next();
            const QString name = found.captured(1).toUpper();
            if (current.Tags.contains(name))
                finish();
            if (current.Tags.isEmpty())
                current.FirstLine = number;
            current.Tags.insert(name, found.captured(2).trimmed());
        }
    }
    finish();
    return games;
}

std::optional<Holding> HoldingOfPbn(QString text)
{
    if (text == QStringLiteral("-"))
        return Holding { 0 };
    text.replace(QStringLiteral("10"), QStringLiteral("T"));
    return HoldingOfText(text);
}

// The hands of a Deal value into the deal; empty when it is read, else what is wrong.
QString ReadHands(const QString& value, Deal& deal)
{
    const QString trimmed = value.trimmed();
    const std::optional<Seat> first
        = trimmed.size() >= 2 && trimmed[1] == u':' ? SeatOfLetter(trimmed[0].toUpper()) : std::nullopt;
    if (!first)
        return QStringLiteral("rozkład \"%1\" nie zaczyna się od ręki (N:, E:, S: lub W:)").arg(QuotedValue(trimmed));
    const QStringList hands = trimmed.mid(2).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (hands.size() != 4)
        return QStringLiteral("rozkład nie ma czterech rąk (jest ich %1)").arg(hands.size());
    Seat seat = *first;
    for (const QString& hand : hands) {
        const QStringList suits = hand.split(QLatin1Char('.'));
        if (suits.size() != 4)
            return QStringLiteral("ręka %1 \"%2\" nie ma czterech kolorów").arg(SeatLetter(seat), QuotedValue(hand));
        for (int i = 0; i < 4; ++i) {
            const std::optional<Holding> holding = HoldingOfPbn(suits[i]);
            if (!holding)
                return QStringLiteral("ręka %1: \"%2\" to nie są karty jednego koloru")
                    .arg(SeatLetter(seat), QuotedValue(suits[i]));
            deal.Holdings[IndexOf(seat)][IndexOf(kSuits[i])] = *holding;
        }
        seat = NextSeat(seat);
    }
    return DealProblem(deal);
}

std::optional<Vulnerability> VulnerabilityOf(const QString& value)
{
    const QString upper = value.toUpper();
    if (upper == QStringLiteral("NONE") || upper == QStringLiteral("LOVE") || upper == QStringLiteral("-"))
        return Vulnerability::None;
    if (upper == QStringLiteral("NS"))
        return Vulnerability::NorthSouth;
    if (upper == QStringLiteral("EW"))
        return Vulnerability::EastWest;
    if (upper == QStringLiteral("ALL") || upper == QStringLiteral("BOTH"))
        return Vulnerability::Both;
    return std::nullopt;
}

Deal DealOf(const Game& game, const QString& fileName)
{
    const QString where = QStringLiteral("rozdanie z wiersza %1").arg(game.FirstLine);
    bool ok = false;
    Deal deal;
    deal.Board = game.Tags.value(QStringLiteral("BOARD")).toInt(&ok);
    if (!ok || deal.Board < 1)
        Refuse(fileName, where, QStringLiteral("brak numeru rozdania ([Board])"));
    const QString board = QStringLiteral("rozdanie %1").arg(deal.Board);
    deal.Dealer = StandardDealer(deal.Board);
    if (const QString dealer = game.Tags.value(QStringLiteral("DEALER")); !dealer.isEmpty()) {
        const std::optional<Seat> seat = dealer.size() == 1 ? SeatOfLetter(dealer[0].toUpper()) : std::nullopt;
        if (!seat)
            Refuse(fileName, board, QStringLiteral("nieznany rozdający \"%1\"").arg(QuotedValue(dealer)));
        deal.Dealer = *seat;
    }
    deal.Vulnerable = StandardVulnerability(deal.Board);
    if (const QString vulnerable = game.Tags.value(QStringLiteral("VULNERABLE")); !vulnerable.isEmpty()) {
        const std::optional<Vulnerability> known = VulnerabilityOf(vulnerable);
        if (!known)
            Refuse(fileName, board, QStringLiteral("nieznane założenia \"%1\"").arg(QuotedValue(vulnerable)));
        deal.Vulnerable = *known;
    }
    if (const QString problem = ReadHands(game.Tags.value(QStringLiteral("DEAL")), deal); !problem.isEmpty())
        Refuse(fileName, board, problem);
    return deal;
}

} // namespace

QString PbnText(const QByteArray& bytes)
{
    static const QByteArray byteOrderMark("\xEF\xBB\xBF");
    if (bytes.startsWith(byteOrderMark))
        return QString::fromUtf8(bytes.mid(byteOrderMark.size()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? FromCp1250(bytes) : text;
}

std::vector<Deal> ParsePbn(const QByteArray& bytes, const QString& fileName)
{
    QString text = PbnText(bytes);
    text.remove(QLatin1Char('\r'));
    std::vector<Deal> deals;
    QSet<qint32> boards;
    for (const Game& game : GamesOf(text)) {
        if (!game.Tags.contains(QStringLiteral("DEAL")))
            continue;
        Deal deal = DealOf(game, fileName);
        if (boards.contains(deal.Board))
            Refuse(
                fileName, QStringLiteral("rozdanie %1").arg(deal.Board), QStringLiteral("numer rozdania powtarza się"));
        boards.insert(deal.Board);
        deals.push_back(deal);
    }
    if (deals.empty())
        throw KibicError(QStringLiteral("Plik rozkładów %1 nie zawiera żadnego rozdania ([Deal]).")
                             .arg(QFileInfo(fileName).fileName()));
    return deals;
}

std::vector<Deal> ReadPbnFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw KibicError(QStringLiteral("Nie można otworzyć pliku rozkładów %1: %2").arg(fileName, file.errorString()));
    return ParsePbn(file.readAll(), fileName);
}

} // namespace kibic
