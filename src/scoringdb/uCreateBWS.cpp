// The scoring database's tables, created statement by statement on a new file.
#include "scoringdb/uCreateBWS.h"

#include "common/KibicError.h"
#include "platform/ComAutomation.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/OleDbCatalog.h"
#include "scoringdb/TQuery.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace kibic {

namespace {

// ReceivedData and IntermediateData share their columns: one row per score sent from a table.
const QString kReceivedColumns = QStringLiteral(
    "[ID] COUNTER,[Section] INTEGER,[Table] INTEGER,[Round] INTEGER,[Board] INTEGER,[PairNS] INTEGER,"
    "[PairEW] INTEGER,[Declarer] INTEGER,[NS/EW] TEXT(2),[Contract] TEXT(10),[Result] TEXT(10),"
    "[LeadCard] TEXT(10),[Remarks] TEXT(255),[DateLog] DATE,[TimeLog] TIME,[Processed] YESNO DEFAULT False,"
    "[Processed1] YESNO DEFAULT False,[Processed2] YESNO DEFAULT False,[Processed3] YESNO DEFAULT False,"
    "[Processed4] YESNO DEFAULT False,[Erased] YESNO DEFAULT False");

// The columns of Settings up to and including HandRecordValidation, common to both forms.
const QString kSettingsCommonColumns
    = QStringLiteral(
          "[Section] INTEGER,[ShowResults] YESNO DEFAULT True,[ShowOwnResult] YESNO DEFAULT True,"
          "[RepeatResults] YESNO DEFAULT False,[MaximumResults] INTEGER DEFAULT 0,[ShowPercentage] YESNO DEFAULT True,"
          "[GroupSections] YESNO DEFAULT False,[ScorePoints] INTEGER DEFAULT 1,[EnterResultsMethod] INTEGER DEFAULT 0,"
          "[ShowPairNumbers] YESNO DEFAULT True,[IntermediateResults] YESNO DEFAULT False,"
          "[AutopoweroffTime] INTEGER DEFAULT 20,[VerificationTime] INTEGER DEFAULT 2,[ShowContract] INTEGER DEFAULT 1,"
          "[LeadCard] YESNO DEFAULT False,[MemberNumbers] YESNO DEFAULT False,"
          "[MemberNumbersNoBlankEntry] YESNO DEFAULT False,[BoardOrderVerification] YESNO DEFAULT True,")
    + kHandRecordValidationColumn;

const QString kSettingsBasic = QStringLiteral("CREATE TABLE [Settings] (") + kSettingsCommonColumns
    + QStringLiteral("[AutoShutDownBPC] YESNO DEFAULT False,[custom_pairs] YESNO DEFAULT True)");

const QString kSettingsBM2 = QStringLiteral("CREATE TABLE [Settings] (") + kSettingsCommonColumns
    + QStringLiteral(
        "[AutoShutDownBPC] YESNO DEFAULT True,[BM2PINcode] TEXT(4) DEFAULT \"9642\",[BM2ConfirmNP] YESNO DEFAULT False,"
        "[BM2RemainingBoards] YESNO DEFAULT True,[BM2NextSeatings] YESNO DEFAULT True,"
        "[BM2ScoreRecap] YESNO DEFAULT False,[BM2ScoreCorrection] YESNO DEFAULT False,"
        "[BM2AutoBoardNumber] YESNO DEFAULT True,[BM2ResultsOverview] INTEGER DEFAULT 0,"
        "[BM2ShowPlayerNames] INTEGER DEFAULT 0,[BM2Ranking] INTEGER DEFAULT 0,[BM2PairNumberEntry] INTEGER DEFAULT 0,"
        "[custom_pairs] YESNO DEFAULT True)");

// Bidding and play share their columns but the one that holds the call or the card.
QString BiddingOrPlayStatement(const QString& table, const QString& callColumn)
{
    return QStringLiteral("CREATE TABLE [") + table
        + QStringLiteral("] ([ID] COUNTER,[Section] INTEGER,[Table] INTEGER,[Round] INTEGER,[Board] INTEGER,"
                         "[Counter] INTEGER,[Direction] TEXT(2),[")
        + callColumn + QStringLiteral("] TEXT(10),[DateLog] DATE,[TimeLog] TIME,[Erased] YESNO DEFAULT False)");
}

// The table a CREATE TABLE statement makes, for messages and for the columns of each table.
QString CreatedTable(const QString& statement)
{
    static const QRegularExpression createTable(QStringLiteral("^CREATE TABLE \\[([^\\]]+)\\]"));
    return createTable.match(statement).captured(1);
}

QString HandRecordStatement()
{
    QString statement = QStringLiteral("CREATE TABLE [HandRecord] ([Section] INTEGER,[Board] INTEGER");
    for (const char* hand : { "North", "East", "South", "West" })
        for (const char* suit : { "Spades", "Hearts", "Diamonds", "Clubs" })
            statement
                += QStringLiteral(",[") + QLatin1String(hand) + QLatin1String(suit) + QStringLiteral("] TEXT(13)");
    return statement + QLatin1Char(')');
}

} // namespace

