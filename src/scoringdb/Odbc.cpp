// The ODBC calls of Kibic, one wrapper each.
#include "scoringdb/Odbc.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <algorithm>
#include <limits>
#include <mutex>
#include <optional>

#ifdef Q_OS_WIN
// windows.h first: the ODBC headers use its types.
#include <windows.h>
#endif
#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>

namespace kibic::odbc {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "ODBC texts are UTF-16 on every platform Kibic runs on");

const SQLWCHAR* Wide(const QString& text)
{
    return reinterpret_cast<const SQLWCHAR*>(text.utf16());
}

// A length the driver reported, kept inside the buffer it was given.
qsizetype Within(qsizetype length, qsizetype most)
{
    return std::clamp<qsizetype>(length, 0, most);
}

QString FromWide(const SQLWCHAR* text, qsizetype characters)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), characters);
}

// Every diagnostic record of a handle, in the order the driver gave them. A text longer than the first
// buffer is asked for again with the room it needs.
QList<DriverDiagnostic> DiagnosticsOf(SQLSMALLINT handleType, SQLHANDLE handle)
{
    QList<DriverDiagnostic> records;
    if (handle == SQL_NULL_HANDLE)
        return records;
    for (SQLSMALLINT record = 1; record <= 16; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        std::vector<SQLWCHAR> message(SQL_MAX_MESSAGE_LENGTH + 1);
        SQLSMALLINT length = 0;
        SQLRETURN result = SQLGetDiagRecW(handleType, handle, record, state, &native, message.data(),
            static_cast<SQLSMALLINT>(message.size()), &length);
        if (result == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            message.resize(static_cast<std::size_t>(length) + 1);
            result = SQLGetDiagRecW(handleType, handle, record, state, &native, message.data(),
                static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(result))
            break;
        const qsizetype characters = Within(length, static_cast<qsizetype>(message.size()) - 1);
        records.append(DriverDiagnostic { FromWide(state, 5), native, FromWide(message.data(), characters).trimmed() });
    }
    return records;
}

void Check(SQLRETURN result, SQLSMALLINT handleType, SQLHANDLE handle, const char* function)
{
    if (SQL_SUCCEEDED(result))
        return;
    QList<DriverDiagnostic> records = DiagnosticsOf(handleType, handle);
    if (records.isEmpty() && result == SQL_INVALID_HANDLE)
        records.append(DriverDiagnostic { QStringLiteral("HY000"), 0, QStringLiteral("nieprawidłowy uchwyt ODBC") });
    throw CallFailure(QString::fromLatin1(function), std::move(records));
}

// The one environment of the process, ODBC 3.
SQLHENV Environment()
{
    static SQLHENV environment = SQL_NULL_HENV;
    static std::once_flag once;
    std::call_once(once, [] {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment))) {
            environment = SQL_NULL_HENV;
            return;
        }
        SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    });
    if (environment == SQL_NULL_HENV)
        throw CallFailure(QStringLiteral("SQLAllocHandle"),
            { DriverDiagnostic { QStringLiteral("IM004"), 0,
                QStringLiteral("menedżer sterowników ODBC nie przydzielił środowiska") } });
    return environment;
}

QString InstallerErrors(QStringList& texts)
{
    for (WORD record = 1; record <= 8; ++record) {
        DWORD code = 0;
        SQLWCHAR message[SQL_MAX_MESSAGE_LENGTH + 1] = {};
        WORD length = 0;
        const RETCODE result = SQLInstallerErrorW(record, &code, message, SQL_MAX_MESSAGE_LENGTH, &length);
        if (result != SQL_SUCCESS && result != SQL_SUCCESS_WITH_INFO)
            break;
        const QString text = FromWide(message, qMin<qsizetype>(length, SQL_MAX_MESSAGE_LENGTH)).trimmed();
        texts.append(text.isEmpty() ? QStringLiteral("błąd instalatora ODBC %1").arg(code) : text);
    }
    return texts.join(QStringLiteral("; "));
}

} // namespace

CallFailure::CallFailure(QString function, QList<DriverDiagnostic> records)
    : m_function(std::move(function))
    , m_records(std::move(records))
    , m_utf8(Text().toUtf8())
{
}

