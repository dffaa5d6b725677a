// A scripted ODBC client of the Jet stand-in for the fault tests: each argument is one step, and each
// step prints one line, so a test can run a sequence in a process of its own (the stand-in counts its
// injected faults per process) and read what every step met.
//
//   connect STRING    SQLDriverConnectW          -> "connect ok" | "connect error SQLSTATE NATIVE"
//   exec SQL          SQLExecDirectW              -> "exec ok ROWS" | "exec error SQLSTATE NATIVE"
//   autocommit on|off SQLSetConnectAttrW          -> "autocommit ok" | ...
//   commit, rollback  SQLEndTran                  -> "commit ok" | ...
//   disconnect        SQLDisconnect               -> "disconnect ok"
//   sleep MS          waits MS milliseconds       -> "sleep ok"
//   insert-text SQL TEXT  SQLPrepareW with a TextLength that counts the NUL, TEXT bound as SQL_C_WCHAR /
//                     SQL_WVARCHAR with its NUL inside the length (as Qt 6.4.2's ODBC plugin binds),
//                     SQLExecute                  -> "insert-text ok ROWS" | ...
#include <sql.h>
#include <sqlext.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::u16string Wide(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

SQLWCHAR* Units(std::u16string& text)
{
    return reinterpret_cast<SQLWCHAR*>(text.data());
}

void Report(const char* step, SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const std::string& success)
{
    if (SQL_SUCCEEDED(rc)) {
        std::printf("%s ok%s\n", step, success.c_str());
        return;
    }
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[1024] = {};
    SQLSMALLINT length = 0;
    if (SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length) != SQL_SUCCESS)
        std::strcpy(reinterpret_cast<char*>(state), "?????");
    std::printf("%s error %s %d\n", step, reinterpret_cast<char*>(state), static_cast<int>(native));
}

} // namespace

int main(int argc, char** argv)
{
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection);
    int i = 1;
    while (i < argc) {
        const std::string step = argv[i++];
        const bool takesArgument = step != "disconnect" && step != "commit" && step != "rollback";
        const bool takesTwo = step == "insert-text";
        if (takesTwo && i + 1 >= argc) {
            std::printf("%s lacks its arguments\n", step.c_str());
            return 2;
        }
        if (takesArgument && i >= argc) {
            std::printf("%s lacks its argument\n", step.c_str());
            return 2;
        }
        const std::string argument = takesArgument ? argv[i++] : "";
        if (step == "connect") {
            std::u16string text = Wide(argument);
            const SQLRETURN rc = SQLDriverConnectW(
                connection, nullptr, Units(text), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
            Report("connect", rc, SQL_HANDLE_DBC, connection, "");
        } else if (step == "exec") {
            SQLHSTMT statement = SQL_NULL_HSTMT;
            SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement);
            if (!SQL_SUCCEEDED(rc)) {
                Report("exec", rc, SQL_HANDLE_DBC, connection, "");
                continue;
            }
            std::u16string text = Wide(argument);
            rc = SQLExecDirectW(statement, Units(text), SQL_NTS);
            SQLLEN rows = -1;
            if (SQL_SUCCEEDED(rc))
                SQLRowCount(statement, &rows);
            Report("exec", rc, SQL_HANDLE_STMT, statement, " " + std::to_string(rows));
            SQLFreeHandle(SQL_HANDLE_STMT, statement);
        } else if (step == "insert-text") {
            SQLHSTMT statement = SQL_NULL_HSTMT;
            SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement);
            std::u16string sql = Wide(argument);
            std::u16string text = Wide(argv[i++]);
            SQLRETURN rc = SQLPrepareW(statement, Units(sql), static_cast<SQLINTEGER>(sql.size() + 1));
            SQLLEN length = static_cast<SQLLEN>((text.size() + 1) * 2);
            if (SQL_SUCCEEDED(rc))
                rc = SQLBindParameter(statement, 1, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                    static_cast<SQLULEN>(length), 0, Units(text), length, &length);
            if (SQL_SUCCEEDED(rc))
                rc = SQLExecute(statement);
            SQLLEN rows = -1;
            if (SQL_SUCCEEDED(rc))
                SQLRowCount(statement, &rows);
            Report("insert-text", rc, SQL_HANDLE_STMT, statement, " " + std::to_string(rows));
            SQLFreeHandle(SQL_HANDLE_STMT, statement);
        } else if (step == "autocommit") {
            const auto value = argument == "on" ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
            const SQLRETURN rc
                = SQLSetConnectAttrW(connection, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(value), 0);
            Report("autocommit", rc, SQL_HANDLE_DBC, connection, "");
        } else if (step == "commit" || step == "rollback") {
            const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, connection, step == "commit" ? SQL_COMMIT : SQL_ROLLBACK);
            Report(step.c_str(), rc, SQL_HANDLE_DBC, connection, "");
        } else if (step == "disconnect") {
            Report("disconnect", SQLDisconnect(connection), SQL_HANDLE_DBC, connection, "");
        } else if (step == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::stol(argument)));
            std::printf("sleep ok\n");
        } else {
            std::printf("%s unknown\n", step.c_str());
            return 2;
        }
        std::fflush(stdout);
    }
    SQLFreeHandle(SQL_HANDLE_DBC, connection);
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
    return 0;
}
