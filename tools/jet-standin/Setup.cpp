// The driver's setup entry point (the same library is Setup= in odbcinst.ini): SQLConfigDataSource
// makes a new database file through it.
//
// "SQLConfigDataSource (Access Driver)": CREATE_DB=<path_name><optional_sort-order> creates a database
// file, the path in double quotes when it holds spaces, "General" when no sort order is given, and "an
// error will be returned if the path name specifies an existing database"; the DSN keyword is ignored
// beside it. CREATE_DBV4 (Jet 4.0), CREATE_DBV3 and CREATE_V2DB are the same with another file version.
// The attributes are "ConfigDSN": keyword=value pairs, each ended by a NUL, the list by a second NUL.
// The new file is an SQLite database whose header is written at once (PRAGMA user_version = the Jet
// version times 100, so the file starts "SQLite format 3"), which any SQLite tool opens. It is kept in
// SQLite's write-ahead-log mode: as in a shared Jet file, where locks are taken on the pages written
// (the .ldb file beside the .mdb holds them), a reader never waits for a writer and a writer never
// waits for a reader; two writers meet the lock.
#include "ConnectionString.h"
#include "JetErrors.h"
#include "Text.h"
#include "Trace.h"

#include <odbcinst.h>
#include <sqlite3.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace jetstandin;

namespace {

struct Attribute
{
    std::string Keyword; // upper case
    std::string Value;
};

std::vector<Attribute> Attributes(const std::vector<std::string>& pairs)
{
    std::vector<Attribute> attributes;
    for (const std::string& pair : pairs) {
        const std::size_t equals = pair.find('=');
        if (equals != std::string::npos)
            attributes.push_back({ Upper(pair.substr(0, equals)), pair.substr(equals + 1) });
    }
    return attributes;
}

// "path" General, or path General: the path without its quotes.
std::string CreationPath(const std::string& value)
{
    std::size_t start = value.find_first_not_of(' ');
    if (start == std::string::npos)
        return {};
    if (value[start] == '"') {
        const std::size_t close = value.find('"', start + 1);
        return value.substr(start + 1, close == std::string::npos ? std::string::npos : close - start - 1);
    }
    const std::size_t end = value.find(' ', start);
    return value.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool Exists(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0;
}

bool FolderExists(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    struct stat info
    {
    };
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

BOOL Refuse(JetFailure failure, const std::string& detail)
{
    const JetErrorText& text = ErrorText(failure);
    TraceLine({ "error", std::to_string(::getpid()), text.SqlState, std::to_string(text.Native) });
    SQLPostInstallerError(ODBC_ERROR_REQUEST_FAILED, ErrorMessage(failure, detail).c_str());
    return 0;
}

BOOL CreateDatabase(const std::string& path, int version)
{
    if (path.empty())
        return Refuse(JetFailure::NotValidFileName, path);
    if (Exists(path))
        return Refuse(JetFailure::DatabaseExists, path);
    if (!FolderExists(path))
        return Refuse(JetFailure::InvalidPath, path);
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db,
            ("PRAGMA user_version = " + std::to_string(version) + "; PRAGMA journal_mode = WAL").c_str(), nullptr,
            nullptr, nullptr);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        ::unlink(path.c_str());
        return Refuse(JetFailure::DiskOrNetwork, path);
    }
    return 1;
}

BOOL WriteDataSource(WORD request, const std::string& driver, const std::vector<Attribute>& attributes)
{
    std::string name;
    for (const Attribute& attribute : attributes) {
        if (attribute.Keyword == "DSN")
            name = attribute.Value;
    }
    if (name.empty())
        return Refuse(JetFailure::NoDataSource, name);
    if (request == ODBC_REMOVE_DSN)
        return SQLRemoveDSNFromIni(name.c_str());
    if (request == ODBC_ADD_DSN && !SQLWriteDSNToIni(name.c_str(), driver.c_str()))
        return 0;
    for (const Attribute& attribute : attributes) {
        if (attribute.Keyword != "DSN"
            && !SQLWritePrivateProfileString(
                name.c_str(), attribute.Keyword.c_str(), attribute.Value.c_str(), "odbc.ini"))
            return 0;
    }
    return 1;
}

BOOL Configure(WORD request, const std::string& driver, const std::vector<std::string>& pairs)
{
    std::string traced;
    for (const std::string& pair : pairs)
        traced += EscapeForTrace(pair) + "\\0";
    TraceLine({ "config", std::to_string(::getpid()), traced });
    const std::vector<Attribute> attributes = Attributes(pairs);
    static const std::pair<const char*, int> kCreations[]
        = { { "CREATE_DB", 400 }, { "CREATE_DBV4", 400 }, { "CREATE_DBV3", 300 }, { "CREATE_V2DB", 200 } };
    for (const Attribute& attribute : attributes) {
        for (const auto& [keyword, version] : kCreations) {
            if (attribute.Keyword == keyword)
                return CreateDatabase(CreationPath(attribute.Value), version);
        }
    }
    return WriteDataSource(request, driver, attributes);
}

template <typename Char> std::vector<std::string> SplitAttributes(const Char* list)
{
    std::vector<std::string> pairs;
    if (list == nullptr)
        return pairs;
    while (*list != 0) {
        std::basic_string<Char> pair;
        while (*list != 0)
            pair.push_back(*list++);
        ++list;
        if constexpr (sizeof(Char) == 1)
            pairs.emplace_back(pair.begin(), pair.end());
        else
            pairs.push_back(ToUtf8(reinterpret_cast<const char16_t*>(pair.data()), pair.size()));
    }
    return pairs;
}

} // namespace

extern "C" {

BOOL INSTAPI ConfigDSN(HWND, WORD fRequest, LPCSTR lpszDriver, LPCSTR lpszAttributes)
{
    return Configure(fRequest, lpszDriver ? lpszDriver : "", SplitAttributes(lpszAttributes));
}

BOOL INSTAPI ConfigDSNW(HWND, WORD fRequest, LPCWSTR lpszDriver, LPCWSTR lpszAttributes)
{
    std::vector<std::string> driver = SplitAttributes(lpszDriver);
    return Configure(fRequest, driver.empty() ? std::string() : driver.front(), SplitAttributes(lpszAttributes));
}

} // extern "C"
