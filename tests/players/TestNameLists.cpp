// ZyRT's identifier list and name list: their bytes, and the question before an existing list is replaced.
#include "PlayersFixture.h"
#include "support/SmallDisk.h"

#include "common/KibicError.h"
#include "players/NameLists.h"

#include <functional>

using namespace kibic;
using namespace kibic::test;

namespace {

PlayerEntry Entry(qint32 number, const QByteArray& firstName, const QByteArray& surname, const QByteArray& wk = "?",
    const QByteArray& region = "?")
{
    PlayerEntry entry;
    entry.ParticipantNo = number;
    entry.FirstName = firstName;
    entry.Surname = surname;
    entry.Wk = wk;
    entry.Region = region;
    return entry;
}

// A name record from its three fields, padded as ZyRT reads them.
QByteArray Rec(const QByteArray& name, const QByteArray& wk, const QByteArray& region)
{
    return name.leftJustified(17, ' ', true) + wk.rightJustified(4, ' ', true) + region.leftJustified(5, ' ', true);
}

PlayerEntries TwoPlayers()
{
    return { PlayerEntry {}, Entry(1, "Jan", "Kowalski", "12", "WAR"), Entry(1, "Ewa", "Nowak") };
}

} // namespace

Q_DECLARE_METATYPE(kibic::PlayerEntry)

class TestNameLists : public QObject
{
    Q_OBJECT

private slots:
    void nameRecord_data()
    {
        QTest::addColumn<PlayerEntry>("entry");
        QTest::addColumn<bool>("convert");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("nothing known") << PlayerEntry {} << true << QByteArray(26, ' ');
        QTest::newRow("initial, space, surname; Wk left; Region right")
            << Entry(1, "Jan", "Kowalski", "12", "WAR") << false
            << QByteArray("J Kowalski"
                          "       "
                          "  12"
                          "WAR  ");
        QTest::newRow("unknown first name leaves the space")
            << Entry(1, "?", "Nowak", "?", "?") << false << Rec(" Nowak", "", "");
        QTest::newRow("surname cut at 17 with initial and space")
            << Entry(1, "Anna", "Konstantynopolitanska", "1234", "KRAKOW") << false
            << QByteArray("A Konstantynopoli"
                          "1234"
                          "KRAKO");
        QTest::newRow("long Wk cut to its first 4")
            << Entry(1, "A", "B", "123456", "X") << false << Rec("A B", "1234", "X");
        QTest::newRow("every ? removed") << Entry(1, "E", "Now?ak", "1?2", "W?A") << false
                                         << Rec("E Nowak", "12", "WA");
        QTest::newRow("Polish letters of the name converted") << Entry(1, "\xA3ukasz", "\xAF\xF3\xB3\xE6", "7",
            "\xA3\xF3"
            "d\x9F") << true
                                                              << Rec("\x9C \x92\xA2\x9F\x9B", "7",
                                                                     "\xA3\xF3"
                                                                     "d\x9F");
        QTest::newRow("names from ZyRT's file kept")
            << Entry(1, "\x9C", "\xA3\xA2", "7", "X") << false << Rec("\x9C \xA3\xA2", "7", "X");
    }

    void nameRecord()
    {
        QFETCH(PlayerEntry, entry);
        QFETCH(bool, convert);
        QFETCH(QByteArray, record);
        QCOMPARE(NameRecord(entry, convert), record);
    }

    void identifierListLines()
    {
        PlayerEntry entry = Entry(12, "  Jan ", "Kowalski", "", "WAR");
        entry.Club = "KS  Warszawa ";
        entry.Info = "\t";
        entry.Id = "01001";
        const QByteArray list = IdentifierListBytes({ PlayerEntry {}, entry });
        QCOMPARE(list,
            QByteArray("?\r\n").repeated(11)
                + "12\r\nJan\r\nKowalski\r\n?\r\nWAR\r\n?\r\n\"KS  Warszawa\"\r\n01001\r\n");
    }

