// The catalogue of the Jet stand-in's failures: SQLSTATE, native code and the Polish text of each.
//
// Where the numbers come from:
//  - "Native Error" (ODBC Desktop Database Drivers, learn.microsoft.com): positive native codes are the
//    desktop drivers' own, negative ones are Microsoft Jet's.
//  - "Error Handling", Microsoft Jet Database Engine Programmer's Guide, chapter 12: an engine failure
//    arrives with SQLSTATE S1000 (HY000 in ODBC 3), so the Jet code is what tells failures apart.
//  - Jet's negative codes are the JET_err values of the JET API, which the Extensible Storage Engine
//    documents ("Extensible Storage Engine Error Codes", learn.microsoft.com): the published Jet ODBC
//    reports match them, [HY000][-1032] "cannot open the file ... already opened exclusively" is
//    JET_errFileAccessDenied, [42000][-1809] "Cannot update. Database or object is read-only" is
//    JET_errPermissionDenied, [HY000][-1044] "Not a valid file name" is JET_errInvalidFilename
//    (edwig/ODBCQueryTool#21, mkleehammer/pyodbc#922). The codes below without a published ODBC
//    report take the JET_err value of the same condition; each entry says which.
//  - The query processor's codes (-3xxx) have no JET_err counterpart; -3100 is published
//    (weecology/retriever#8); the other two are marked as chosen.
//  - The texts are the Jet 4.0 texts (Access "Jet error" reference, the KB articles named) in the
//    Polish of a Polish Windows installation; the stored documentation has no Polish catalogue, so
//    they are translated here. The prefix is the driver's, "[Microsoft][ODBC Microsoft Access Driver]"
//    in English ("ODBC Jet Error Messages": [vendor][ODBC-component]message-text).
#include "JetErrors.h"

#include <array>

