// Reading PBN files: the deals of a file written by the dealing program `dealer`, the hands of a deal into
// the HandRecord texts, the encodings and line ends a file may have, and the deals refused.
#include "common/KibicError.h"
#include "deals/PbnReader.h"
#include "tournament/Cp1250.h"

#include <QFile>
#include <QTest>

using namespace kibic;

namespace {

QByteArray ReadData(const QString& name)
{
    QFile file(QStringLiteral(KIBIC_TEST_DATA_DIR "/deals/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no test file %s", qPrintable(name));
    return file.readAll();
}

// A game of two boards with other tags, commentary and a line that PBN reserves for escapes.
const QString kTwoBoards
    = QStringLiteral("% PBN 2.1\n"
                     "[Event \"Turniej w Łodzi – ćwiczenia\"]\n"
                     "[Board \"7\"]\n"
                     "[Dealer \"S\"]\n"
                     "[Vulnerable \"All\"]\n"
                     "{ Rozdanie z komentarzem: źle licytowane }\n"
                     "[Deal \"E:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"] ; pełny kolor\n"
                     "[Contract \"7S\"]\n"
                     "\n"
                     "[Board \"8\"]\n"
                     "[Dealer \"W\"]\n"
                     "[Vulnerable \"None\"]\n"
                     "[Deal \"N:QJ6.K652.J85.T98 873.J97.AT764.Q4 K5.T83.KQ9.A7652 AT942.AQ4.32.KJ3\"]\n");

QString HandsOf(const Deal& deal)
{
    QStringList hands;
    for (const Seat seat : kSeats) {
        QStringList suits;
        for (const Suit suit : kSuits)
            suits.append(HoldingText(deal.HoldingOf(seat, suit)));
        hands.append(SeatLetter(seat) + QLatin1Char(' ') + suits.join(QLatin1Char('.')));
    }
    return hands.join(QLatin1Char(' '));
}

} // namespace

class TestPbnReader : public QObject
{
    Q_OBJECT

private slots:
    // dealer's one-line print of each deal ("n AKQ.. e .. s .. w ..") beside its PBN print: the sixteen
    // texts read from the PBN are those of the other print, board by board.
    void dealsOfTheDealingProgram()
    {
        const std::vector<Deal> deals
            = ParsePbn(ReadData(QStringLiteral("dealer-40.pbn")), QStringLiteral("dealer-40.pbn"));
        const QStringList lines = QString::fromLatin1(ReadData(QStringLiteral("dealer-40.oneline")))
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(deals.size(), std::size_t(40));
        QCOMPARE(lines.size(), 40);
        for (std::size_t i = 0; i < deals.size(); ++i) {
            QCOMPARE(deals[i].Board, qint32(i + 1));
            QCOMPARE(deals[i].Dealer, StandardDealer(deals[i].Board));
            QCOMPARE(deals[i].Vulnerable, StandardVulnerability(deals[i].Board));
            QCOMPARE(HandsOf(deals[i]), lines[static_cast<int>(i)].trimmed().toUpper());
        }
    }

    // The first hand of the Deal tag is the one it names: "E:" gives East the first hand, the others follow
    // clockwise; each hand holds all thirteen cards of one suit.
    void handsFromTheNamedSeat()
    {
        const std::vector<Deal> deals = ParsePbn(kTwoBoards.toUtf8(), QStringLiteral("a.pbn"));
        QCOMPARE(deals.size(), std::size_t(2));
        const Deal& board7 = deals[0];
        QCOMPARE(board7.Board, 7);
        QCOMPARE(board7.Dealer, Seat::South);
        QCOMPARE(board7.Vulnerable, Vulnerability::Both);
        QCOMPARE(HandsOf(board7),
            QStringLiteral("N ...AKQJT98765432 E AKQJT98765432... S .AKQJT98765432.. W ..AKQJT98765432."));
        QCOMPARE(board7.HolderOf({ Suit::Clubs, 2 }), std::optional<Seat>(Seat::North));
        QCOMPARE(board7.HighCardPoints(Seat::East), 10);
        QCOMPARE(deals[1].Board, 8);
        QCOMPARE(deals[1].Dealer, Seat::West);
        QCOMPARE(HandsOf(deals[1]).left(20), QStringLiteral("N QJ6.K652.J85.T98 E"));
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray utf8 = kTwoBoards.toUtf8();
        QByteArray crlf = utf8;
        crlf.replace("\n", "\r\n");
        QTest::newRow("UTF-8") << utf8;
        QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("\xEF\xBB\xBF") + utf8;
        QTest::newRow("Windows-1250") << ToCp1250(kTwoBoards);
        QTest::newRow("Windows-1250, CRLF") << ToCp1250(kTwoBoards).replace("\n", "\r\n");
        QTest::newRow("UTF-8, CRLF, mark") << QByteArray("\xEF\xBB\xBF") + crlf;
    }

    // Whatever the encoding and the line ends, the same deals, and the text decoded as it was written.
    void encodings()
    {
        QFETCH(QByteArray, bytes);
        const std::vector<Deal> expected = ParsePbn(kTwoBoards.toUtf8(), QStringLiteral("a.pbn"));
        QCOMPARE(ParsePbn(bytes, QStringLiteral("a.pbn")), expected);
        QVERIFY(PbnText(bytes).contains(QStringLiteral("Turniej w Łodzi – ćwiczenia")));
    }

