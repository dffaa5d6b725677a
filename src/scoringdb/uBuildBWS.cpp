// The scoring database of a tournament, built from the model row by row.
#include "scoringdb/uBuildBWS.h"

#include "common/BusyCursor.h"
#include "common/KibicError.h"
#include "common/Operator.h"
#include "common/SafeFiles.h"
#include "common/uNapisy.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/KeptDatabase.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uCreateBWS.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace kibic {

namespace {

const QString kSeats[] = { QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("S"), QStringLiteral("W") };

// Slots of every board set after the ordinary ones that the database rows use.
qint64 NonTypicalSlotCount(const TournamentModel& model)
{
    if (model.ExtraSectionCount < 1)
        return std::max<qint64>(model.ExtraTableCount, 0);
    return static_cast<qint64>(model.ExtraSectionCount) * std::max<qint64>(model.RoundCount, 0);
}

qint64 OrdinarySlotCount(const TournamentModel& model)
{
    return std::max<qint64>(model.SectionCount, 0) * std::max<qint64>(model.RoundCount, 0);
}

// Empties the table and lets fill append its rows, all in one write transaction.
template <typename Fill> void RefillTable(TTable& table, const QString& name, Fill fill)
{
    table.SetTableName(name);
    table.Open();
    table.Connection().BeginTransaction();
    table.First();
    while (!table.Eof())
        table.Delete();
    fill(table);
    table.Connection().CommitTransaction();
    table.Close();
}

void FillTables(TTable& table, const std::vector<DatabaseSection>& sections)
{
    for (const DatabaseSection& section : sections) {
        for (qint32 t = 1; t <= section.Tables; ++t) {
            table.Append();
            table.SetField(QStringLiteral("Section"), section.Number);
            table.SetField(QStringLiteral("Table"), t);
            table.SetField(QStringLiteral("ComputerID"), 1);
            table.Post();
        }
    }
}

void FillPlayerNumbers(TTable& table, const std::vector<DatabaseSection>& sections)
{
    for (const DatabaseSection& section : sections) {
        for (qint32 t = 1; t <= section.Tables; ++t) {
            for (const QString& seat : kSeats) {
                table.Append();
                table.SetField(QStringLiteral("Section"), section.Number);
                table.SetField(QStringLiteral("Table"), t);
                table.SetField(QStringLiteral("Direction"), seat);
                table.Post();
            }
        }
    }
}

// Every row carries the ordinary sections' TableCount, the non-typical sections' rows included: that is
// what the terminal server has always been given.
void FillSections(TTable& table, const TournamentModel& model)
{
    char16_t letter = u'A';
    const auto appendSection = [&](qint32 id) {
        table.Append();
        table.SetField(QStringLiteral("ID"), id);
        table.SetField(QStringLiteral("Letter"), QString(QChar(letter)));
        table.SetField(QStringLiteral("Tables"), model.TableCount);
        table.SetField(QStringLiteral("MissingPair"), 0);
        table.Post();
        ++letter;
    };
    for (qint32 s = 1; s <= model.SectionCount; ++s)
        appendSection(s);
    if (model.ExtraSectionCount < 1 && model.ExtraTableCount > 0)
        appendSection(model.SectionCount + 1);
    for (qint32 e = 1; e <= model.ExtraSectionCount; ++e)
        appendSection(model.SectionCount + e);
}

void FillRoundData(TTable& table, const TournamentModel& model)
{
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        const std::vector<MovementEntry>& boardSet = model.Movement[b];
        const qint32 lowBoard
            = model.BoardNumbers[static_cast<std::size_t>((b - 1) * qint64(model.BoardsPerRound) + 1)];
        const qint32 highBoard = model.BoardNumbers[static_cast<std::size_t>(b * qint64(model.BoardsPerRound))];
        qint32 slot = 0;
        const auto appendRound = [&](qint32 section) {
            ++slot;
            const MovementEntry& entry = boardSet[static_cast<std::size_t>(slot)];
            table.Append();
            table.SetField(QStringLiteral("Section"), section);
            table.SetField(QStringLiteral("Table"), entry.Table);
            table.SetField(QStringLiteral("Round"), entry.Round);
            table.SetField(QStringLiteral("NSPair"), entry.NS);
            table.SetField(QStringLiteral("EWPair"), entry.EW);
            table.SetField(QStringLiteral("LowBoard"), lowBoard);
            table.SetField(QStringLiteral("HighBoard"), highBoard);
            table.SetField(QStringLiteral("custom_Zyrt"), slot);
            table.SetField(QStringLiteral("custom_Komp"), b);
            table.SetField(QStringLiteral("custom_S"), entry.South);
            table.SetField(QStringLiteral("custom_W"), entry.West);
            table.Post();
        };
        for (qint32 s = 1; s <= model.SectionCount; ++s)
            for (qint32 r = 1; r <= model.RoundCount; ++r)
                appendRound(s);
        if (model.ExtraSectionCount < 1) {
            for (qint32 t = 1; t <= model.ExtraTableCount; ++t)
                appendRound(model.SectionCount + 1);
        } else {
            for (qint32 e = 1; e <= model.ExtraSectionCount; ++e)
                for (qint32 r = 1; r <= model.RoundCount; ++r)
                    appendRound(model.SectionCount + e);
        }
    }
}