    void controlCharactersInsideAFieldKeepEightLines_data()
    {
        QTest::addColumn<QByteArray>("club");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("CR LF") << QByteArray("KS\r\nWarszawa") << QByteArray("\"KS  Warszawa\"");
        QTest::newRow("LF") << QByteArray("KS\nWarszawa") << QByteArray("\"KS Warszawa\"");
        QTest::newRow("CR") << QByteArray("KS\rWarszawa") << QByteArray("\"KS Warszawa\"");
        QTest::newRow("TAB") << QByteArray("KS\tWarszawa") << QByteArray("\"KS Warszawa\"");
        QTest::newRow("DEL and NUL") << QByteArray("KS\x7FWar\0szawa", 12) << QByteArray("\"KS War szawa\"");
        QTest::newRow("line break at the end") << QByteArray("Warszawa\r\n") << QByteArray("Warszawa");
        QTest::newRow("only a line break") << QByteArray("\n") << QByteArray("?");
    }

    void controlCharactersInsideAFieldKeepEightLines()
    {
        QFETCH(QByteArray, club);
        QFETCH(QByteArray, line);
        PlayerEntry first = Entry(12, "Jan", "Kowalski", "7", "WAR");
        first.Club = club;
        first.Info = club;
        first.Id = "01001";
        const PlayerEntry second = Entry(12, "Ewa", "Nowak", "3", "GDA");
        const QByteArray list = IdentifierListBytes({ PlayerEntry {}, first, second });
        const QList<QByteArray> lines = list.split('\n');
        QCOMPARE(lines.size(), 11 + 2 * 8 + 1);
        QCOMPARE(lines.at(11 + 5), line + '\r');
        QCOMPARE(lines.at(11 + 6), line + '\r');
        QCOMPARE(lines.at(11 + 8), QByteArray("12\r"));
        QCOMPARE(lines.at(11 + 10), QByteArray("Nowak\r"));
    }

    void threePairsExample()
    {
        PlayersFixture fixture;
        PlayerEntries entries(7);
        const qint32 numbers[] = { 0, 1, 1, 2, 2, 5, 5 };
        for (int i = 1; i <= 6; ++i)
            entries[i].ParticipantNo = numbers[i];
        entries[1] = Entry(1, "Jan", "Kowalski", "12", "WAR");
        entries[1].Club = "KS Warszawa";
        entries[1].Id = "01001";
        entries[2] = Entry(1, "\xA3ukasz", "\xAF\xF3\xB3\xE6", "7",
            "\xA3\xF3"
            "d\x9F");
        entries[2].Info = "mistrz";
        entries[2].Id = "01002";
        entries[3] = Entry(2, "Anna", "Konstantynopolita\xF1ska", "123", "KRAKOW");
        entries[3].Info = "b";
        entries[3].Club = "AZS";
        entries[3].Id = "01003";

        RecordingOperator op;
        const ListFileResult identifiers = WriteIdentifierList(entries, fixture.Base, true, op);
        const ListFileResult names = WriteNameList(entries, fixture.Base, true, true, op);
        QVERIFY(op.Dialogs.empty());
        QCOMPARE(identifiers.FileName, fixture.Base + QStringLiteral(".LU2"));
        QCOMPARE(names.FileName, fixture.Base + QStringLiteral(".LUC"));
        QVERIFY(identifiers.Written && names.Written);
        const QByteArray lu2 = ReadAll(identifiers.FileName);
        QCOMPARE(lu2.count("\r\n"), 59);
        QCOMPARE(lu2, ReadAll(kDataDir + QStringLiteral("three-pairs.LU2")));
        const QByteArray luc = ReadAll(names.FileName);
        QCOMPARE(luc.size(), 156);
        QCOMPARE(luc, ReadAll(kDataDir + QStringLiteral("three-pairs.LUC")));
    }

    void overwriteQuestion_data()
    {
        QTest::addColumn<ModalResult>("identifierAnswer");
        QTest::addColumn<ModalResult>("nameAnswer");
        QTest::newRow("Nie for .LU2 still asks for .LUC") << ModalResult::No << ModalResult::Yes;
        QTest::newRow("Tak for .LU2, Nie for .LUC") << ModalResult::Yes << ModalResult::No;
        QTest::newRow("closed dialog is no Tak") << ModalResult::Cancel << ModalResult::Cancel;
    }