    void refused_data()
    {
        QTest::addColumn<QString>("deal");
        QTest::addColumn<QString>("message");
        const QString board = QStringLiteral("[Board \"5\"]\n[Dealer \"N\"]\n[Vulnerable \"NS\"]\n");
        QTest::newRow("a card twice") << board
                + QStringLiteral("[Deal \"N:QJ6.K652.J85.T98 873.J97.AT764.Q4 K5.T83.KQ9.A7652 AT942.AQ4.32.KJ8\"]\n")
                                      << QStringLiteral(
                                             "Plik rozkładów z.pbn, rozdanie 5: karta ♣8 w kilku rękach (N i W)");
        QTest::newRow("12 cards") << board
                + QStringLiteral("[Deal \"N:QJ6.K652.J85.T98 873.J97.AT764.Q4 K5.T83.KQ9.A7652 AT942.AQ4.32.KJ\"]\n")
                                  << QStringLiteral("Plik rozkładów z.pbn, rozdanie 5: ręka W ma 12 kart zamiast 13");
        QTest::newRow("three hands")
            << board + QStringLiteral("[Deal \"N:QJ6.K652.J85.T98 873.J97.AT764.Q4 K5.T83.KQ9.A7652\"]\n")
            << QStringLiteral("Plik rozkładów z.pbn, rozdanie 5: rozkład nie ma czterech rąk (jest ich 3)");
        QTest::newRow("no first seat") << board
                + QStringLiteral("[Deal \"QJ6.K652.J85.T98 873.J97.AT764.Q4 K5.T83.KQ9.A7652 AT942.AQ4.32.KJ3\"]\n")
                                       << QStringLiteral(
                                              "Plik rozkładów z.pbn, rozdanie 5: rozkład \"QJ6.K652.J85.T98 "
                                              "873.J97.AT764.Q4 K5.T83…\" nie zaczyna się od ręki (N:, E:, S: lub W:)");
        QTest::newRow("not a card")
            << board
                + QStringLiteral("[Deal \"N:QJ6.K652.J85.T9X 873.J97.AT764.Q4 K5.T83.KQ9.A7652 AT942.AQ4.32.KJ3\"]\n")
            << QStringLiteral("Plik rozkładów z.pbn, rozdanie 5: ręka N: \"T9X\" to nie są karty jednego koloru");
        QTest::newRow("unknown vulnerability")
            << QStringLiteral("[Board \"5\"]\n[Vulnerable \"Maybe\"]\n[Deal \"N:QJ6.K652.J85.T98 873.J97.AT764.Q4 "
                              "K5.T83.KQ9.A7652 AT942.AQ4.32.KJ3\"]\n")
            << QStringLiteral("Plik rozkładów z.pbn, rozdanie 5: nieznane założenia \"Maybe\"");
        QTest::newRow("no board number")
            << QStringLiteral(
                   "[Event \"x\"]\n[Deal \"N:QJ6.K652.J85.T98 873.J97.AT764.Q4 K5.T83.KQ9.A7652 AT942.AQ4.32.KJ3\"]\n")
            << QStringLiteral("Plik rozkładów z.pbn, rozdanie z wiersza 1: brak numeru rozdania ([Board])");
        QTest::newRow("a board twice") << kTwoBoards
                + QStringLiteral("\n[Board \"8\"]\n[Deal \"N:QJ6.K652.J85.T98 873.J97.AT764.Q4 K5.T83.KQ9.A7652 "
                                 "AT942.AQ4.32.KJ3\"]\n")
                                       << QStringLiteral(
                                              "Plik rozkładów z.pbn, rozdanie 8: numer rozdania powtarza się");
        QTest::newRow("no deal at all") << QStringLiteral("[Event \"x\"]\n[Board \"1\"]\n")
                                        << QStringLiteral(
                                               "Plik rozkładów z.pbn nie zawiera żadnego rozdania ([Deal]).");
    }

    // A bad file is refused whole, with a message that names the file and the board.
    void refused()
    {
        QFETCH(QString, deal);
        QFETCH(QString, message);
        try {
            (void)ParsePbn(deal.toUtf8(), QStringLiteral("/tmp/z.pbn"));
            QFAIL("the file was accepted");
        } catch (const KibicError& error) {
            QCOMPARE(error.Message(), message);
        }
    }

    // Voids written "-", tens written "10", tags in small letters, no Dealer or Vulnerable tag (the board's
    // standard rotation then).
    void lenientSpellings()
    {
        const QString text = QStringLiteral("[board \"3\"]\n[deal \"S:AKQJ1098765432.-.-.- -.AKQJ1098765432.-.- "
                                            "-.-.AKQJ1098765432.- -.-.-.AKQJ1098765432\"]\n");
        const Deal deal = ParsePbn(text.toUtf8(), QStringLiteral("a.pbn")).front();
        QCOMPARE(deal.HoldingOf(Seat::South, Suit::Spades), kAllRanks);
        QCOMPARE(deal.HoldingOf(Seat::West, Suit::Hearts), kAllRanks);
        QCOMPARE(deal.HoldingOf(Seat::North, Suit::Diamonds), kAllRanks);
        QCOMPARE(deal.HoldingOf(Seat::East, Suit::Clubs), kAllRanks);
        QCOMPARE(deal.Dealer, Seat::South);
        QCOMPARE(deal.Vulnerable, Vulnerability::EastWest);
    }

    void unreadableFile()
    {
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)ReadPbnFile(QStringLiteral("/nonexistent/rozklady.pbn")));
    }
};

QTEST_GUILESS_MAIN(TestPbnReader)
#include "TestPbnReader.moc"