namespace jetstandin {
namespace {

struct Entry
{
    JetFailure Failure;
    JetErrorText Text;
};

constexpr std::array kCatalogue {
    // "Could not update; currently locked." (Jet error 3218; the ODBC driver's text as reported:
    // "[Microsoft][ODBC Microsoft Access Driver] Could not update; currently locked"); JET_errWriteConflict
    // -1102, "Write lock failed due to outstanding write lock". Given after LockRetry tries, LockDelay
    // apart (see LockWait.h).
    Entry { JetFailure::Lock, { "HY000", -1102, "Nie można aktualizować; obiekt jest obecnie zablokowany." } },
    // KB "PRB: Error -2147467259 when you try to open the same MDB file from multiple instances": "ODBC
    // Microsoft Access Driver: The database has been placed in a state by an unknown user that prevents
    // it from being opened or locked" (Jet error 3734). The KB gives no ODBC native code; JET_errDatabaseLocked
    // -1207, "Database exclusively locked", is the engine's code of that condition.
    Entry { JetFailure::PlacedInState,
        { "HY000", -1207,
            "Baza danych została wprowadzona w stan przez nieznanego użytkownika, który uniemożliwia jej otwarcie "
            "lub zablokowanie." } },
    // "Could not find file '|'." (Jet error 3024); JET_errFileNotFound -1811.
    Entry { JetFailure::FileNotFound, { "HY000", -1811, "Nie można odnaleźć pliku '%s'." } },
    // "'|' is not a valid path. Make sure that the path name is spelled correctly and that you are
    // connected to the server on which the file resides." (Jet error 3044); JET_errInvalidPath -1023;
    // SQLSTATE HY024 "Invalid attribute value" (ODBC Appendix A), the DBQ attribute being what is wrong.
    Entry { JetFailure::InvalidPath,
        { "HY024", -1023,
            "'%s' nie jest prawidłową ścieżką. Upewnij się, że nazwa ścieżki została wpisana poprawnie i że "
            "masz połączenie z serwerem, na którym znajduje się plik." } },
    // "Not a valid file name." [HY000][-1044], published (mkleehammer/pyodbc#922, #1378): a DBQ in quotes,
    // an empty one, or a folder.
    Entry { JetFailure::NotValidFileName, { "HY000", -1044, "Nieprawidłowa nazwa pliku." } },
    // "Unrecognized database format '|'." (Jet error 3343); JET_errDatabaseCorrupted -1206, "Non database
    // file or corrupted db".
    Entry { JetFailure::UnrecognizedFormat, { "HY000", -1206, "Nierozpoznany format bazy danych '%s'." } },
    // "Disk or network error." (Jet error 3043); JET_errDiskIO -1022. A plain engine failure that is not a
    // lock; "SQLTransact (Access Driver)": a failure during the commit process leaves the file to repair.
    Entry { JetFailure::DiskOrNetwork, { "HY000", -1022, "Błąd dysku lub sieci." } },
    // SQLSTATE 08S01 "Communication link failure" (ODBC Appendix A): the link to the file failed before
    // the function completed; Jet's code of it is the disk or network failure, JET_errDiskIO -1022.
    Entry { JetFailure::CommunicationLink, { "08S01", -1022, "Błąd łącza komunikacyjnego. Błąd dysku lub sieci." } },
    // "Syntax error in CREATE TABLE statement." (Jet error 3290); SQLSTATE 42000 as in the published
    // syntax errors. Native code chosen: no stored report gives it.
    Entry { JetFailure::SyntaxCreateTable, { "42000", -3551, "Błąd składni w instrukcji CREATE TABLE." } },
    // "Syntax error in INSERT INTO statement." (Jet error 3134); 42000. Native code chosen likewise.
    Entry { JetFailure::SyntaxInsert, { "42000", -3502, "Błąd składni w instrukcji INSERT INTO." } },
    // "Syntax error (missing operator) in query expression '|'." [42000][-3100], published
    // (weecology/retriever#8).
    Entry { JetFailure::SyntaxMissingOperator,
        { "42000", -3100, "Błąd składni (brak operatora) w wyrażeniu kwerendy '%s'." } },
    // "The Microsoft Jet database engine cannot find the input table or query '|'. Make sure it exists and
    // that its name is spelled correctly." (Jet error 3078); SQLSTATE 42S02 "Base table or view not
    // found"; JET_errObjectNotFound -1305.
    Entry { JetFailure::TableNotFound,
        { "42S02", -1305,
            "Aparat bazy danych Microsoft Jet nie może odnaleźć tabeli lub kwerendy wejściowej '%s'. Upewnij "
            "się, że istnieje i że jej nazwa została wpisana poprawnie." } },
    // "Table '|' already exists." (Jet error 3010); 42S01 "Base table or view already exists";
    // JET_errTableDuplicate -1303.
    Entry { JetFailure::TableExists, { "42S01", -1303, "Tabela '%s' już istnieje." } },
    // "Too few parameters. Expected |." (Jet error 3061): Jet takes a name it does not know for a
    // parameter; 07002 "COUNT field incorrect". Native code chosen: no stored report gives it.
    Entry { JetFailure::TooFewParameters, { "07002", -3010, "Za mało parametrów. Oczekiwano %s." } },
    // "The field '|' cannot contain a Null value because the Required property for this field is set to
    // True." (Jet error 3314); 23000 "Integrity constraint violation"; JET_errNullInvalid -1504.
    Entry { JetFailure::NullNotAllowed,
        { "23000", -1504,
            "Pole '%s' nie może zawierać wartości Null, ponieważ właściwość Wymagane tego pola ma wartość Prawda." } },
    // "The changes you requested to the table were not successful because they would create duplicate
    // values in the index, primary key, or relationship." (Jet error 3022); 23000; JET_errKeyDuplicate -1605.
    Entry { JetFailure::DuplicateKey,
        { "23000", -1605,
            "Żądane zmiany w tabeli nie powiodły się, ponieważ spowodowałyby powstanie zduplikowanych wartości w "
            "indeksie, kluczu podstawowym lub relacji '%s'." } },
    // "Data Truncation Detection Enabled Using ExtendedAnsiSQL": with ExtendedAnsiSQL on, a text cut by
    // its column is detected; SQLSTATE 22001 "String data, right truncation" (ODBC Appendix A); the
    // engine's text of it is "The field is too small to accept the amount of data you attempted to
    // add." (Jet error 3163). Native code chosen: no stored report gives it.
    Entry { JetFailure::FieldTooSmall,
        { "22001", -3163,
            "Pole jest za małe, aby przyjąć ilość danych, które próbowano dodać (%s). Spróbuj wstawić lub wkleić "
            "mniej danych." } },
    // [HYC00] "Optional feature not implemented (106)" from SQLBindParameter with SQL_C_SBIGINT/SQL_BIGINT,
    // published (mkleehammer/pyodbc#509): the driver's own positive code.
    Entry { JetFailure::OptionalFeature, { "HYC00", 106, "Funkcja opcjonalna nie jest zaimplementowana." } },
    // "SQLConfigDataSource (Access Driver)", CREATE_DB: "An error will be returned if the path name specifies
    // an existing database"; the engine's text is "Database already exists." (Jet error 3204),
    // JET_errDatabaseDuplicate -1201. The installer error carries no SQLSTATE.
    Entry { JetFailure::DatabaseExists, { "HY000", -1201, "Baza danych '%s' już istnieje." } },
    // A failure the catalogue does not name: Jet's "Reserved error (|); there is no message for this
    // error." as published (duckdb/duckdb-odbc#39), with the SQLite text after it so a developer sees the
    // cause. Native code chosen.
    Entry { JetFailure::ReservedError,
        { "HY000", -1000, "Błąd zarezerwowany (-1000); brak komunikatu dla tego błędu (%s)." } },
    // The calling sequence and the arguments: ODBC Appendix A's SQLSTATEs; the desktop drivers give their
    // own codes for these and the documentation does not list them, so 0.
    Entry { JetFailure::FunctionSequence, { "HY010", 0, "Błąd sekwencji funkcji." } },
    Entry { JetFailure::InvalidCursorState, { "24000", 0, "Nieprawidłowy stan kursora." } },
    Entry { JetFailure::InvalidDescriptorIndex, { "07009", 0, "Nieprawidłowy indeks deskryptora." } },
    Entry { JetFailure::InvalidStringLength, { "HY090", 0, "Nieprawidłowa długość ciągu lub bufora." } },
    Entry { JetFailure::InvalidAttribute, { "HY092", 0, "Nieprawidłowy identyfikator atrybutu lub opcji." } },
    Entry { JetFailure::InformationType, { "HY096", 0, "Typ informacji spoza zakresu." } },
    Entry { JetFailure::InvalidBufferType, { "HY003", 0, "Nieprawidłowy typ bufora aplikacji." } },
    Entry { JetFailure::IndicatorRequired, { "22002", 0, "Wymagana zmienna wskaźnika nie została podana." } },
    Entry { JetFailure::InvalidCast, { "22018", 0, "Nieprawidłowa wartość znakowa dla specyfikacji rzutowania." } },
    Entry { JetFailure::NumericOutOfRange, { "22003", 0, "Wartość liczbowa spoza zakresu." } },
    Entry { JetFailure::RestrictedType, { "07006", 0, "Naruszenie atrybutu typu danych z ograniczeniami." } },
    Entry { JetFailure::NoDataSource, { "IM002", 0, "Nie znaleziono nazwy źródła danych '%s'." } },
};

} // namespace

const JetErrorText& ErrorText(JetFailure failure)
{
    for (const Entry& entry : kCatalogue) {
        if (entry.Failure == failure)
            return entry.Text;
    }
    return kCatalogue.back().Text;
}

std::string ErrorMessage(JetFailure failure, const std::string& detail)
{
    const JetErrorText& text = ErrorText(failure);
    std::string body = text.Polish;
    const std::string::size_type slot = body.find("%s");
    if (slot != std::string::npos)
        body.replace(slot, 2, detail);
    return "[Microsoft][Sterownik ODBC Microsoft Access] " + body;
}

} // namespace jetstandin