QString CallFailure::Text() const
{
    QStringList texts;
    for (const DriverDiagnostic& record : m_records) {
        if (!record.Text.isEmpty() && !texts.contains(record.Text))
            texts.append(record.Text);
    }
    if (texts.isEmpty())
        return QStringLiteral("%1 nie powiodło się, a sterownik nie podał przyczyny").arg(m_function);
    return texts.join(QStringLiteral("; "));
}

Connection::Connection(const QString& connectionString)
{
    SQLHDBC connection = SQL_NULL_HDBC;
    const SQLHENV environment = Environment();
    Check(SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection), SQL_HANDLE_ENV, environment, "SQLAllocHandle");
    m_handle = connection;
    const SQLRETURN result = SQLDriverConnectW(connection, nullptr, const_cast<SQLWCHAR*>(Wide(connectionString)),
        static_cast<SQLSMALLINT>(connectionString.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(result)) {
        QList<DriverDiagnostic> records = DiagnosticsOf(SQL_HANDLE_DBC, connection);
        SQLFreeHandle(SQL_HANDLE_DBC, connection);
        m_handle = nullptr;
        throw CallFailure(QStringLiteral("SQLDriverConnectW"), std::move(records));
    }
}

Connection::~Connection()
{
    if (!m_handle)
        return;
    SQLDisconnect(m_handle);
    SQLFreeHandle(SQL_HANDLE_DBC, m_handle);
}

void Connection::BeginTransaction()
{
    Check(SQLSetConnectAttrW(m_handle, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
              SQL_IS_UINTEGER),
        SQL_HANDLE_DBC, m_handle, "SQLSetConnectAttrW");
}

void Connection::EndTransaction(bool commit)
{
    const SQLRETURN ended = SQLEndTran(SQL_HANDLE_DBC, m_handle, commit ? SQL_COMMIT : SQL_ROLLBACK);
    // Autocommit comes back in any case: a failed commit must not leave later statements in a transaction
    // that nobody ends.
    std::optional<CallFailure> failure;
    try {
        Check(ended, SQL_HANDLE_DBC, m_handle, "SQLEndTran");
    } catch (const CallFailure& error) {
        failure = error;
    }
    const SQLRETURN restored = SQLSetConnectAttrW(
        m_handle, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), SQL_IS_UINTEGER);
    if (failure)
        throw *failure;
    Check(restored, SQL_HANDLE_DBC, m_handle, "SQLSetConnectAttrW");
}

QString Connection::Info(unsigned short infoType) const
{
    SQLWCHAR text[256] = {};
    SQLSMALLINT bytes = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(m_handle, infoType, text, sizeof(text), &bytes)))
        return {};
    const qsizetype characters = Within(bytes / static_cast<SQLSMALLINT>(sizeof(SQLWCHAR)), 255);
    return FromWide(text, characters).trimmed();
}

QString Connection::DriverName() const
{
    return Info(SQL_DRIVER_NAME);
}

QString Connection::DriverVersion() const
{
    return Info(SQL_DRIVER_VER);
}

namespace {

// The longest text that goes as SQL_WVARCHAR: Jet's TEXT columns hold at most 255 characters, a longer one
// is a MEMO.
constexpr qsizetype kLongestVarchar = 255;

} // namespace

// A value bound to a statement: the buffer the driver reads at execution, and its length or NULL indicator.
struct Statement::Parameter
{
    SQLSMALLINT CType = SQL_C_CHAR;
    SQLSMALLINT SqlType = SQL_VARCHAR;
    SQLULEN ColumnSize = 0;
    SQLSMALLINT DecimalDigits = 0;
    SQLLEN Length = 0;
    SQLINTEGER Integer = 0;
    double Fraction = 0;
    std::u16string Text;
    SQL_DATE_STRUCT Date {};
    SQL_TIME_STRUCT Time {};
    SQL_TIMESTAMP_STRUCT Timestamp {};

