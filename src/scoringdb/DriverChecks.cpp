// The driver asked, on a scratch scoring database, for each thing Kibic and the terminal server rely on.
#include "scoringdb/DriverChecks.h"

#include "common/KibicError.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uCreateBWS.h"

#include <QDate>
#include <QStringList>
#include <QTime>
#include <functional>

namespace kibic {

namespace {

const QString kPrefix = QStringLiteral("sterownik: ");

// Markers in Remarks that tell the rows of one check from those of another.
const QString kDefaultsMarker = QStringLiteral("domyślne");
const QString kTextsMarker = QStringLiteral("teksty");
const QString kFlagsMarker = QStringLiteral("tak-nie");
const QString kIdentityMarker = QStringLiteral("numer");
const QString kLockMarker = QStringLiteral("blokada");
const QString kTooLongMarker = QStringLiteral("za długi");

// A one-letter text, and a name with every Polish letter (the names column holds 19 characters).
const QString kOneLetter = QStringLiteral("E");
const QString kPolishName = QStringLiteral("Zażółć Gęślą Jaźń");

DriverCheck Passed(const QString& text)
{
    return { true, kPrefix + text };
}

DriverCheck Failed(const QString& text)
{
    return { false, kPrefix + text };
}

// The first column of the first row; invalid when there is no row.
QVariant Scalar(DbConnection& db, const QString& sql, const QVariantList& values)
{
    DbRows& rows = db.RunPrepared(sql, values);
    QVariant value;
    if (rows.Next())
        value = rows.Value(0);
    rows.Finish();
    return value;
}

QString Shown(const QVariant& value)
{
    if (!value.isValid())
        return QStringLiteral("brak wiersza");
    if (value.isNull())
        return QStringLiteral("NULL");
    // A Yes/No that the driver hands over as a bit.
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("bit 1") : QStringLiteral("bit 0");
    return value.toString();
}

// Appends a check's row as the terminal server appends a score; the marker goes into Remarks.
void AppendServerRow(DbConnection& db, const QString& marker, const QString& side = QStringLiteral("N"))
{
    (void)db.Execute(TerminalServerInsertStatement(),
        TerminalServerInsertValues(db.Dialect() == SqlDialect::Sqlite, kDriverCheckSection, 1, 1, 1, 1, 2, 1, side,
            QStringLiteral("3 NT"), QStringLiteral("="), QStringLiteral("H5"), marker));
}

const QString kByMarker = QStringLiteral(" FROM [ReceivedData] WHERE [Section]=? AND [Remarks]=?");

QVariantList Marked(const QString& marker)
{
    return { kDriverCheckSection, marker };
}

// The columns the terminal server leaves to the file: each must read back as No (0), and the row must
// have its number.
DriverCheck CheckDefaults(DbConnection& db)
{
    AppendServerRow(db, kDefaultsMarker);
    const QStringList flags = { QStringLiteral("Processed"), QStringLiteral("Processed1"), QStringLiteral("Processed2"),
        QStringLiteral("Processed3"), QStringLiteral("Processed4"), QStringLiteral("Erased") };
    QStringList wrong;
    for (const QString& column : flags) {
        const QVariant value = Scalar(db, QStringLiteral("SELECT [%1]").arg(column) + kByMarker, Marked(kDefaultsMarker));
        if (!value.isValid() || value.isNull() || value.toLongLong() != 0)
            wrong << QStringLiteral("%1=%2").arg(column, Shown(value));
    }
    const QVariant id = Scalar(db, QStringLiteral("SELECT [ID]") + kByMarker, Marked(kDefaultsMarker));
    if (!id.isValid() || id.isNull())
        wrong << QStringLiteral("ID=%1").arg(Shown(id));
    if (!wrong.isEmpty())
        return Failed(QStringLiteral("wartości domyślne nie działają: wiersz dopisany do ReceivedData z kolumnami "
                                     "serwera pierniczków ma %1 (powinno być: Processed, Processed1-4 i Erased = 0, "
                                     "ID nadany)")
                          .arg(wrong.join(QStringLiteral(", "))));
    return Passed(QStringLiteral("wartości domyślne działają: wiersz dopisany do ReceivedData z kolumnami serwera "
                                 "pierniczków ma Processed, Processed1-4 i Erased = 0 (Nie) i nadany ID"));
}

// A text comes back as it was stored: not padded to its column, every Polish letter intact.
DriverCheck CheckTexts(DbConnection& db)
{
    AppendServerRow(db, kTextsMarker, kOneLetter);
    const QString lengthFunction = db.Dialect() == SqlDialect::Sqlite ? QStringLiteral("LENGTH") : QStringLiteral("LEN");
    const QVariant length
        = Scalar(db, QStringLiteral("SELECT %1([NS/EW])").arg(lengthFunction) + kByMarker, Marked(kTextsMarker));
    const QVariant letter = Scalar(db, QStringLiteral("SELECT [NS/EW]") + kByMarker, Marked(kTextsMarker));
    (void)db.Execute(QStringLiteral("INSERT INTO [PlayerNumbers] ([Section],[Table],[Direction],[Number],[Name]) "
                                    "VALUES (?,?,?,?,?)"),
        { kDriverCheckSection, 1, QStringLiteral("N"), QStringLiteral("1"), kPolishName });
    const QVariant name = Scalar(db, QStringLiteral("SELECT [Name] FROM [PlayerNumbers] WHERE [Section]=? AND [Table]=?"),
        { kDriverCheckSection, 1 });
    QStringList wrong;
    if (!length.isValid() || length.isNull() || length.toLongLong() != 1)
        wrong << QStringLiteral("%1() tekstu \"%2\" w ReceivedData.[NS/EW] = %3 (powinno być 1), odczytany jako \"%4\"")
                     .arg(lengthFunction, kOneLetter, Shown(length), Shown(letter));
    else if (letter.toString() != kOneLetter)
        wrong << QStringLiteral("tekst \"%1\" w ReceivedData.[NS/EW] odczytany jako \"%2\"").arg(kOneLetter, Shown(letter));
    if (name.toString() != kPolishName)
        wrong << QStringLiteral("nazwisko \"%1\" w PlayerNumbers.[Name] odczytane jako \"%2\"").arg(kPolishName, Shown(name));
    if (!wrong.isEmpty())
        return Failed(QStringLiteral("teksty zmienione: ") + wrong.join(QStringLiteral("; ")));
    return Passed(QStringLiteral("teksty zapisane dokładnie: %1() tekstu \"%2\" = 1, nazwisko \"%3\" odczytane bez zmian")
                      .arg(lengthFunction, kOneLetter, kPolishName));
}

// A Yes/No set the way Kibic marks a score (a table object's post) and read back the way Kibic reads it,
// beside the value the file keeps, which the terminal server reads.
DriverCheck CheckFlags(DbConnection& db, const QString& connectionString)
{
    AppendServerRow(db, kFlagsMarker);
    const auto markAndRead = [&](bool flag, bool& readBack, QVariant& stored) {
        TTable table(connectionString, QStringLiteral("ReceivedData"));
        table.SetFilter(QStringLiteral("[Section]=%1").arg(kDriverCheckSection));
        table.Open();
        if (!table.Locate(QStringLiteral("Remarks"), { kFlagsMarker }))
            throw KibicError(QStringLiteral("Tabela ReceivedData bazy %1: brak wiersza sprawdzenia Tak/Nie.")
                                 .arg(DataSourceOf(connectionString)));
        table.Edit();
        table.SetField(QStringLiteral("Processed"), flag);
        table.Post();
        table.Close();
        TTable again(connectionString, QStringLiteral("ReceivedData"));
        again.SetFilter(QStringLiteral("[Section]=%1").arg(kDriverCheckSection));
        again.Open();
        readBack = again.Locate(QStringLiteral("Remarks"), { kFlagsMarker }) && again.FieldAsBoolean(QStringLiteral("Processed"));
        stored = Scalar(db, QStringLiteral("SELECT [Processed]") + kByMarker, Marked(kFlagsMarker));
    };
    bool yesRead = false;
    bool noRead = true;
    QVariant yesStored;
    QVariant noStored;
    markAndRead(true, yesRead, yesStored);
    markAndRead(false, noRead, noStored);
    // Jet keeps Yes as -1; a SQLite file (rehearsal only) keeps 1.
    const qint64 yesValue = db.Dialect() == SqlDialect::Access ? -1 : 1;
    const QString summary = QStringLiteral("Tak zapisane jako %1 i odczytane jako %2, Nie zapisane jako %3 i odczytane jako %4")
                                .arg(Shown(yesStored), yesRead ? QStringLiteral("Tak") : QStringLiteral("Nie"),
                                    Shown(noStored), noRead ? QStringLiteral("Tak") : QStringLiteral("Nie"));
    // The Access driver describes a Yes/No column as a bit and hands it over as one; as a number it is
    // what the file keeps.
    const auto storedAs = [](const QVariant& stored, bool flag, qint64 number) {
        if (stored.isNull() || !stored.isValid())
            return false;
        if (stored.typeId() == QMetaType::Bool)
            return stored.toBool() == flag;
        return stored.toLongLong() == number;
    };
    const bool sound = yesRead && !noRead && storedAs(yesStored, true, yesValue) && storedAs(noStored, false, 0);
    if (!sound)
        return Failed(QStringLiteral("Tak/Nie w ReceivedData.[Processed] nie jak w Kiciu: %1 (powinno być %2 i 0)")
                          .arg(summary)
                          .arg(yesValue));
    return Passed(QStringLiteral("Tak/Nie w ReceivedData.[Processed]: ") + summary);
}

// The number of a row just appended, as Kibic asks for it, is that row's, even after the other program
// appended a row of its own on its own connection.
DriverCheck CheckIdentity(DbConnection& db, DbConnection& other)
{
    const qint64 first = db.ExecuteInsert(TerminalServerInsertStatement(),
        TerminalServerInsertValues(db.Dialect() == SqlDialect::Sqlite, kDriverCheckSection, 2, 1, 1, 1, 2, 1,
            QStringLiteral("N"), QStringLiteral("3 NT"), QStringLiteral("="), QStringLiteral("H5"), kIdentityMarker));
    const QVariant stored = Scalar(db, QStringLiteral("SELECT [ID]") + kByMarker, Marked(kIdentityMarker));
    AppendServerRow(other, kIdentityMarker + QStringLiteral("-2"));
    const qint64 afterOther = db.LastInsertRowId();
    const QString question = db.Dialect() == SqlDialect::Sqlite ? QStringLiteral("last_insert_rowid()")
                                                                : QStringLiteral("@@IDENTITY");
    if (stored.isNull() || stored.toLongLong() != first || afterOther != first)
        return Failed(QStringLiteral("%1 po dopisaniu wiersza do ReceivedData = %2, wiersz ma ID %3, a po wierszu "
                                     "dopisanym drugim połączeniem %1 = %4 (powinno być wciąż ID wiersza)")
                          .arg(question)
                          .arg(first)
                          .arg(Shown(stored))
                          .arg(afterOther));
    return Passed(QStringLiteral("%1 po dopisaniu wiersza do ReceivedData = %2, ID tego wiersza, i tak zostaje po "
                                 "wierszu dopisanym drugim połączeniem")
                      .arg(question)
                      .arg(first));
}

QString DiagnosticText(const KibicError& error)
{
    if (error.Diagnostics().isEmpty())
        return QStringLiteral("sterownik nie podał kodów; komunikat: \"%1\"").arg(error.Message());
    const DriverDiagnostic& record = error.Diagnostics().first();
    return QStringLiteral("SQLSTATE %1, kod %2, \"%3\"")
        .arg(record.SqlState.isEmpty() ? QStringLiteral("(brak)") : record.SqlState)
        .arg(record.NativeCode)
        .arg(record.Text);
}

// One connection holds a row in a transaction, the other updates the same row: the driver must refuse,
// and Kibic must take the refusal for a lock (it then tries again later instead of giving up).
DriverCheck CheckLock(DbConnection& holder, DbConnection& other)
{
    AppendServerRow(holder, kLockMarker);
    const QString update = QStringLiteral("UPDATE [ReceivedData] SET [Result]=? WHERE [Section]=? AND [Remarks]=?");
    holder.BeginTransaction();
    try {
        (void)holder.Execute(update, { QStringLiteral("+1"), kDriverCheckSection, kLockMarker });
    } catch (...) {
        holder.RollbackTransaction();
        throw;
    }
    DriverCheck outcome;
    try {
        (void)other.Execute(update, { QStringLiteral("-1"), kDriverCheckSection, kLockMarker });
        outcome = Failed(QStringLiteral("drugie połączenie zmieniło wiersz ReceivedData, który pierwsze trzymało w "
                                        "niezatwierdzonej transakcji: sterownik niczego nie zablokował"));
    } catch (const KibicError& error) {
        if (error.Kind() == FailureKind::DatabaseBusy)
            outcome = Passed(QStringLiteral("blokada między dwoma połączeniami: %1; Kibic rozpoznaje blokadę i "
                                            "spróbuje ponownie")
                                 .arg(DiagnosticText(error)));
        else
            outcome = Failed(QStringLiteral("blokada między dwoma połączeniami: %1; Kibic NIE rozpoznaje w tym blokady "
                                            "i przerwie pracę zamiast spróbować ponownie")
                                 .arg(DiagnosticText(error)));
    }
    holder.RollbackTransaction();
    return outcome;
}

// A text one character longer than its column: Kibic refuses it before the driver sees it; the driver,
// given it straight, must refuse it too (Jet cuts it silently without its extended SQL).
DriverCheck CheckTooLong(DbConnection& db, const QString& connectionString)
{
    const QString column = QStringLiteral("NS/EW");
    const int size = TextColumnSize(QStringLiteral("ReceivedData"), column);
    const QString text(size + 1, QLatin1Char('N'));
    QString kibicRefusal;
    {
        TTable table(connectionString, QStringLiteral("ReceivedData"));
        table.SetFilter(QStringLiteral("[Section]=%1").arg(kDriverCheckSection));
        table.Open();
        table.Append();
        try {
            table.SetField(column, text);
        } catch (const KibicError& error) {
            kibicRefusal = error.Message();
        }
        table.Cancel();
    }
    QString driverRefusal;
    try {
        (void)db.Execute(QStringLiteral("INSERT INTO [ReceivedData] ([Section],[NS/EW],[Remarks]) VALUES (?,?,?)"),
            { kDriverCheckSection, text, kTooLongMarker });
    } catch (const KibicError& error) {
        driverRefusal = error.Message();
    }
    if (kibicRefusal.isEmpty())
        return Failed(QStringLiteral("tekst \"%1\" o znak za długi dla ReceivedData.[%2] (TEXT(%3)) przyjęty przez Kibica")
                          .arg(text, column)
                          .arg(size));
    if (!driverRefusal.isEmpty())
        return Passed(QStringLiteral("tekst \"%1\" o znak za długi dla ReceivedData.[%2] odrzucony; Kibic pokazuje: %3")
                          .arg(text, column, driverRefusal));
    if (db.Dialect() == SqlDialect::Sqlite)
        return Passed(QStringLiteral("tekst \"%1\" o znak za długi dla ReceivedData.[%2]: SQLite nie pilnuje długości, "
                                     "Kibic odrzuca go sam: %3")
                          .arg(text, column, kibicRefusal));
    const QVariant stored = Scalar(db, QStringLiteral("SELECT [NS/EW]") + kByMarker, Marked(kTooLongMarker));
    return Failed(QStringLiteral("tekst \"%1\" o znak za długi dla ReceivedData.[%2] (TEXT(%3)) przyjęty przez sterownik "
                                 "i zapisany jako \"%4\"; Kibic odrzuca go sam: %5")
                      .arg(text, column)
                      .arg(size)
                      .arg(Shown(stored), kibicRefusal));
}

// Runs one check; a failure of the driver on the way is the check's failed line.
DriverCheck Run(const QString& what, const std::function<DriverCheck()>& check)
{
    try {
        return check();
    } catch (const KibicError& error) {
        return Failed(what + QStringLiteral(": ") + error.Message());
    }
}

} // namespace

QString TerminalServerInsertStatement()
{
    return QStringLiteral("INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],[PairNS],[PairEW],[Declarer],"
                          "[NS/EW],[Contract],[Result],[LeadCard],[Remarks],[DateLog],[TimeLog]) "
                          "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
}

QVariantList TerminalServerInsertValues(bool sqlite, int section, int table, int round, int board, int pairNs,
    int pairEw, int declarer, const QString& side, const QString& contract, const QString& result,
    const QString& leadCard, const QString& remarks)
{
    const QDate today = QDate::currentDate();
    const QTime now = QTime::currentTime();
    return { section, table, round, board, pairNs, pairEw, declarer, side, contract, result, leadCard, remarks,
        sqlite ? QVariant(today.toString(Qt::ISODate)) : QVariant(today),
        sqlite ? QVariant(now.toString(QStringLiteral("HH:mm:ss"))) : QVariant(now) };
}

QList<DriverCheck> CheckDriver(const QString& bwsPath)
{
    const QString connectionString = ScoringConnectionString(bwsPath);
    QList<DriverCheck> lines;
    try {
        DbConnection db(connectionString);
        DbConnection other(connectionString);
        lines << Run(QStringLiteral("wartości domyślne"), [&] { return CheckDefaults(db); });
        lines << Run(QStringLiteral("teksty"), [&] { return CheckTexts(db); });
        lines << Run(QStringLiteral("Tak/Nie"), [&] { return CheckFlags(db, connectionString); });
        lines << Run(QStringLiteral("numer dopisanego wiersza"), [&] { return CheckIdentity(db, other); });
        lines << Run(QStringLiteral("blokada"), [&] { return CheckLock(db, other); });
        lines << Run(QStringLiteral("tekst za długi"), [&] { return CheckTooLong(db, connectionString); });
        (void)db.Execute(QStringLiteral("DELETE FROM [ReceivedData] WHERE [Section]=?"), { kDriverCheckSection });
        (void)db.Execute(QStringLiteral("DELETE FROM [PlayerNumbers] WHERE [Section]=?"), { kDriverCheckSection });
    } catch (const KibicError& error) {
        lines << Failed(QStringLiteral("baza próbna: ") + error.Message());
    }
    return lines;
}

} // namespace kibic
