// The command line's answers to a non-typical sector: --sector-kind, --pattern, --barometer.
#include "SectorModels.h"
#include "support/FailureOf.h"

#include "CliSectorOptions.h"
#include "common/KibicError.h"
#include "sectors/PatternFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using namespace kibic::test;

namespace {

// The completer of a command line that holds only the sector options; a command line they refuse raises
// KibicError with the reason, as the command would.
std::unique_ptr<NonTypicalSectorCompleter> Completer(const QStringList& arguments)
{
    tools::CommandLine commandLine(cli::SectorOptionList());
    if (!commandLine.Parse(arguments))
        throw KibicError(commandLine.Error());
    return cli::SectorCompleter(commandLine);
}

// A pairs tournament of 5 board sets with a sector of 2 tables and nothing stated.
SectorTournament PairsSector(qint32 n = 2, qint32 sections = 0, qint32 shift = 0)
{
    SectorTournament t = MakeSectorTournament(5, n, sections, 5, true, shift);
    for (qint32 b = 1; b <= 5; ++b)
        for (qint32 i = 1; i <= n; ++i)
            t.SetRow(b, i, 2 * i - 1, 2 * i);
    return t;
}

QString CompletePattern(const QTemporaryDir& dir, SectorTournament t)
{
    for (qint32 b = 1; b <= t.Model.TableCount; ++b)
        for (qint32 i = 1; i <= t.Sector.RowCount; ++i)
            t.SetTableRound(b, i, i, b);
    const QString path = dir.filePath(QStringLiteral("wzor.bmt"));
    SavePattern(path, t.Model, t.Sector.RowCount, t.Sector.SlotOffset);
    return path;
}

} // namespace

class TestCliSectorOptions : public QObject
{
    Q_OBJECT

private slots:
    // Beside a command's own options and its file, in any order.
    void optionsBesideTheCommandsOwn()
    {
        tools::CommandLine commandLine(
            cli::SectorOptionList() + QList<tools::OptionRule> { { QStringLiteral("overwrite"), QString() } });
        QVERIFY2(commandLine.Parse({ QStringLiteral("--barometer"), QStringLiteral("yes"), QStringLiteral("cup.inf"),
                     QStringLiteral("--sector-kind=502"), QStringLiteral("--overwrite"), QStringLiteral("--pattern"),
                     QStringLiteral("a.bmt") }),
            qPrintable(commandLine.Error()));
        QVERIFY(cli::SectorCompleter(commandLine));
        QCOMPARE(commandLine.Positional(), QStringList { QStringLiteral("cup.inf") });
        QVERIFY(commandLine.IsSet(QStringLiteral("overwrite")));
        QCOMPARE(commandLine.Value(QStringLiteral("pattern")).value_or(QString()), QStringLiteral("a.bmt"));
    }