void FillSettings(TTable& table, const TournamentModel& model)
{
    table.Append();
    table.SetField(QStringLiteral("ShowResults"), true);
    table.SetField(QStringLiteral("ShowOwnResult"), true);
    table.SetField(QStringLiteral("RepeatResults"), false);
    table.SetField(QStringLiteral("MaximumResults"), 0);
    table.SetField(QStringLiteral("ShowPercentage"), true);
    table.SetField(QStringLiteral("GroupSections"), true);
    table.SetField(QStringLiteral("ScorePoints"), 0);
    table.SetField(QStringLiteral("EnterResultsMethod"), 0);
    table.SetField(QStringLiteral("ShowPairNumbers"), true);
    table.SetField(QStringLiteral("IntermediateResults"), false);
    table.SetField(QStringLiteral("AutopoweroffTime"), 10);
    table.SetField(QStringLiteral("VerificationTime"), 1);
    table.SetField(QStringLiteral("ShowContract"), 0);
    table.SetField(QStringLiteral("LeadCard"), true);
    table.SetField(QStringLiteral("MemberNumbers"), false);
    // A database without Kibic's own column still gets its row.
    if (table.HasField(QStringLiteral("custom_pairs")))
        table.SetField(QStringLiteral("custom_pairs"), model.PairsEvent);
    table.Post();
}

// Puts the whole database built under building in place of file and makes it durable. A rollback
// journal left beside file by an earlier database would be played into the new one, so it goes first.
void PutInPlace(const QString& building, const QString& file)
{
    for (const char* suffix : { "-journal", "-wal", "-shm" })
        QFile::remove(file + QLatin1String(suffix));
    ForceFileToDisk(building);
    MoveIntoPlace(building, file, QStringLiteral("Nie można zapisać bazy pod jej nazwą"));
}

// Asks before the existing file is replaced. A file that may hold results the tables sent is asked about
// with how many and "&Nie" in focus, and a copy of it is kept beside it before it goes: one Enter never
// loses a tournament's results. False when the operator keeps the file, or when the copy could not be made.
bool MayReplace(const QString& file, Operator& op)
{
    const QString question = file + uNapisy::IstniejeNadpisac;
    const ReceivedResults results = CountReceivedResults(file);
    if (!results.MayBeLost())
        return op.Ask(Question::Overwrite, question) == ModalResult::Yes;
    if (op.Ask(Question::OverwriteResults, question + QLatin1Char('\n') + ReceivedResultsLine(file, results))
        != ModalResult::Yes)
        return false;
    try {
        const QString copy = KeepCopy(file);
        op.ShowInfo(QStringLiteral("Poprzednią bazę %1 zachowano jako %2.").arg(file, copy));
    } catch (const KibicError& error) {
        op.ShowError(error.Message());
        return false;
    }
    return true;
}

} // namespace

QString BuildingFileName(const QString& file)
{
    const QFileInfo info(file);
    return info.dir().filePath(QLatin1Char('~') + info.fileName());
}

std::vector<DatabaseSection> DatabaseSections(const TournamentModel& model)
{
    std::vector<DatabaseSection> sections;
    for (qint32 s = 1; s <= model.SectionCount; ++s)
        sections.push_back({ s, model.TableCount });
    if (model.ExtraSectionCount < 1) {
        if (model.ExtraTableCount > 0)
            sections.push_back({ model.SectionCount + 1, model.ExtraTableCount });
    } else {
        for (qint32 e = 1; e <= model.ExtraSectionCount; ++e)
            sections.push_back({ model.SectionCount + e, model.ExtraTableCount / model.ExtraSectionCount });
    }
    return sections;
}

QString ScoringDatabaseFileName(const TournamentModel& model)
{
    return model.TournamentBase + QStringLiteral(".bws");
}