QString HandEvaluationStatement()
{
    QString statement = QStringLiteral("CREATE TABLE [HandEvaluation] ([Section] INTEGER,[Board] INTEGER");
    for (const char* hand : { "North", "East", "South", "West" })
        for (const char* strain : { "Spades", "Hearts", "Diamonds", "Clubs", "Notrump" })
            statement
                += QStringLiteral(",[") + QLatin1String(hand) + QLatin1String(strain) + QStringLiteral("] INTEGER");
    for (const char* hand : { "North", "East", "South", "West" })
        statement += QStringLiteral(",[") + QLatin1String(hand) + QStringLiteral("Hcp] INTEGER");
    return statement + QLatin1Char(')');
}

QStringList TableStatements(bool withPlayTables, bool withBM2Settings)
{
    QString settings = withBM2Settings ? kSettingsBM2 : kSettingsBasic;
    if (!withPlayTables)
        settings.remove(kHandRecordValidationColumn.toString());
    return {
        QStringLiteral("CREATE TABLE [Clients] ([ID] COUNTER,[Computer] TEXT(255) NOT NULL)"),
        QStringLiteral("CREATE TABLE [Section] ([ID] INTEGER,[Letter] TEXT(2) NOT NULL,[Tables] INTEGER,"
                       "[MissingPair] INTEGER DEFAULT 0,[custom_MySQL] TEXT(255))"),
        QStringLiteral("CREATE TABLE [Tables] ([Section] INTEGER,[Table] INTEGER,[ComputerID] INTEGER DEFAULT 0,"
                       "[Status] INTEGER DEFAULT 0,[LogOnOff] INTEGER DEFAULT 2,[UpdateFromRound] INTEGER DEFAULT 0,"
                       "[CurrentRound] INTEGER DEFAULT 0,[CurrentBoard] INTEGER DEFAULT 0)"),
        QStringLiteral("CREATE TABLE [RoundData] ([Section] INTEGER,[Table] INTEGER,[Round] INTEGER,[NSPair] INTEGER,"
                       "[EWPair] INTEGER,[LowBoard] INTEGER,[HighBoard] INTEGER,[CustomBoards] TEXT(255),"
                       "[custom_Zyrt] INTEGER,[custom_Komp] INTEGER,[custom_S] INTEGER DEFAULT 0,"
                       "[custom_W] INTEGER DEFAULT 0,[custom_LowBoard] INTEGER DEFAULT 0)"),
        QStringLiteral("CREATE TABLE [ReceivedData] (") + kReceivedColumns + QLatin1Char(')'),
        QStringLiteral("CREATE TABLE [IntermediateData] (") + kReceivedColumns + QLatin1Char(')'),
        BiddingOrPlayStatement(QStringLiteral("BiddingData"), QStringLiteral("Bid")),
        BiddingOrPlayStatement(QStringLiteral("PlayData"), QStringLiteral("Card")),
        HandRecordStatement(),
        QStringLiteral("CREATE TABLE [PlayerNumbers] ([Section] INTEGER,[Table] INTEGER,[Direction] TEXT(2) NOT NULL,"
                       "[Number] TEXT(16) DEFAULT '',[Name] TEXT(19) DEFAULT '',[Updated] YESNO DEFAULT False)"),
        settings,
    };
}

