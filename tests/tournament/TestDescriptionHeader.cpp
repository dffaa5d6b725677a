// The fifteen numbers that open both kinds of description: which number lands in which count, the
// coded values, and where the stream is left.
#include "TournamentTestSupport.h"

#include "common/KibicError.h"
#include "tournament/DescriptionHeader.h"
#include "tournament/TextData.h"

#include <QTest>

using namespace kibic;
using kibic::test::Numbers;

namespace {

// The decoded header as one line, so that a table row can state every field.
QString Decoded(const DescriptionHeader& h)
{
    return QStringLiteral("flag %1 tables %2 rounds %3 perRound %4 sections %5 extraSections %6 extraTables %7 "
                          "switch %8 shift %9 participants %10 slots %11 first %12..%13 boards %14 second %15")
        .arg(h.ScoringFlag)
        .arg(h.TableCount)
        .arg(h.RoundCount)
        .arg(h.BoardsPerRound)
        .arg(h.SectionCount)
        .arg(h.ExtraSectionCount)
        .arg(h.ExtraTableCount)
        .arg(h.SwitchRound)
        .arg(h.Shift)
        .arg(h.ParticipantCount)
        .arg(h.ResultsPerBoard)
        .arg(h.FirstSwitchStart)
        .arg(h.FirstSwitchEnd)
        .arg(h.BoardCount)
        .arg(h.SecondSwitchStart);
}

} // namespace

class TestDescriptionHeader : public QObject
{
    Q_OBJECT

private slots:
    void decoded_data()
    {
        QTest::addColumn<bool>("pairsEvent");
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<QString>("expected");
        // Numbers 1..15 are distinct, so a number read into the wrong field shows.
        QTest::newRow("pairs") << true << Numbers({ 5, 6, 3, 1, 91, 7, 2, 10, 4, 92, 93, 94, 95, 15, 8, 101 })
                               << QStringLiteral("flag 0 tables 5 rounds 6 perRound 3 sections 1 extraSections 0 "
                                                 "extraTables 8 switch 7 shift 2 participants 10 slots 4 first 0..0 "
                                                 "boards 15 second 0");
        QTest::newRow("pairs scoring flag") << true << Numbers({ 10008, 6, 3, 1, 0, 7, 2, 10, 4, 0, 0, 0, 0, 15, 0 })
                                            << QStringLiteral("flag 1 tables 8 rounds 6 perRound 3 sections 1 "
                                                              "extraSections 0 extraTables 0 switch 7 shift 2 "
                                                              "participants 10 slots 4 first 0..0 boards 15 second 0");
        QTest::newRow("pairs exactly 10000") << true << Numbers({ 10000, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 })
                                             << QStringLiteral("flag 0 tables 0 rounds 6 perRound 0 sections 0 "
                                                               "extraSections 0 extraTables 0 switch 0 shift 0 "
                                                               "participants 0 slots 0 first 0..0 boards 0 second 0");
        QTest::newRow("individual") << false << Numbers({ 5, 6, 3, 1, 4, 91, 2, 20, 4, 92, 93, 11, 12, 15, 13, 101 })
                                    << QStringLiteral("flag 0 tables 5 rounds 6 perRound 3 sections 1 extraSections 0 "
                                                      "extraTables 4 switch 0 shift 2 participants 20 slots 4 first "
                                                      "11..12 boards 15 second 13");
        QTest::newRow("individual coded sectors")
            << false << Numbers({ 10005, 6, 3, 1, 10206, 0, 0, 20, 4, 0, 0, 0, 0, 15, 0 })
            << QStringLiteral("flag 1 tables 5 rounds 6 perRound 3 sections 1 extraSections 2 extraTables 6 switch 0 "
                              "shift 0 participants 20 slots 4 first 0..0 boards 15 second 0");
        QTest::newRow("individual exactly 10000 extra")
            << false << Numbers({ 5, 6, 3, 1, 10000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 })
            << QStringLiteral("flag 0 tables 5 rounds 6 perRound 3 "
                              "sections 1 extraSections 0 extraTables "
                              "10000 switch 0 shift 0 participants 0 "
                              "slots 0 first 0..0 boards 0 second 0");
    }

    void decoded()
    {
        QFETCH(bool, pairsEvent);
        QFETCH(QByteArray, description);
        QFETCH(QString, expected);
        TText text = TText::FromBytes(description, QStringLiteral("t.inf"));
        QCOMPARE(Decoded(ReadDescriptionHeader(text, pairsEvent)), expected);
    }

    // Both kinds are fifteen numbers long: the participant list comes next, whatever comments and
    // line breaks stand between.
    void streamLeftAtTheParticipantList_data()
    {
        QTest::addColumn<bool>("pairsEvent");
        QTest::newRow("pairs") << true;
        QTest::newRow("individual") << false;
    }

    void streamLeftAtTheParticipantList()
    {
        QFETCH(bool, pairsEvent);
        TText text = TText::FromBytes(
            "1 2 3 4 5 * header\n6 7 8 9 10\n11 12 13 14 15\n* participants\n101 102", QStringLiteral("t.ind"));
        (void)ReadDescriptionHeader(text, pairsEvent);
        QCOMPARE(text.ReadInt(), 101);
        QCOMPARE(text.ReadInt(), 102);
    }