    void overwriteQuestion()
    {
        QFETCH(ModalResult, identifierAnswer);
        QFETCH(ModalResult, nameAnswer);
        PlayersFixture fixture;
        // Existing lists in lower case keep their names; the old, longer content goes completely.
        const QString lu2 = fixture.Base + QStringLiteral(".lu2");
        const QString luc = fixture.Base + QStringLiteral(".luc");
        const QByteArray old(1000, 'x');
        WriteAll(lu2, old);
        WriteAll(luc, old);
        RecordingOperator op;
        op.Answers = { identifierAnswer, nameAnswer };
        const ListFileResult identifiers = WriteIdentifierList(TwoPlayers(), fixture.Base, true, op);
        const ListFileResult names = WriteNameList(TwoPlayers(), fixture.Base, true, false, op);

        QCOMPARE(op.Dialogs.size(), std::size_t(2));
        QCOMPARE(op.Dialogs[0].Text, QDir::toNativeSeparators(lu2) + QStringLiteral(" istnieje.\nNadpisać?"));
        QCOMPARE(op.Dialogs[1].Text, QDir::toNativeSeparators(luc) + QStringLiteral(" istnieje.\nNadpisać?"));
        for (const auto& dialog : op.Dialogs) {
            QCOMPARE(dialog.Kind, DialogKind::Confirm);
            QCOMPARE(dialog.Buttons, YesNoQuestion);
        }
        QCOMPARE(identifiers.FileName, lu2);
        QCOMPARE(identifiers.Written, identifierAnswer == ModalResult::Yes);
        QCOMPARE(ReadAll(lu2), identifierAnswer == ModalResult::Yes ? IdentifierListBytes(TwoPlayers()) : old);
        QCOMPARE(names.Written, nameAnswer == ModalResult::Yes);
        QCOMPARE(ReadAll(luc), nameAnswer == ModalResult::Yes ? NameListBytes(TwoPlayers(), false) : old);
        // Listed, not asked by name: on Windows ".LU2" names the same file as ".lu2".
        QVERIFY(!QDir(QFileInfo(lu2).path())
                     .entryList(QDir::Files)
                     .contains(QFileInfo(fixture.Base).fileName() + QStringLiteral(".LU2")));
    }

    void unwritableFolderRaisesNamingTheFile()
    {
        PlayersFixture fixture;
        RecordingOperator op;
        const QString base = fixture.Path(QStringLiteral("no-such-folder/cup"));
        try {
            (void)WriteNameList(TwoPlayers(), base, true, true, op);
            QFAIL("a list was written into a missing folder");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(base + QStringLiteral(".LUC")), qPrintable(error.Message()));
        }
    }

    // On a full disk, after "&Tak", both lists are an error with the system's text and the good lists
    // already there stay as they were.
    void fullDiskKeepsTheOldLists()
    {
        KIBIC_SMALL_DISK(disk);
        const QString base = disk.Path(QStringLiteral("cup"));
        const QByteArray identifiers("the identifiers of last week");
        const QByteArray names(52, 'n');
        WriteAll(base + QStringLiteral(".LU2"), identifiers);
        WriteAll(base + QStringLiteral(".LUC"), names);
        QVERIFY(disk.Fill());
        RecordingOperator op;
        op.Answers = { ModalResult::Yes, ModalResult::Yes };
        const auto expectFailure = [&](const std::function<void()>& write, const QString& file) {
            try {
                write();
                QFAIL(qPrintable(file + QStringLiteral(" reported as written")));
            } catch (const KibicError& error) {
                QVERIFY2(
                    error.Message().contains(file + QStringLiteral(": ") + NoSpaceText()), qPrintable(error.Message()));
            }
        };
        expectFailure([&] { (void)WriteIdentifierList(TwoPlayers(), base, true, op); }, base + QStringLiteral(".LU2"));
        expectFailure([&] { (void)WriteNameList(TwoPlayers(), base, true, true, op); }, base + QStringLiteral(".LUC"));
        QCOMPARE(ReadAll(base + QStringLiteral(".LU2")), identifiers);
        QCOMPARE(ReadAll(base + QStringLiteral(".LUC")), names);
    }
};

QTEST_GUILESS_MAIN(TestNameLists)
#include "TestNameLists.moc"