    void badOptionsRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("kind out of range") << QStringList { QStringLiteral("--sector-kind"), QStringLiteral("505") }
                                           << "Opcja --sector-kind przyjmuje 501, 502, 503 lub 504, a nie „505”.";
        QTest::newRow("kind no number") << QStringList { QStringLiteral("--sector-kind"), QStringLiteral("Howell") }
                                        << "Opcja --sector-kind przyjmuje 501, 502, 503 lub 504, a nie „Howell”.";
        QTest::newRow("kind of 10,000 characters")
            << QStringList { QStringLiteral("--sector-kind"), QString(10000, QLatin1Char('5')) }
            << QStringLiteral("Opcja --sector-kind przyjmuje 501, 502, 503 lub 504, a nie „")
                + QString(40, QLatin1Char('5')) + QStringLiteral("…”.");
        QTest::newRow("kind without value")
            << QStringList { QStringLiteral("--sector-kind") } << "Opcja --sector-kind wymaga wartości.";
        QTest::newRow("barometer maybe") << QStringList { QStringLiteral("--barometer"), QStringLiteral("może") }
                                         << "Opcja --barometer przyjmuje yes (tak) lub no (nie), a nie „może”.";
        QTest::newRow("pattern twice") << QStringList { QStringLiteral("--pattern"), QStringLiteral("a.bmt"),
            QStringLiteral("--pattern"), QStringLiteral("b.bmt") }
                                       << "Opcja --pattern podana więcej niż raz.";
    }

    void badOptionsRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QCOMPARE(FailureOf([&] { (void)Completer(arguments); }), message);
    }

    void kindFromTheOption_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<qint32>("n");
        QTest::addColumn<qint32>("sections");
        QTest::addColumn<qint32>("shift");
        QTest::addColumn<QString>("failure"); // a piece of the message; empty: completed
        QTest::newRow("502 filled") << QStringList { QStringLiteral("--sector-kind"), QStringLiteral("502") } << 2 << 0
                                    << 0 << QString();
        QTest::newRow("503 beside a section refused")
            << QStringList { QStringLiteral("--sector-kind"), QStringLiteral("503") } << 2 << 1 << 0
            << QStringLiteral("Rodzaj sektora 503 („Barometr na dochodzenie, zapis przy numerze stołu”) nie pasuje");
        QTest::newRow("501 with a shift refused") << QStringList { QStringLiteral("--sector-kind"),
            QStringLiteral("501") } << 2 << 0 << 1 << QStringLiteral("Do wyboru są:\n  504 – Coś innego");
        QTest::newRow("502 with n = T - 1 refused") << QStringList { QStringLiteral("--sector-kind"),
            QStringLiteral("502") } << 4 << 0 << 0 << QStringLiteral("  503 – Barometr na dochodzenie");
        QTest::newRow("no kind where there is a choice")
            << QStringList {} << 2 << 0 << 0 << QStringLiteral("opcją --sector-kind");
        QTest::newRow("504 needs a pattern") << QStringList { QStringLiteral("--sector-kind"), QStringLiteral("504") }
                                             << 2 << 0 << 0 << QStringLiteral("opcją --pattern PLIK.bmt");
        QTest::newRow("501 needs a pattern") << QStringList { QStringLiteral("--sector-kind"), QStringLiteral("501") }
                                             << 2 << 0 << 0 << QStringLiteral("opcją --pattern PLIK.bmt");
        QTest::newRow("only 504 left, no option, no pattern")
            << QStringList {} << 4 << 1 << 0 << QStringLiteral("opcją --pattern PLIK.bmt");
    }

    void kindFromTheOption()
    {
        QFETCH(QStringList, arguments);
        QFETCH(qint32, n);
        QFETCH(qint32, sections);
        QFETCH(qint32, shift);
        QFETCH(QString, failure);
        SectorTournament t = PairsSector(n, sections, shift);
        auto completer = Completer(arguments);
        bool completed = false;
        const QString message = FailureOf([&] { completed = completer->CompleteNonTypicalSector(t.Model, t.Sector); });
        if (failure.isEmpty()) {
            QVERIFY2(message.isEmpty(), qPrintable(message));
            QVERIFY(completed);
            QCOMPARE(t.Row(4, 2), (MovementEntry { 103, 104, 0, 0, 4, 2 }));
        } else {
            QVERIFY2(message.contains(failure), qPrintable(message));
        }
    }

    // Only "Coś innego" is left: the pattern is loaded without --sector-kind and checked.
    void patternInPlaceOfTheEditor()
    {
        QTemporaryDir dir;
        SectorTournament t = PairsSector(4, 1);
        const QString path = CompletePattern(dir, t);
        auto completer = Completer({ QStringLiteral("--pattern"), path });
        QVERIFY(completer->CompleteNonTypicalSector(t.Model, t.Sector));
        QCOMPARE(t.Row(3, 4), (MovementEntry { 107, 108, 0, 0, 3, 4 }));
    }

    void patternRefused_data()
    {
        QTest::addColumn<qint32>("patternTables");
        QTest::addColumn<bool>("oneValueMissing");
        QTest::addColumn<QString>("failure");
        QTest::newRow("other shape") << 3 << false
                                     << QStringLiteral("nie pasuje do turnieju: To nie jest wzorzec dla tego turnieju\n"
                                                       "Tutaj baza=5, stołów jest 3.");
        QTest::newRow("one round missing") << 4 << true << QStringLiteral("kompletu 5 w wierszu 2 (stolik 2, runda 0)");
    }

    void patternRefused()
    {
        QFETCH(qint32, patternTables);
        QFETCH(bool, oneValueMissing);
        QFETCH(QString, failure);
        QTemporaryDir dir;
        SectorTournament patternShape = PairsSector(patternTables, 1);
        for (qint32 b = 1; b <= 5; ++b)
            for (qint32 i = 1; i <= patternTables; ++i)
                patternShape.SetTableRound(b, i, i, b);
        if (oneValueMissing)
            patternShape.Row(5, 2).Round = 0;
        const QString path = dir.filePath(QStringLiteral("wzor.bmt"));
        SavePattern(path, patternShape.Model, patternTables, patternShape.Sector.SlotOffset);
        SectorTournament t = PairsSector(4, 1);
        auto completer = Completer({ QStringLiteral("--pattern"), path });
        const QString message = FailureOf([&] { (void)completer->CompleteNonTypicalSector(t.Model, t.Sector); });
        QVERIFY2(message.contains(path) && message.contains(failure), qPrintable(message));
    }

    void individualQuestion_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("withPattern");
        QTest::addColumn<QString>("failure");
        QTest::newRow("yes fills by table number")
            << QStringList { QStringLiteral("--barometer"), QStringLiteral("yes") } << false << QString();
        QTest::newRow("no loads the pattern")
            << QStringList { QStringLiteral("--barometer"), QStringLiteral("no") } << true << QString();
        QTest::newRow("tak as yes") << QStringList { QStringLiteral("--barometer"), QStringLiteral("tak") } << false
                                    << QString();
        QTest::newRow("nie as no") << QStringList { QStringLiteral("--barometer"), QStringLiteral("nie") } << true
                                   << QString();
        QTest::newRow("no without a pattern")
            << QStringList { QStringLiteral("--barometer"), QStringLiteral("no") } << false
            << QStringLiteral("Opcja --barometer no wymaga wzorca sektora: podaj go opcją --pattern PLIK.bmt.");
        QTest::newRow("no answer") << QStringList {} << true
                                   << QStringLiteral(
                                          "odpowiedz na pytanie „Czy to jest barometr (na dochodzenie lub duży "
                                          "Howell)?” opcją --barometer yes|no.");
    }

    void individualQuestion()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, withPattern);
        QFETCH(QString, failure);
        QTemporaryDir dir;
        SectorTournament t = MakeSectorTournament(3, 2, 1, 3, false, 0, 8);
        for (qint32 b = 1; b <= 3; ++b) {
            t.Row(b, 1) = { 103, 104, 105, 106 };
            t.Row(b, 2) = { 107, 108, 101, 102 };
        }
        if (withPattern)
            arguments << QStringLiteral("--pattern") << CompletePattern(dir, t);
        auto completer = Completer(arguments);
        bool completed = false;
        const QString message
            = FailureOf([&] { completed = completer->CompleteIndividualNonTypicalSector(t.Model, t.Sector); });
        if (failure.isEmpty()) {
            QVERIFY2(message.isEmpty(), qPrintable(message));
            QVERIFY(completed);
            QCOMPARE(t.Row(2, 1), (MovementEntry { 103, 104, 105, 106, 2, 1 }));
            QCOMPARE(t.Row(3, 2), (MovementEntry { 107, 108, 101, 102, 3, 2 }));
        } else {
            QVERIFY2(message.contains(failure), qPrintable(message));
        }
    }
};

QTEST_GUILESS_MAIN(TestCliSectorOptions)
#include "TestCliSectorOptions.moc"