    // The counts reach the model and are checked there; ScoringKind is the reader's to set.
    void countsIntoTheModel()
    {
        TText text = TText::FromBytes(Numbers({ 10005, 6, 3, 2, 0, 0, 0, 20, 4, 0, 0, 0, 0, 18, 3 }), QStringLiteral("t.inf"));
        const DescriptionHeader header = ReadDescriptionHeader(text, true);
        TournamentModel model;
        model.ScoringKind = 2;
        model.ExtraSectionCount = 9;
        SetHeaderCounts(model, header, QStringLiteral("t.inf"), 2);
        QCOMPARE(model.TableCount, 5);
        QCOMPARE(model.RoundCount, 6);
        QCOMPARE(model.BoardsPerRound, 3);
        QCOMPARE(model.SectionCount, 2);
        QCOMPARE(model.ParticipantCount, 20);
        QCOMPARE(model.ResultsPerBoard, 4);
        QCOMPARE(model.BoardCount, 18);
        QCOMPARE(model.ExtraTableCount, 3);
        QCOMPARE(model.ExtraSectionCount, 0);
        QCOMPARE(model.ScoringKind, 2);
    }

    void damagedCountsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<QString>("message");
        QTest::newRow("negative rounds") << Numbers({ 5, -1, 3, 1, 0, 0, 0, 10, 4, 0, 0, 0, 0, 15, 0 })
                                         << QStringLiteral("Błąd w pliku t.inf: liczba rund -1 jest niemożliwa.");
        QTest::newRow("too many boards") << Numbers({ 5, 6, 3, 1, 0, 0, 0, 10, 4, 0, 0, 0, 0, 2147483647, 0 })
                                         << QStringLiteral("Błąd w pliku t.inf: liczba rozdań 2147483647 jest zbyt "
                                                           "duża.");
        // A tournament needs a table, a round and a board: a header that gives none of one is damaged.
        QTest::newRow("no table") << Numbers({ 10000, 6, 3, 1, 0, 0, 0, 10, 4, 0, 0, 0, 0, 15, 0 })
                                  << QStringLiteral("Błąd w pliku t.inf: nagłówek nie podaje ani jednego stołu w "
                                                    "sektorze (liczba 1 nagłówka daje 0).");
        QTest::newRow("no round") << Numbers({ 5, 0, 3, 1, 0, 0, 0, 10, 4, 0, 0, 0, 0, 15, 0 })
                                  << QStringLiteral(
                                         "Błąd w pliku t.inf: nagłówek nie podaje ani jednej rundy (liczba 2 "
                                         "nagłówka daje 0).");
        QTest::newRow("no board in a round") << Numbers({ 5, 6, 0, 1, 0, 0, 0, 10, 4, 0, 0, 0, 0, 15, 0 })
                                             << QStringLiteral("Błąd w pliku t.inf: nagłówek nie podaje ani jednego "
                                                               "rozdania w rundzie (liczba 3 nagłówka daje 0).");
        QTest::newRow("no board") << Numbers({ 5, 6, 3, 1, 0, 0, 0, 10, 4, 0, 0, 0, 0, 0, 0 })
                                  << QStringLiteral("Błąd w pliku t.inf: nagłówek nie podaje ani jednego rozdania "
                                                    "(liczba 14 nagłówka daje 0).");
        // A header cut off, or with something else where a number stands.
        QTest::newRow("cut off") << Numbers({ 5, 6, 3, 1, 0, 0, 0, 10 })
                                 << QStringLiteral("Błąd w pliku t.inf: plik kończy się przed tym, co zapowiada (brak: "
                                                   "liczba 9 z 15 nagłówka).");
        QTest::newRow("cut off before an unused number") << Numbers({ 5, 6, 3, 1 })
                                                         << QStringLiteral("Błąd w pliku t.inf: plik kończy się przed "
                                                                           "tym, co zapowiada (brak: liczba 5 z 15 "
                                                                           "nagłówka).");
        QTest::newRow("no number") << QByteArray("5 6 3\n1 0 0 0 1O 4 0 0 0 0 15 0")
                                   << QStringLiteral("Błąd w pliku t.inf: w wierszu 2 stoi „1O”, a to nie jest liczba "
                                                     "(liczba 8 z 15 nagłówka).");
        QTest::newRow("bytes of another file")
            << QByteArray("\x89PNG\r\n\x1a\n\x01\x02 7")
            << QStringLiteral("Błąd w pliku t.inf: w wierszu 1 stoi „‰PNG”, a to nie "
                              "jest liczba (liczba 1 z 15 nagłówka).");
    }

    void damagedCountsAreRefused()
    {
        QFETCH(QByteArray, description);
        QFETCH(QString, message);
        TText text = TText::FromBytes(description, QStringLiteral("t.inf"));
        TournamentModel model;
        try {
            SetHeaderCounts(model, ReadDescriptionHeader(text, true), QStringLiteral("t.inf"), 2);
            QFAIL("accepted");
        } catch (const KibicError& error) {
            QCOMPARE(error.Message(), message);
        }
    }
};

QTEST_GUILESS_MAIN(TestDescriptionHeader)
#include "TestDescriptionHeader.moc"