void CheckModelFillsDatabase(const TournamentModel& model)
{
    const QString file = ScoringDatabaseFileName(model);
    if (model.TableCount <= 0)
        return;
    if (static_cast<qint64>(model.Movement.size()) <= model.TableCount)
        throw KibicError(QStringLiteral("Ruch turnieju %1 obejmuje %2 kompletów rozdań, a stołów jest %3. "
                                        "Nie utworzono bazy %4.")
                             .arg(model.TournamentBase)
                             .arg(std::max<qint64>(static_cast<qint64>(model.Movement.size()) - 1, 0))
                             .arg(model.TableCount)
                             .arg(file));
    const qint64 ordinary = OrdinarySlotCount(model);
    const qint64 needed = ordinary + NonTypicalSlotCount(model);
    for (qint32 b = 1; b <= model.TableCount; ++b) {
        const qint64 present = std::max<qint64>(static_cast<qint64>(model.Movement[b].size()) - 1, 0);
        if (present >= needed)
            continue;
        if (!model.PairsEvent && model.ExtraSectionCount >= 1)
            throw KibicError(
                QStringLiteral("Ruch turnieju indywidualnego %1 ma za mało pozycji dla sektorów nietypowych: "
                               "%2 sektorów po %3 rund wymaga %4 pozycji po zwykłych, a komplet %5 ma ich %6. "
                               "Nie utworzono bazy %7.")
                    .arg(model.TournamentBase)
                    .arg(model.ExtraSectionCount)
                    .arg(model.RoundCount)
                    .arg(needed - ordinary)
                    .arg(b)
                    .arg(std::max<qint64>(present - ordinary, 0))
                    .arg(file));
        throw KibicError(QStringLiteral("Ruch turnieju %1: komplet %2 ma %3 pozycji, a potrzeba %4. "
                                        "Nie utworzono bazy %5.")
                             .arg(model.TournamentBase)
                             .arg(b)
                             .arg(present)
                             .arg(needed)
                             .arg(file));
    }
    const qint64 lowest = 1;
    const qint64 highest = static_cast<qint64>(model.TableCount) * model.BoardsPerRound;
    const qint64 boards = static_cast<qint64>(model.BoardNumbers.size());
    if (model.BoardsPerRound < 0 || highest >= boards || lowest >= boards)
        throw KibicError(QStringLiteral("Numeracja rozdań turnieju %1 obejmuje %2 rozdań, a %3 kompletów po %4 "
                                        "rozdań wymaga %5. Nie utworzono bazy %6.")
                             .arg(model.TournamentBase)
                             .arg(std::max<qint64>(boards - 1, 0))
                             .arg(model.TableCount)
                             .arg(model.BoardsPerRound)
                             .arg(std::max(highest, lowest))
                             .arg(file));
}

void FillScoringDatabase(const TournamentModel& model, const QString& fileName)
{
    CheckModelFillsDatabase(model);
    const std::vector<DatabaseSection> sections = DatabaseSections(model);
    TTable table;
    table.SetConnectionString(ScoringConnectionString(fileName));
    RefillTable(table, QStringLiteral("Tables"), [&](TTable& t) { FillTables(t, sections); });
    RefillTable(table, QStringLiteral("PlayerNumbers"), [&](TTable& t) { FillPlayerNumbers(t, sections); });
    RefillTable(table, QStringLiteral("[Section]"), [&](TTable& t) { FillSections(t, model); });
    RefillTable(table, QStringLiteral("RoundData"), [&](TTable& t) { FillRoundData(t, model); });
    RefillTable(table, QStringLiteral("Settings"), [&](TTable& t) { FillSettings(t, model); });
}

bool BuildScoringDatabase(TournamentModel& model, Operator& op, const DatabaseFiller& fill)
{
    model.OpenedExisting = false;
    const QString file = ScoringDatabaseFileName(model);
    // Checked before the old file is touched: a tournament that cannot fill a database leaves it as it is.
    try {
        CheckModelFillsDatabase(model);
    } catch (const KibicError& error) {
        op.ShowError(error.Message());
        return false;
    }

    if (QFileInfo::exists(file)) {
        if (!MayReplace(file, op))
            return false;
        // A file the terminal server still holds cannot go; creation then says so.
        (void)RemoveDatabaseFile(file);
    }

    BusyCursor cursor(op);
    // The database is made under another name beside it and takes its own name only when it is whole: a
    // build that fails or is killed never leaves a file that the terminal server or a transfer would take
    // for a database. A leftover of a killed build goes first.
    const QString building = BuildingFileName(file);
    (void)RemoveDatabaseFile(building);
    QString errorMessage;
    // One connection for the whole build, let go before the file takes its name (an open file cannot be
    // renamed on Windows) and before a failed build's file is removed.
    std::optional<DatabaseHold> hold(std::in_place, ScoringConnectionString(building));
    CreationRoute route;
    CreateBWS(building, false, false, errorMessage, route);
    if (!errorMessage.isEmpty()) {
        hold.reset();
        cursor.Restore();
        (void)RemoveDatabaseFile(building);
        errorMessage.replace(building, file).replace(QDir::toNativeSeparators(building), QDir::toNativeSeparators(file));
        route.Failure = errorMessage;
        RememberCreationRoute(route);
        op.ShowMessageDialog(errorMessage, DialogKind::Error, DialogButton::Ok);
        return false;
    }

    try {
        fill(model, building);
        hold.reset();
        PutInPlace(building, file);
        op.ShowNote(CreationRouteText(route, file));
    } catch (const KibicError& error) {
        hold.reset();
        cursor.Restore();
        QString message = QString(error.Message()).replace(building, file);
        if (!RemoveDatabaseFile(building))
            message += QStringLiteral("\nNie można usunąć niepełnej bazy %1.").arg(building);
        op.ShowError(message);
        return false;
    } catch (...) {
        hold.reset();
        cursor.Restore();
        (void)RemoveDatabaseFile(building);
        throw;
    }
    return true;
}

} // namespace kibic