    void SetText(const QString& text)
    {
        CType = SQL_C_WCHAR;
        SqlType = text.size() > kLongestVarchar ? SQL_WLONGVARCHAR : SQL_WVARCHAR;
        // A column size of 0 is refused by some drivers (HY104): an empty text is one character wide.
        ColumnSize = static_cast<SQLULEN>(qMax<qsizetype>(1, text.size()));
        // The buffer ends with a terminator for drivers that look past the length; the length never counts it.
        Text.assign(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
        Length = static_cast<SQLLEN>(text.size() * static_cast<qsizetype>(sizeof(SQLWCHAR)));
    }

    [[nodiscard]] SQLPOINTER Buffer()
    {
        switch (CType) {
        case SQL_C_SLONG:
            return &Integer;
        case SQL_C_DOUBLE:
            return &Fraction;
        case SQL_C_WCHAR:
            return Text.data();
        case SQL_C_TYPE_DATE:
            return &Date;
        case SQL_C_TYPE_TIME:
            return &Time;
        case SQL_C_TYPE_TIMESTAMP:
            return &Timestamp;
        default:
            return nullptr;
        }
    }
};

Statement::Statement(Connection& connection, const QString& sql)
    : m_sql(sql)
{
    SQLHSTMT statement = SQL_NULL_HSTMT;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, connection.Handle(), &statement), SQL_HANDLE_DBC, connection.Handle(),
        "SQLAllocHandle");
    m_handle = statement;
    const SQLRETURN prepared
        = SQLPrepareW(statement, const_cast<SQLWCHAR*>(Wide(m_sql)), static_cast<SQLINTEGER>(m_sql.size()));
    if (!SQL_SUCCEEDED(prepared)) {
        QList<DriverDiagnostic> records = DiagnosticsOf(SQL_HANDLE_STMT, statement);
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        m_handle = nullptr;
        throw CallFailure(QStringLiteral("SQLPrepareW"), std::move(records));
    }
}

Statement::~Statement()
{
    if (m_handle)
        SQLFreeHandle(SQL_HANDLE_STMT, m_handle);
}

void Statement::Close()
{
    if (m_open) {
        SQLFreeStmt(m_handle, SQL_CLOSE);
        m_open = false;
    }
}

void Statement::Bind(const QVariantList& values)
{
    SQLFreeStmt(m_handle, SQL_RESET_PARAMS);
    m_parameters.clear();
    m_parameters.reserve(static_cast<std::size_t>(values.size()));
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QVariant& value = values.at(i);
        auto parameter = std::make_unique<Parameter>();
        const int type = value.typeId();
        switch (type) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
        case QMetaType::ULongLong: {
            parameter->CType = SQL_C_SLONG;
            parameter->SqlType = SQL_INTEGER;
            parameter->ColumnSize = 10;
            bool ok = false;
            const qlonglong number = value.toLongLong(&ok);
            if (!value.isNull()
                && (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max()))
                throw CallFailure(QStringLiteral("SQLBindParameter"),
                    { DriverDiagnostic { QStringLiteral("22003"), 0,
                        QStringLiteral("liczba %1 (parametr %2) nie mieści się w 32 bitach, a tylko takie liczby "
                                       "zna plik bazy")
                            .arg(value.toString())
                            .arg(i + 1) } });
            parameter->Integer = static_cast<SQLINTEGER>(number);
            parameter->Length = sizeof(SQLINTEGER);
            break;
        }
        case QMetaType::Double:
        case QMetaType::Float:
            parameter->CType = SQL_C_DOUBLE;
            parameter->SqlType = SQL_DOUBLE;
            parameter->ColumnSize = 15;
            parameter->Fraction = value.toDouble();
            parameter->Length = sizeof(double);
            break;
        case QMetaType::QDate: {
            const QDate date = value.toDate();
            parameter->CType = SQL_C_TYPE_DATE;
            parameter->SqlType = SQL_TYPE_DATE;
            parameter->ColumnSize = 10;
            parameter->Date = { static_cast<SQLSMALLINT>(date.year()), static_cast<SQLUSMALLINT>(date.month()),
                static_cast<SQLUSMALLINT>(date.day()) };
            parameter->Length = sizeof(SQL_DATE_STRUCT);
            break;
        }
        case QMetaType::QTime: {
            const QTime time = value.toTime();
            parameter->CType = SQL_C_TYPE_TIME;
            parameter->SqlType = SQL_TYPE_TIME;
            parameter->ColumnSize = 8;
            parameter->Time = { static_cast<SQLUSMALLINT>(time.hour()), static_cast<SQLUSMALLINT>(time.minute()),
                static_cast<SQLUSMALLINT>(time.second()) };
            parameter->Length = sizeof(SQL_TIME_STRUCT);
            break;
        }
        case QMetaType::QDateTime: {
            const QDateTime moment = value.toDateTime();
            const QDate date = moment.date();
            const QTime time = moment.time();
            parameter->CType = SQL_C_TYPE_TIMESTAMP;
            parameter->SqlType = SQL_TYPE_TIMESTAMP;
            parameter->ColumnSize = 19;
            parameter->Timestamp = { static_cast<SQLSMALLINT>(date.year()), static_cast<SQLUSMALLINT>(date.month()),
                static_cast<SQLUSMALLINT>(date.day()), static_cast<SQLUSMALLINT>(time.hour()),
                static_cast<SQLUSMALLINT>(time.minute()), static_cast<SQLUSMALLINT>(time.second()), 0 };
            parameter->Length = sizeof(SQL_TIMESTAMP_STRUCT);
            break;
        }
        default:
            // Texts, and a NULL of no known kind, go as texts.
            parameter->SetText(value.isNull() ? QString() : value.toString());
            break;
        }
        if (value.isNull())
            parameter->Length = SQL_NULL_DATA;
        const SQLLEN bufferLength = parameter->CType == SQL_C_WCHAR ? parameter->Length : 0;
        Check(SQLBindParameter(m_handle, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, parameter->CType,
                  parameter->SqlType, parameter->ColumnSize, parameter->DecimalDigits, parameter->Buffer(),
                  bufferLength < 0 ? 0 : bufferLength, &parameter->Length),
            SQL_HANDLE_STMT, m_handle, "SQLBindParameter");
        m_parameters.push_back(std::move(parameter));
    }
}