QList<int> ChosenStatementNumbers(bool withPlayTables)
{
    if (withPlayTables)
        return { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 };
    return { 1, 2, 3, 4, 5, 6, 10, 11 };
}

QStringList RowKeyColumns(const QString& table)
{
    static const QHash<QString, QStringList> keys = {
        { QStringLiteral("clients"), { QStringLiteral("ID") } },
        { QStringLiteral("section"), { QStringLiteral("ID") } },
        { QStringLiteral("tables"), { QStringLiteral("Section"), QStringLiteral("Table") } },
        { QStringLiteral("rounddata"),
            { QStringLiteral("Section"), QStringLiteral("Table"), QStringLiteral("Round") } },
        { QStringLiteral("receiveddata"), { QStringLiteral("ID") } },
        { QStringLiteral("intermediatedata"), { QStringLiteral("ID") } },
        { QStringLiteral("biddingdata"), { QStringLiteral("ID") } },
        { QStringLiteral("playdata"), { QStringLiteral("ID") } },
        { QStringLiteral("handrecord"), { QStringLiteral("Section"), QStringLiteral("Board") } },
        { QStringLiteral("handevaluation"), { QStringLiteral("Section"), QStringLiteral("Board") } },
        { QStringLiteral("playernumbers"),
            { QStringLiteral("Section"), QStringLiteral("Table"), QStringLiteral("Direction") } },
        { QStringLiteral("settings"), { QStringLiteral("Section") } },
    };
    return keys.value(table.toLower());
}

int TextColumnSize(const QString& table, const QString& column)
{
    static const QHash<QString, int> sizes = [] {
        QHash<QString, int> found;
        static const QRegularExpression textColumn(QStringLiteral("\\[([^\\]]+)\\] TEXT\\((\\d+)\\)"));
        for (const bool bm2 : { false, true }) {
            for (const QString& statement : TableStatements(true, bm2)) {
                const QString name = CreatedTable(statement).toLower();
                for (auto match = textColumn.globalMatch(statement); match.hasNext();) {
                    const QRegularExpressionMatch text = match.next();
                    found.insert(name + QLatin1Char('.') + text.captured(1).toLower(), text.captured(2).toInt());
                }
            }
        }
        return found;
    }();
    return sizes.value(table.toLower() + QLatin1Char('.') + column.toLower(), 0);
}

bool HasCounterColumn(const QString& table)
{
    // Read from the statements themselves, so that the two never disagree.
    static const QSet<QString> counterTables = [] {
        QSet<QString> tables;
        static const QRegularExpression counter(QStringLiteral("^CREATE TABLE \\[([^\\]]+)\\] \\(\\[ID\\] COUNTER,"));
        for (const QString& statement : TableStatements(true, false)) {
            const QRegularExpressionMatch match = counter.match(statement);
            if (match.hasMatch())
                tables.insert(match.captured(1).toLower());
        }
        return tables;
    }();
    return counterTables.contains(table.toLower());
}

void CreateEmptyDatabase(const QString& FileName, QString& ErrorMessage)
{
    ErrorMessage.clear();
    try {
        DbConnection::CreateDatabaseFile(DataSourceOf(CreationConnectionString(FileName)));
    } catch (const KibicError& error) {
        ErrorMessage = error.Message();
    }
}

