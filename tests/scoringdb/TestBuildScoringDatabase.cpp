// Building a scoring database from a tournament model: the rows of every table, the overwrite
// question, the checks before a file is made and the clean-up after a failed fill.
#include "ScoringDbTestSupport.h"
#include "common/KibicError.h"
#include "common/Operator.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/KeptDatabase.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uBuildBWS.h"
#include "support/SmallDisk.h"
#include "support/TournamentModels.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using namespace kibic::test;

namespace {

// A pairs tournament of ordinary sections and an optional non-typical sector (ExtraTableCount slots),
// with values that tell every slot apart: NS = 1000*b + slot, EW = 2000*b + slot, board i printed
// as 200 + i.
TournamentModel PairsModel(
    const QString& base, qint32 sections, qint32 tables, qint32 rounds, qint32 boardsPerRound, qint32 extraTables)
{
    ModelCounts counts;
    counts.Sections = sections;
    counts.Tables = tables;
    counts.Rounds = rounds;
    counts.BoardsPerRound = boardsPerRound;
    counts.ExtraTables = extraTables;
    counts.FirstBoardNumber = 201;
    TournamentModel model = MakeModel(counts, base);
    const qint32 slotCount = sections * rounds + extraTables;
    for (qint32 b = 1; b <= tables; ++b) {
        auto& boardSet = model.Movement[static_cast<std::size_t>(b)];
        for (qint32 k = 1; k <= slotCount; ++k) {
            MovementEntry& entry = boardSet[static_cast<std::size_t>(k)];
            entry.NS = 1000 * b + k;
            entry.EW = 2000 * b + k;
            entry.Round = (k - 1) % std::max(rounds, 1) + 1;
            entry.Table = (b + k) % tables + 1;
        }
    }
    return model;
}

// An individual event with ExtraSectionCount non-typical sectors; the movement has `extraSlots`
// slots after the ordinary ones.
TournamentModel IndividualModel(const QString& base, qint32 extraSections, qint32 extraTables, qint32 extraSlots)
{
    TournamentModel model = PairsModel(base, 1, 3, 3, 2, 0);
    model.PairsEvent = false;
    model.ExtraSectionCount = extraSections;
    model.ExtraTableCount = extraTables;
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        auto& boardSet = model.Movement[static_cast<std::size_t>(b)];
        boardSet.resize(static_cast<std::size_t>(model.SectionCount * model.RoundCount + extraSlots) + 1);
        for (std::size_t k = 1; k < boardSet.size(); ++k) {
            boardSet[k].NS = 1000 * b + static_cast<qint32>(k);
            boardSet[k].EW = 2000 * b + static_cast<qint32>(k);
            boardSet[k].South = 3000 * b + static_cast<qint32>(k);
            boardSet[k].West = 4000 * b + static_cast<qint32>(k);
            boardSet[k].Round = (static_cast<qint32>(k) - 1) % model.RoundCount + 1;
            boardSet[k].Table = static_cast<qint32>(k) % 2 + 1;
        }
    }
    return model;
}

// An operator that also keeps which question each question was.
struct QuestionLog : ScriptedOperator
{
    using ScriptedOperator::ScriptedOperator;
    ModalResult Ask(Question question, const QString& text) override
    {
        Questions.append(question);
        return ScriptedOperator::Ask(question, text);
    }
    QList<Question> Questions;
};

// Appends rows to ReceivedData as the terminals do: table 1 of section 1, round 1, boards 1..count.
void ReceiveResults(const QString& file, int count)
{
    DbConnection connection(ScoringConnectionString(file));
    for (int board = 1; board <= count; ++board)
        (void)connection.Execute(QStringLiteral("INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],[NS/EW],"
                                                "[Contract],[Result]) VALUES (1,1,1,?,'N','3 NT','=')"),
            { board });
}

} // namespace

class TestBuildScoringDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->filePath(QStringLiteral("cup"));
        m_file = m_base + QStringLiteral(".bws");
    }

    void databaseSections_data()
    {
        QTest::addColumn<bool>("pairs");
        QTest::addColumn<int>("sections");
        QTest::addColumn<int>("extraTables");
        QTest::addColumn<int>("extraSections");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one section") << true << 1 << 0 << 0 << "1:10";
        QTest::newRow("two sections and a sector of 4") << true << 2 << 4 << 0 << "1:10 2:10 3:4";
        QTest::newRow("negative extra tables") << true << 1 << -1 << 0 << "1:10";
        QTest::newRow("individual, two sectors") << false << 1 << 7 << 2 << "1:10 2:3 3:3";
        QTest::newRow("no ordinary section") << true << 0 << 5 << 0 << "1:5";
    }

    void databaseSections()
    {
        QFETCH(bool, pairs);
        QFETCH(int, sections);
        QFETCH(int, extraTables);
        QFETCH(int, extraSections);
        QFETCH(QString, expected);
        TournamentModel model;
        model.PairsEvent = pairs;
        model.SectionCount = sections;
        model.TableCount = 10;
        model.ExtraTableCount = extraTables;
        model.ExtraSectionCount = extraSections;
        QStringList got;
        for (const DatabaseSection& section : DatabaseSections(model))
            got << QStringLiteral("%1:%2").arg(section.Number).arg(section.Tables);
        QCOMPARE(got.join(QLatin1Char(' ')), expected);
    }

    // One section of 7 tables, 7 rounds, 3 boards per round.
    void oneSectionOfSevenTables()
    {
        TournamentModel model = PairsModel(m_base, 1, 7, 7, 3, 0);
        model.OpenedExisting = true;
        ScriptedOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        QCOMPARE(op.Messages, QStringList());
        QVERIFY(!model.OpenedExisting);
        QVERIFY(!op.BusyCursor);

        QStringList tables;
        for (int t = 1; t <= 7; ++t)
            tables << QStringLiteral("1|%1|1|0|2|0|0|0").arg(t);
        QCOMPARE(Rows(m_file, QStringLiteral("Tables"),
                     Columns("Section,Table,ComputerID,Status,LogOnOff,UpdateFromRound,CurrentRound,CurrentBoard")),
            tables);

        const QStringList seats
            = Rows(m_file, QStringLiteral("PlayerNumbers"), Columns("Section,Table,Direction,Number,Name,Updated"));
        QCOMPARE(seats.size(), 28);
        QCOMPARE(seats.mid(0, 5), L({ "1|1|N|||0", "1|1|E|||0", "1|1|S|||0", "1|1|W|||0", "1|2|N|||0" }));
        QCOMPARE(seats.last(), QStringLiteral("1|7|W|||0"));

        QCOMPARE(Rows(m_file, QStringLiteral("[Section]"), Columns("ID,Letter,Tables,MissingPair,custom_MySQL")),
            L({ "1|A|7|0|-" }));

        const QStringList rounds = Rows(m_file, QStringLiteral("RoundData"),
            Columns(
                "Section,Table,Round,NSPair,EWPair,LowBoard,HighBoard,CustomBoards,custom_Zyrt,custom_Komp,custom_S,"
                "custom_W,custom_LowBoard"));
        QCOMPARE(rounds.size(), 49);
        for (int b = 1; b <= 7; ++b) {
            for (int k = 1; k <= 7; ++k) {
                const MovementEntry& e = model.Movement[b][k];
                QCOMPARE(rounds.at((b - 1) * 7 + k - 1),
                    QStringLiteral("1|%1|%2|%3|%4|%5|%6|-|%7|%8|0|0|0")
                        .arg(e.Table)
                        .arg(e.Round)
                        .arg(e.NS)
                        .arg(e.EW)
                        .arg(200 + 3 * b - 2)
                        .arg(200 + 3 * b)
                        .arg(k)
                        .arg(b));
            }
        }
    }

    // Two ordinary sections and a non-typical section of 4 tables.
    void twoSectionsAndANonTypicalSection()
    {
        TournamentModel model = PairsModel(m_base, 2, 5, 4, 2, 4);
        ScriptedOperator op;
        QVERIFY(BuildScoringDatabase(model, op));

        const QStringList tables = Rows(m_file, QStringLiteral("Tables"), Columns("Section,Table"));
        QCOMPARE(tables.size(), 14);
        QCOMPARE(tables.mid(10), L({ "3|1", "3|2", "3|3", "3|4" }));
        const QStringList seats = Rows(m_file, QStringLiteral("PlayerNumbers"), Columns("Section,Table,Direction"));
        QCOMPARE(seats.size(), 56);
        QCOMPARE(seats.filter(QRegularExpression(QStringLiteral("^3\\|"))).size(), 16);
        QCOMPARE(Rows(m_file, QStringLiteral("[Section]"), Columns("ID,Letter,Tables,MissingPair")),
            L({ "1|A|5|0", "2|B|5|0", "3|C|5|0" }));

        const QStringList rounds
            = Rows(m_file, QStringLiteral("RoundData"), Columns("custom_Komp,custom_Zyrt,Section,Table,Round,NSPair"));
        QCOMPARE(rounds.size(), 5 * (2 * 4 + 4));
        for (int b = 1; b <= 5; ++b) {
            const QStringList ofSet = rounds.filter(QRegularExpression(QStringLiteral("^%1\\|").arg(b)));
            QCOMPARE(ofSet.size(), 12);
            for (int k = 1; k <= 12; ++k) {
                const int section = k <= 4 ? 1 : k <= 8 ? 2 : 3;
                const MovementEntry& e = model.Movement[b][k];
                QCOMPARE(ofSet.at(k - 1),
                    QStringLiteral("%1|%2|%3|%4|%5|%6").arg(b).arg(k).arg(section).arg(e.Table).arg(e.Round).arg(e.NS));
            }
        }
    }

    void noNonTypicalPart()
    {
        TournamentModel model = PairsModel(m_base, 2, 3, 3, 1, 0);
        ScriptedOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        for (const char* table : { "Tables", "PlayerNumbers", "RoundData" }) {
            QStringList sections = Rows(m_file, QString::fromLatin1(table), { QStringLiteral("Section") });
            sections.removeDuplicates();
            QCOMPARE(sections, L({ "1", "2" }));
        }
        QCOMPARE(Rows(m_file, QStringLiteral("[Section]"), { QStringLiteral("ID") }), L({ "1", "2" }));
        QCOMPARE(Rows(m_file, QStringLiteral("RoundData"), { QStringLiteral("Section") }).size(), 3 * 6);
    }

    void individualWithNonTypicalSectors()
    {
        TournamentModel model = IndividualModel(m_base, 2, 4, 2 * 3);
        ScriptedOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        QCOMPARE(Rows(m_file, QStringLiteral("Tables"), Columns("Section,Table")),
            L({ "1|1", "1|2", "1|3", "2|1", "2|2", "3|1", "3|2" }));
        QCOMPARE(
            Rows(m_file, QStringLiteral("[Section]"), Columns("ID,Letter,Tables")), L({ "1|A|3", "2|B|3", "3|C|3" }));
        const QStringList rounds
            = Rows(m_file, QStringLiteral("RoundData"), Columns("custom_Komp,custom_Zyrt,Section,custom_S,custom_W"));
        QCOMPARE(rounds.size(), 3 * 9);
        QCOMPARE(rounds.mid(0, 9),
            L({ "1|1|1|3001|4001", "1|2|1|3002|4002", "1|3|1|3003|4003", "1|4|2|3004|4004", "1|5|2|3005|4005",
                "1|6|2|3006|4006", "1|7|3|3007|4007", "1|8|3|3008|4008", "1|9|3|3009|4009" }));
        QCOMPARE(Rows(m_file, QStringLiteral("Settings"), { QStringLiteral("custom_pairs") }), L({ "0" }));
    }

    void settingsRow_data()
    {
        QTest::addColumn<bool>("pairs");
        QTest::newRow("pairs") << true;
        QTest::newRow("individual") << false;
    }

    void settingsRow()
    {
        QFETCH(bool, pairs);
        TournamentModel model = PairsModel(m_base, 1, 3, 3, 2, 0);
        model.PairsEvent = pairs;
        ScriptedOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        const QStringList columns = Columns(
            "Section,ShowResults,ShowOwnResult,RepeatResults,MaximumResults,ShowPercentage,GroupSections,ScorePoints,"
            "EnterResultsMethod,ShowPairNumbers,IntermediateResults,AutopoweroffTime,VerificationTime,ShowContract,"
            "LeadCard,MemberNumbers,MemberNumbersNoBlankEntry,BoardOrderVerification,AutoShutDownBPC,custom_pairs");
        QCOMPARE(Rows(m_file, QStringLiteral("Settings"), columns),
            QStringList({ QStringLiteral("-|1|1|0|0|1|1|0|0|1|0|10|1|0|1|0|0|1|0|")
                + (pairs ? QStringLiteral("1") : QStringLiteral("0")) }));
    }

    // A database whose Settings lacks Kibic's own column still gets its options row.
    void settingsWithoutCustomPairs()
    {
        TournamentModel model = PairsModel(m_base, 1, 3, 3, 2, 0);
        ScriptedOperator op;
        const DatabaseFiller fill = [](const TournamentModel& m, const QString& file) {
            {
                DbConnection connection(ScoringConnectionString(file));
                (void)connection.Execute(QStringLiteral("DROP TABLE [Settings]"));
                (void)connection.Execute(
                    QStringLiteral("CREATE TABLE [Settings] ([Section] INTEGER,[ShowResults] YESNO "
                                   "DEFAULT True,[ShowOwnResult] YESNO,[RepeatResults] YESNO,[MaximumResults] INTEGER,"
                                   "[ShowPercentage] YESNO,[GroupSections] YESNO,[ScorePoints] INTEGER,"
                                   "[EnterResultsMethod] INTEGER,[ShowPairNumbers] YESNO,[IntermediateResults] "
                                   "YESNO,[AutopoweroffTime] INTEGER,[VerificationTime] INTEGER,[ShowContract] "
                                   "INTEGER,[LeadCard] YESNO,[MemberNumbers] YESNO)"));
            }
            FillScoringDatabase(m, file);
        };
        QVERIFY(BuildScoringDatabase(model, op, fill));
        QCOMPARE(Rows(m_file, QStringLiteral("Settings"), Columns("AutopoweroffTime,LeadCard")), L({ "10|1" }));
    }

    void fillingTwiceReplacesTheRows()
    {
        TournamentModel model = PairsModel(m_base, 1, 4, 2, 2, 0);
        ScriptedOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        FillScoringDatabase(model, m_file);
        QCOMPARE(Rows(m_file, QStringLiteral("Tables"), { QStringLiteral("Table") }).size(), 4);
        QCOMPARE(Rows(m_file, QStringLiteral("RoundData"), { QStringLiteral("Table") }).size(), 8);
        QCOMPARE(Rows(m_file, QStringLiteral("Settings"), { QStringLiteral("Section") }).size(), 1);
    }

    void existingFile_data()
    {
        QTest::addColumn<ModalResult>("answer");
        QTest::addColumn<bool>("built");
        QTest::newRow("&Tak") << ModalResult::Yes << true;
        QTest::newRow("&Nie") << ModalResult::No << false;
        QTest::newRow("closed") << ModalResult::Cancel << false;
    }

    void existingFile()
    {
        QFETCH(ModalResult, answer);
        QFETCH(bool, built);
        QFile old(m_file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the database of last week");
        old.close();
        TournamentModel model = PairsModel(m_base, 1, 3, 3, 2, 0);
        ScriptedOperator op;
        op.QueueAnswer(answer);
        QCOMPARE(BuildScoringDatabase(model, op), built);
        QCOMPARE(op.Messages, QStringList({ m_file + QStringLiteral(" istnieje.\nNadpisać?") }));
        QCOMPARE(op.Kinds, QList<DialogKind>({ DialogKind::Confirm }));
        if (built) {
            QCOMPARE(DetectDatabaseFormat(m_file), DatabaseFormat::Sqlite);
            QCOMPARE(Rows(m_file, QStringLiteral("Tables"), { QStringLiteral("Table") }).size(), 3);
        } else {
            QCOMPARE(Content(m_file), QByteArray("the database of last week"));
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), L({ "cup.bws" }));
        }
    }

    // A database that holds results from the tables: the question says so after its own text, "&Nie" has the
    // focus, and "&Tak" keeps the old file beside the new one under a name with the date and time.
    void existingDatabaseWithResults_data()
    {
        QTest::addColumn<ModalResult>("answer");
        QTest::addColumn<bool>("built");
        QTest::newRow("&Tak") << ModalResult::Yes << true;
        QTest::newRow("&Nie") << ModalResult::No << false;
        QTest::newRow("closed") << ModalResult::Cancel << false;
    }

    void existingDatabaseWithResults()
    {
        QFETCH(ModalResult, answer);
        QFETCH(bool, built);
        TournamentModel model = PairsModel(m_base, 1, 3, 3, 2, 0);
        ScriptedOperator first;
        QVERIFY(BuildScoringDatabase(model, first));
        ReceiveResults(m_file, 4);
        const QByteArray before = Content(m_file);

        QuestionLog op;
        op.QueueAnswer(answer);
        QCOMPARE(BuildScoringDatabase(model, op), built);

        QCOMPARE(op.Questions, QList<Question>({ Question::OverwriteResults }));
        QCOMPARE(FocusedAnswer(op.Questions.first()), DialogButton::No);
        QCOMPARE(op.Messages.first(),
            m_file + QStringLiteral(" istnieje.\nNadpisać?\nBaza ") + m_file
                + QStringLiteral(
                    " zawiera wyniki otrzymane od stołów (4); przed nadpisaniem zachowam jej kopię obok."));
        const QStringList copies = QDir(m_dir->path()).entryList({ QStringLiteral("cup-kopia-*.bws") }, QDir::Files);
        if (!built) {
            QCOMPARE(op.Messages.size(), 1);
            QVERIFY(copies.isEmpty());
            QCOMPARE(Content(m_file), before);
            return;
        }
        QCOMPARE(copies.size(), 1);
        const QString copy = m_dir->filePath(copies.first());
        QVERIFY2(QRegularExpression(QStringLiteral("^cup-kopia-\\d{4}-\\d\\d-\\d\\d-\\d{6}\\.bws$"))
                     .match(copies.first())
                     .hasMatch(),
            qPrintable(copies.first()));
        QCOMPARE(Content(copy), before);
        QCOMPARE(Rows(copy, QStringLiteral("ReceivedData"), { QStringLiteral("Board") }), L({ "1", "2", "3", "4" }));
        QCOMPARE(Rows(m_file, QStringLiteral("ReceivedData"), { QStringLiteral("Board") }), QStringList());
        QCOMPARE(op.Messages.mid(1),
            QStringList({ QStringLiteral("Poprzednią bazę %1 zachowano jako %2.").arg(m_file, copy) }));
        QCOMPARE(op.Kinds, QList<DialogKind>({ DialogKind::Confirm, DialogKind::Info }));
    }

    // A database without results asks as before and keeps no copy; one whose results cannot be counted is
    // treated as holding some.
    void existingDatabaseWithoutCountedResults_data()
    {
        QTest::addColumn<bool>("countable");
        QTest::addColumn<Question>("question");
        QTest::addColumn<int>("copies");
        QTest::newRow("no results") << true << Question::Overwrite << 0;
        QTest::newRow("no ReceivedData table") << false << Question::OverwriteResults << 1;
    }

    void existingDatabaseWithoutCountedResults()
    {
        QFETCH(bool, countable);
        QFETCH(Question, question);
        QFETCH(int, copies);
        TournamentModel model = PairsModel(m_base, 1, 3, 3, 2, 0);
        ScriptedOperator first;
        QVERIFY(BuildScoringDatabase(model, first));
        if (!countable) {
            DbConnection connection(ScoringConnectionString(m_file));
            (void)connection.Execute(QStringLiteral("DROP TABLE [ReceivedData]"));
        }
        QuestionLog op(ModalResult::Yes);
        QVERIFY(BuildScoringDatabase(model, op));
        QCOMPARE(op.Questions, QList<Question>({ question }));
        if (countable)
            QCOMPARE(op.Messages, QStringList({ m_file + QStringLiteral(" istnieje.\nNadpisać?") }));
        else
            QVERIFY2(op.Messages.first().contains(
                         QStringLiteral("\nNie można policzyć wyników otrzymanych od stołów w bazie ") + m_file),
                qPrintable(op.Messages.first()));
        QCOMPARE(QDir(m_dir->path()).entryList({ QStringLiteral("cup-kopia-*") }, QDir::Files).size(), copies);
    }

    void keptCopyNames_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << QStringList() << "cup-kopia-2025-03-14-190733.bws";
        QTest::newRow("taken") << L({ "cup-kopia-2025-03-14-190733.bws" }) << "cup-kopia-2025-03-14-190733-2.bws";
        QTest::newRow("taken twice") << L({ "cup-kopia-2025-03-14-190733.bws", "cup-kopia-2025-03-14-190733-2.bws" })
                                     << "cup-kopia-2025-03-14-190733-3.bws";
    }

    void keptCopyNames()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        for (const QString& name : present)
            WriteFileBytes(m_dir->filePath(name), "kopia");
        const QDateTime when(QDate(2025, 3, 14), QTime(19, 7, 33));
        QCOMPARE(KeptCopyName(m_file, when), m_dir->filePath(expected));
    }

    // No room for the copy: the database that holds results stays as it is, and the operator is told why.
    void copyThatCannotBeMadeKeepsTheDatabase()
    {
        kibic::test::SmallDisk disk(1024);
        if (!disk.Mounted)
            QSKIP(qPrintable(disk.Why));
        const QString base = disk.Path(QStringLiteral("cup"));
        const QString file = base + QStringLiteral(".bws");
        TournamentModel model = PairsModel(base, 1, 3, 3, 2, 0);
        ScriptedOperator first;
        QVERIFY(BuildScoringDatabase(model, first));
        ReceiveResults(file, 2);
        const QByteArray before = Content(file);
        QVERIFY(disk.Fill(before.size() / 2));
        ScriptedOperator op(ModalResult::Yes);
        QVERIFY(!BuildScoringDatabase(model, op));
        QCOMPARE(Content(file), before);
        QCOMPARE(op.Kinds, QList<DialogKind>({ DialogKind::Confirm, DialogKind::Error }));
        QVERIFY2(op.Messages.last().startsWith(
                     QStringLiteral("Nie zachowano kopii bazy %1 (nie została nadpisana)").arg(file)),
            qPrintable(op.Messages.last()));
        QVERIFY2(op.Messages.last().contains(QStringLiteral("brak miejsca na dysku")), qPrintable(op.Messages.last()));
        // No copy and no new file; what SQLite keeps beside an open file (the Jet stand-in's write-ahead log,
        // which a full disk leaves in place) is no file of Kibic's.
        QStringList files = QDir(disk.Path(QString())).entryList({ QStringLiteral("cup*") }, QDir::Files);
        files.removeIf([](const QString& name) {
            return name.endsWith(QStringLiteral("-wal")) || name.endsWith(QStringLiteral("-shm"));
        });
        QCOMPARE(files, L({ "cup.bws" }));
    }

    void overwriteAsksWithYesAndNo()
    {
        QFile old(m_file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        struct Recording : ScriptedOperator
        {
            ModalResult ShowMessageDialog(const QString& text, DialogKind kind, DialogButtons buttons) override
            {
                Buttons.append(buttons);
                return ScriptedOperator::ShowMessageDialog(text, kind, buttons);
            }
            QList<DialogButtons> Buttons;
        } op;
        TournamentModel model = PairsModel(m_base, 1, 3, 3, 2, 0);
        QVERIFY(!BuildScoringDatabase(model, op));
        QCOMPARE(op.Buttons, QList<DialogButtons>({ YesNoQuestion }));
    }

    void individualWithoutExtraSlotsMakesNoFile()
    {
        // Two non-typical sectors of 3 rounds need 6 slots; the movement has the 4 of its extra tables.
        TournamentModel model = IndividualModel(m_base, 2, 4, 4);
        ScriptedOperator op;
        QVERIFY(!BuildScoringDatabase(model, op));
        QVERIFY(!QFile::exists(m_file));
        QCOMPARE(op.Messages.size(), 1);
        QVERIFY2(op.Messages.first().contains(m_base), qPrintable(op.Messages.first()));
        QVERIFY(op.Messages.first().contains(QStringLiteral("sektorów nietypowych")));
        QCOMPARE(op.Kinds, QList<DialogKind>({ DialogKind::Error }));
    }

    // The old file is not even offered for overwriting when the new one could not be filled.
    void modelThatCannotFillKeepsTheOldFile()
    {
        QFile old(m_file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        TournamentModel model = IndividualModel(m_base, 2, 4, 4);
        ScriptedOperator op(ModalResult::Yes);
        QVERIFY(!BuildScoringDatabase(model, op));
        QCOMPARE(Content(m_file), QByteArray("old"));
        QCOMPARE(op.Messages.size(), 1);
    }

    void shortModels_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("movement without a board set") << 1;
        QTest::newRow("board set without its last slot") << 2;
        QTest::newRow("board numbering too short") << 3;
    }

    void shortModels()
    {
        QFETCH(int, fault);
        TournamentModel model = PairsModel(m_base, 2, 4, 3, 2, 2);
        if (fault == 1)
            model.Movement.pop_back();
        if (fault == 2)
            model.Movement[3].pop_back();
        if (fault == 3)
            model.BoardNumbers.pop_back();
        QVERIFY_THROWS_EXCEPTION(KibicError, CheckModelFillsDatabase(model));
        ScriptedOperator op;
        QVERIFY(!BuildScoringDatabase(model, op));
        QVERIFY(!QFile::exists(m_file));
    }

    void creationFailureIsShownAsAnError()
    {
        TournamentModel model = PairsModel(m_dir->filePath(QStringLiteral("missing/folder/cup")), 1, 3, 3, 2, 0);
        ScriptedOperator op;
        QVERIFY(!BuildScoringDatabase(model, op));
        QCOMPARE(op.Kinds, QList<DialogKind>({ DialogKind::Error }));
        QVERIFY(!op.BusyCursor);
    }

    // The RoundData table refuses rows (as a broken file would): the three tables filled before it must
    // not survive as a database that looks whole.
    void halfFilledFileIsDeleted()
    {
        TournamentModel model = PairsModel(m_base, 1, 4, 4, 2, 0);
        struct CursorLog : ScriptedOperator
        {
            void SetBusyCursor(bool busy) override
            {
                Log.append(busy);
                ScriptedOperator::SetBusyCursor(busy);
            }
            QList<bool> Log;
        } op;
        bool tablesFilled = false;
        const DatabaseFiller fill = [&](const TournamentModel& m, const QString& file) {
            {
                DbConnection connection(ScoringConnectionString(file));
                (void)connection.Execute(QStringLiteral(
                    "CREATE TRIGGER refuse BEFORE INSERT ON [RoundData] BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
            }
            try {
                FillScoringDatabase(m, file);
            } catch (const KibicError&) {
                tablesFilled = Rows(file, QStringLiteral("Tables"), { QStringLiteral("Table") }).size() == 4;
                throw;
            }
        };
        QVERIFY(!BuildScoringDatabase(model, op, fill));
        QVERIFY(tablesFilled);
        QVERIFY(!QFile::exists(m_file));
        QVERIFY(!QFile::exists(m_file + QStringLiteral("-journal")));
        QCOMPARE(op.Log, QList<bool>({ true, false }));
        QCOMPARE(op.Messages.size(), 1);
        QVERIFY2(op.Messages.first().contains(QStringLiteral("disk full")), qPrintable(op.Messages.first()));
        QVERIFY(op.Messages.first().contains(m_file));
    }

    // The database is made under another name in the same folder and takes its own name only when it is
    // whole: while it is filled no file of its name exists, and a failed fill leaves neither file.
    void databaseTakesItsNameOnlyWhenWhole_data()
    {
        QTest::addColumn<bool>("fails");
        QTest::newRow("whole") << false;
        QTest::newRow("fill fails") << true;
    }

    void databaseTakesItsNameOnlyWhenWhole()
    {
        QFETCH(bool, fails);
        TournamentModel model = PairsModel(m_base, 1, 3, 3, 2, 0);
        ScriptedOperator op;
        QString filled;
        bool nameTaken = true;
        const DatabaseFiller fill = [&](const TournamentModel& m, const QString& file) {
            filled = file;
            nameTaken = QFile::exists(m_file);
            FillScoringDatabase(m, file);
            if (fails)
                throw KibicError(QStringLiteral("przerwane"));
        };
        QCOMPARE(BuildScoringDatabase(model, op, fill), !fails);
        QCOMPARE(filled, BuildingFileName(m_file));
        QCOMPARE(QFileInfo(filled).absolutePath(), m_dir->path());
        QVERIFY(!nameTaken);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), fails ? QStringList() : L({ "cup.bws" }));
        if (!fails)
            QCOMPARE(Rows(m_file, QStringLiteral("Tables"), { QStringLiteral("Table") }).size(), 3);
    }

    // What a killed build left under the building name goes; the new database is built whole.
    void leftoverOfAKilledBuildGoes()
    {
        WriteFileBytes(BuildingFileName(m_file), "half a database");
        WriteFileBytes(BuildingFileName(m_file) + QStringLiteral("-journal"), "its journal");
        TournamentModel model = PairsModel(m_base, 1, 3, 3, 2, 0);
        ScriptedOperator op;
        QVERIFY2(BuildScoringDatabase(model, op), qPrintable(op.Messages.join(QLatin1Char('\n'))));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), L({ "cup.bws" }));
        QCOMPARE(Rows(m_file, QStringLiteral("RoundData"), { QStringLiteral("Table") }).size(), 9);
    }

    // A CREATE TABLE that fails (here on a full disk) leaves no file behind, so the next build does not
    // refuse or ask because of it.
    void failedCreateTableLeavesNoFile()
    {
        KIBIC_SMALL_DISK(disk);
        const QString base = disk.Path(QStringLiteral("cup"));
        const QString file = base + QStringLiteral(".bws");
        bool tableRefused = false;
        for (qint64 leave = 4096; leave <= 32768 && !tableRefused; leave += 2048) {
            disk.Empty();
            QVERIFY(disk.Fill(leave));
            TournamentModel model = PairsModel(base, 1, 3, 3, 2, 0);
            ScriptedOperator op;
            if (BuildScoringDatabase(model, op))
                QFAIL("built on a full disk");
            QCOMPARE(op.Messages.size(), 1);
            tableRefused = op.Messages.first().contains(QStringLiteral("CREATE TABLE"));
            QCOMPARE(QDir(disk.Path(QString())).entryList(QDir::Files), L({ "filler" }));
        }
        QVERIFY2(tableRefused, "no CREATE TABLE failed on the full disk");
        disk.Empty();
        TournamentModel model = PairsModel(base, 1, 3, 3, 2, 0);
        ScriptedOperator op;
        QVERIFY2(BuildScoringDatabase(model, op), qPrintable(op.Messages.join(QLatin1Char('\n'))));
        QVERIFY(op.Messages.isEmpty());
        QCOMPARE(Rows(file, QStringLiteral("Tables"), { QStringLiteral("Table") }).size(), 3);
    }

private:
    static void WriteFileBytes(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    QString m_file;
};

QTEST_GUILESS_MAIN(TestBuildScoringDatabase)
#include "TestBuildScoringDatabase.moc"