void Statement::Execute(const QVariantList& values)
{
    Close();
    Bind(values);
    const SQLRETURN result = SQLExecute(m_handle);
    // An UPDATE or DELETE that changed no row returns SQL_NO_DATA: that is a success with 0 rows.
    if (result != SQL_NO_DATA)
        Check(result, SQL_HANDLE_STMT, m_handle, "SQLExecute");
    m_open = true;
    DescribeColumns();
}

qint64 Statement::RowsAffected() const
{
    SQLLEN rows = -1;
    if (!SQL_SUCCEEDED(SQLRowCount(m_handle, &rows)))
        return -1;
    return rows;
}

void Statement::DescribeColumns()
{
    m_columns.clear();
    SQLSMALLINT count = 0;
    Check(SQLNumResultCols(m_handle, &count), SQL_HANDLE_STMT, m_handle, "SQLNumResultCols");
    m_columns.reserve(static_cast<std::size_t>(count));
    for (SQLSMALLINT column = 1; column <= count; ++column) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT sqlType = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        Check(SQLDescribeColW(m_handle, column, name, 256, &nameLength, &sqlType, &size, &digits, &nullable),
            SQL_HANDLE_STMT, m_handle, "SQLDescribeColW");
        m_columns.push_back(ResultColumn { FromWide(name, Within(nameLength, 255)), sqlType });
    }
}

bool Statement::Fetch(QVariantList& row)
{
    row.clear();
    if (!m_open || m_columns.empty())
        return false;
    const SQLRETURN result = SQLFetch(m_handle);
    if (result == SQL_NO_DATA) {
        Close();
        return false;
    }
    Check(result, SQL_HANDLE_STMT, m_handle, "SQLFetch");
    row.reserve(static_cast<qsizetype>(m_columns.size()));
    // Columns are read in order: the Access driver reads them only so (SQL_GD_ANY_ORDER is not promised).
    for (std::size_t column = 0; column < m_columns.size(); ++column)
        row.append(ReadValue(static_cast<int>(column) + 1, m_columns[column].SqlType));
    return true;
}