namespace {

// "błąd -2147217900 (0x80040E14): text": ADO's number as ADO gives it and as Windows' documentation writes it.
QString AdoErrorText(const OleDbFailure& failure)
{
    return QStringLiteral("błąd %1 (%2): %3").arg(failure.Number).arg(HresultText(failure.Number), failure.Text);
}

// The file and its tables through ADOX and ADO. False when ADOX.Catalog is not registered here (nothing
// was made; route.AdoxAnswer says what COM answered); true when ADOX took the creation, and then
// ErrorMessage holds ADO's answer to what failed, or nothing.
bool CreateThroughAdox(const QString& FileName, const QStringList& statements, QString& ErrorMessage, CreationRoute& route)
{
    const std::unique_ptr<OleDbCatalog> catalog = MakeOleDbCatalog();
    const QString native = QDir::toNativeSeparators(FileName);
    try {
        catalog->Create(AdoxCreationConnectionString(FileName));
    } catch (const OleDbFailure& failure) {
        if (failure.ClassMissing) {
            // The system's text of the HRESULT may be the number itself (wine has none for CO_E_CLASSSTRING).
            const QString code = HresultText(failure.Number);
            route.AdoxAnswer = failure.Text.contains(code) ? failure.Text : QStringLiteral("%1 [%2]").arg(failure.Text, code);
            return false;
        }
        ErrorMessage = QStringLiteral("Nie można utworzyć bazy danych %1 przez ADOX (dostawca Microsoft.Jet.OLEDB.4.0): %2")
                           .arg(native, AdoErrorText(failure));
        return true;
    }
    try {
        catalog->Execute(AdoStatementConnectionString(FileName), statements);
    } catch (const OleDbFailure& failure) {
        if (failure.Statement >= 0 && failure.Statement < statements.size())
            ErrorMessage = QStringLiteral("Nie można utworzyć tabeli %1 w bazie danych %2 przez ADO: %3")
                               .arg(CreatedTable(statements.at(failure.Statement)), native, AdoErrorText(failure));
        else
            ErrorMessage = QStringLiteral("Nie można otworzyć bazy danych %1 przez ADO (dostawca Microsoft.Jet.OLEDB.4.0): %2")
                               .arg(native, AdoErrorText(failure));
    }
    return true;
}

// The file through CreateEmptyDatabase, then the statements through Kibic's own database layer.
void CreateThroughDatabaseLayer(const QString& FileName, const QStringList& statements, QString& ErrorMessage)
{
    CreateEmptyDatabase(FileName, ErrorMessage);
    if (!ErrorMessage.isEmpty())
        return;
    TQuery query(StatementConnectionString(FileName));
    for (const QString& statement : statements) {
        query.SetSql(statement);
        try {
            query.ExecSql();
        } catch (const KibicError& error) {
            ErrorMessage = error.Message();
            return;
        }
    }
}

} // namespace

void CreateBWS(const QString& FileName, bool WithPlayTables, bool WithBM2Settings, QString& ErrorMessage)
{
    CreationRoute route;
    CreateBWS(FileName, WithPlayTables, WithBM2Settings, ErrorMessage, route);
}

void CreateBWS(
    const QString& FileName, bool WithPlayTables, bool WithBM2Settings, QString& ErrorMessage, CreationRoute& route)
{
    ErrorMessage.clear();
    route = CreationRoute();
    const QStringList all = TableStatements(WithPlayTables, WithBM2Settings);
    QStringList statements;
    for (const int number : ChosenStatementNumbers(WithPlayTables))
        statements.append(all.at(number - 1));

    if (CreatesAccessFiles()) {
        route.Way = CreationWay::Adox;
        // An existing file is refused by CreateEmptyDatabase before anything is made, on every route.
        if (QFileInfo::exists(FileName) || !CreateThroughAdox(FileName, statements, ErrorMessage, route)) {
            if (!route.AdoxAnswer.isEmpty()) {
                route.Way = CreationWay::Odbc;
                route.Driver = AccessDriver();
            }
            CreateThroughDatabaseLayer(FileName, statements, ErrorMessage);
        }
    } else {
        CreateThroughDatabaseLayer(FileName, statements, ErrorMessage);
    }
    route.Failure = ErrorMessage;
    RememberCreationRoute(route);
}

} // namespace kibic