QVariant Statement::ReadValue(int column, short sqlType)
{
    SQLLEN indicator = 0;
    const auto get = [&](SQLSMALLINT cType, SQLPOINTER buffer, SQLLEN size) {
        const SQLRETURN result
            = SQLGetData(m_handle, static_cast<SQLUSMALLINT>(column), cType, buffer, size, &indicator);
        Check(result, SQL_HANDLE_STMT, m_handle, "SQLGetData");
        return result;
    };
    switch (sqlType) {
    case SQL_BIT: {
        unsigned char bit = 0;
        get(SQL_C_BIT, &bit, sizeof(bit));
        return indicator == SQL_NULL_DATA ? QVariant(QMetaType::fromType<bool>()) : QVariant(bit != 0);
    }
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER: {
        SQLINTEGER number = 0;
        get(SQL_C_SLONG, &number, sizeof(number));
        return indicator == SQL_NULL_DATA ? QVariant(QMetaType::fromType<int>()) : QVariant(static_cast<int>(number));
    }
    case SQL_BIGINT: {
        SQLBIGINT number = 0;
        get(SQL_C_SBIGINT, &number, sizeof(number));
        return indicator == SQL_NULL_DATA ? QVariant(QMetaType::fromType<qint64>())
                                          : QVariant(static_cast<qint64>(number));
    }
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: {
        double number = 0;
        get(SQL_C_DOUBLE, &number, sizeof(number));
        return indicator == SQL_NULL_DATA ? QVariant(QMetaType::fromType<double>()) : QVariant(number);
    }
    case SQL_TYPE_DATE:
    case SQL_DATE: {
        SQL_DATE_STRUCT date {};
        get(SQL_C_TYPE_DATE, &date, sizeof(date));
        if (indicator == SQL_NULL_DATA)
            return QVariant(QMetaType::fromType<QDate>());
        return QDate(date.year, date.month, date.day);
    }
    case SQL_TYPE_TIME:
    case SQL_TIME: {
        SQL_TIME_STRUCT time {};
        get(SQL_C_TYPE_TIME, &time, sizeof(time));
        if (indicator == SQL_NULL_DATA)
            return QVariant(QMetaType::fromType<QTime>());
        return QTime(time.hour, time.minute, time.second);
    }
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT moment {};
        get(SQL_C_TYPE_TIMESTAMP, &moment, sizeof(moment));
        if (indicator == SQL_NULL_DATA)
            return QVariant(QMetaType::fromType<QDateTime>());
        return QDateTime(QDate(moment.year, moment.month, moment.day), QTime(moment.hour, moment.minute, moment.second));
    }
    default:
        break;
    }
    // Everything else is read as a text, piece by piece (a MEMO may be long).
    QString text;
    SQLWCHAR piece[512];
    constexpr SQLLEN pieceBytes = sizeof(piece);
    for (;;) {
        const SQLRETURN result = SQLGetData(m_handle, static_cast<SQLUSMALLINT>(column), SQL_C_WCHAR, piece,
            pieceBytes, &indicator);
        if (result == SQL_NO_DATA)
            break;
        Check(result, SQL_HANDLE_STMT, m_handle, "SQLGetData");
        if (indicator == SQL_NULL_DATA)
            return QVariant(QMetaType::fromType<QString>());
        // The piece holds as much as fits with its terminator; the indicator is what was left before it.
        const SQLLEN room = pieceBytes - static_cast<SQLLEN>(sizeof(SQLWCHAR));
        const SQLLEN bytes = (indicator == SQL_NO_TOTAL || indicator > room) ? room : indicator;
        text += FromWide(piece, bytes / static_cast<SQLLEN>(sizeof(SQLWCHAR)));
        if (result == SQL_SUCCESS)
            break;
    }
    return text;
}

QStringList InstalledDrivers()
{
    QStringList drivers;
    SQLHENV environment = SQL_NULL_HENV;
    try {
        environment = Environment();
    } catch (const CallFailure&) {
        return drivers;
    }
    SQLWCHAR description[512];
    SQLWCHAR attributes[2048];
    SQLSMALLINT descriptionLength = 0;
    SQLSMALLINT attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        const SQLRETURN result = SQLDriversW(
            environment, direction, description, 512, &descriptionLength, attributes, 2048, &attributesLength);
        if (!SQL_SUCCEEDED(result))
            break;
        drivers.append(FromWide(description, Within(descriptionLength, 511)));
        direction = SQL_FETCH_NEXT;
    }
    return drivers;
}

QStringList ConfigureDataSource(const QString& driver, const QString& attributes)
{
    if (SQLConfigDataSourceW(nullptr, ODBC_ADD_DSN, Wide(driver), Wide(attributes)))
        return {};
    QStringList texts;
    InstallerErrors(texts);
    if (texts.isEmpty())
        texts.append(QStringLiteral("sterownik nie podał przyczyny"));
    return texts;
}

QString BracedValue(const QString& value)
{
    // [MS-ODBCSTR] 2.1.2: a value in braces runs to the closing brace, and a "}" inside it is written twice.
    QString braced = value;
    braced.replace(QLatin1Char('}'), QStringLiteral("}}"));
    return QLatin1Char('{') + braced + QLatin1Char('}');
}

} // namespace kibic::odbc
