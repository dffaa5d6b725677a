// Jet SQL to SQLite.
//
// What differs, each with where Jet documents it:
//  - Data types of CREATE TABLE ("Microsoft Access Data Types", ODBC Desktop Database Drivers; "Equivalent
//    ANSI SQL Data Types", Access SQL reference). The Jet name stays the declared type SQLite keeps, so
//    the file's schema shows it, except where SQLite would give the column the wrong affinity:
//    COUNTER/AUTOINCREMENT becomes INTEGER PRIMARY KEY AUTOINCREMENT (SQLite numbers only such a
//    column) with the Jet name in a comment the schema keeps; MEMO/NOTE/NTEXT and TEXT without a size
//    become LONGTEXT, their CREATE TABLE name in the data types table; ALPHANUMERIC and STRING TEXT.
//    Text columns compare without regard to case (COLLATE NOCASE, which the driver redefines for every
//    letter of Polish): Jet compares texts by the database's sort order with its own sorting tables
//    ("Microsoft Jet 4.0 Sorting APIs: DBCompareStringW and DBLCMapStringW"), and "the default sort
//    order is case-insensitive" ("Specifying the String-Comparison Setting for a Module", Option
//    Compare Database, Office XP developer documentation); CREATE_DB uses General unless told otherwise. DECIMAL and
//    NUMERIC columns need ExtendedAnsiSQL ("Enabling New Data Types by Setting ExtendedAnsiSQL"); a name Jet does not
//    know is the syntax error Jet gives.
//  - DEFAULT in CREATE TABLE is Jet's ANSI-92 (ExtendedAnsiSQL) syntax ("Jet 4.0 Uses SQL-92 Reserved
//    Words List When ExtendedAnsiSQL Set"); without the flag it is a syntax error. A default in double
//    quotes is a text (Jet's expression service reads "9642" as text).
//  - True and False are -1 and 0 (Access SQL: Yes/No fields hold -1 for Yes); a Yes/No column keeps -1
//    for any nonzero value written to it (triggers made with the table).
//  - INSERT ... DEFAULT VALUES is not Jet SQL (Access SQL reference, INSERT INTO): a syntax error.
//  - SELECT @@IDENTITY is the last COUNTER value this connection made ("Retrieving Identity Values",
//    Jet 4.0 OLE DB/ODBC: @@IDENTITY is per connection); LEN() counts every character, NUL included.
//  - A text literal written to a column (INSERT ... VALUES ('x'), UPDATE ... SET c = 'x') is bound by
//    the driver as the named parameter :jetlitN, so that it meets its column's TEXT(n) check like a
//    bound text ("Data Truncation Detection Enabled Using ExtendedAnsiSQL").
//  - [name] and back-quoted `name` are Jet's identifier quotes ("Identifiers Limitations"); SQLite
//    reads both as they are.
#include "JetSql.h"

#include "Text.h"

#include <cctype>
#include <map>

namespace jetstandin {
namespace {

enum class TokenKind { Space, Word, Number, Bracketed, BackQuoted, SingleQuoted, DoubleQuoted, Parameter, Punct };

struct Token
{
    TokenKind Kind;
    std::string Text;
};

bool IsWordCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '@'
        || (static_cast<unsigned char>(c) >= 0x80);
}

// Reads a quoted token whose quote doubles inside it ('it''s'); an unclosed one runs to the end.
std::size_t QuotedEnd(const std::string& text, std::size_t at, char close)
{
    std::size_t i = at + 1;
    while (i < text.size()) {
        if (text[i] == close) {
            if (close != ']' && i + 1 < text.size() && text[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return text.size();
}

std::vector<Token> Tokens(const std::string& text)
{
    std::vector<Token> tokens;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        std::size_t end = at + 1;
        TokenKind kind = TokenKind::Punct;
        if (std::isspace(static_cast<unsigned char>(c))) {
            while (end < text.size() && std::isspace(static_cast<unsigned char>(text[end])))
                ++end;
            kind = TokenKind::Space;
        } else if (c == '[') {
            end = QuotedEnd(text, at, ']');
            kind = TokenKind::Bracketed;
        } else if (c == '`') {
            end = QuotedEnd(text, at, '`');
            kind = TokenKind::BackQuoted;
        } else if (c == '\'') {
            end = QuotedEnd(text, at, '\'');
            kind = TokenKind::SingleQuoted;
        } else if (c == '"') {
            end = QuotedEnd(text, at, '"');
            kind = TokenKind::DoubleQuoted;
        } else if (c == '?') {
            kind = TokenKind::Parameter;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '.'))
                ++end;
            kind = TokenKind::Number;
        } else if (IsWordCharacter(c)) {
            while (end < text.size() && IsWordCharacter(text[end]))
                ++end;
            kind = TokenKind::Word;
        } else if ((c == '<' || c == '>' || c == '!') && end < text.size() && (text[end] == '=' || text[end] == '>')) {
            ++end;
        }
        tokens.push_back({ kind, text.substr(at, end - at) });
        at = end;
    }
    return tokens;
}

bool IsWord(const Token& token, const char* word)
{
    return token.Kind == TokenKind::Word && Upper(token.Text) == word;
}

bool IsPunct(const Token& token, const char* punct)
{
    return token.Kind == TokenKind::Punct && token.Text == punct;
}

bool IsName(const Token& token)
{
    return token.Kind == TokenKind::Word || token.Kind == TokenKind::Bracketed || token.Kind == TokenKind::BackQuoted
        || token.Kind == TokenKind::DoubleQuoted;
}

// The name an identifier token stands for, quotes removed.
std::string NameOf(const Token& token)
{
    if (token.Kind == TokenKind::Bracketed || token.Kind == TokenKind::BackQuoted
        || token.Kind == TokenKind::DoubleQuoted) {
        const std::size_t closing = token.Text.size() >= 2 ? token.Text.size() - 2 : 0;
        return token.Text.substr(1, closing);
    }
    return token.Text;
}

std::string SingleQuoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        out.push_back(c);
        if (c == '\'')
            out.push_back('\'');
    }
    return out + "'";
}

// The statement's tokens without the spaces, each with its index in the full list.
struct Significant
{
    std::vector<Token> All;
    std::vector<std::size_t> Index; // positions of the non-space tokens in All

    [[nodiscard]] std::size_t Size() const { return Index.size(); }
    [[nodiscard]] const Token& operator[](std::size_t i) const { return All[Index[i]]; }
};

Significant Significant_(std::vector<Token> tokens)
{
    Significant s { std::move(tokens), {} };
    for (std::size_t i = 0; i < s.All.size(); ++i) {
        if (s.All[i].Kind != TokenKind::Space)
            s.Index.push_back(i);
    }
    return s;
}

// Token rewrites every statement gets: True/False, @@IDENTITY, LEN.
std::string RewrittenToken(const Significant& s, std::size_t i)
{
    const Token& token = s[i];
    if (IsWord(token, "TRUE"))
        return "-1";
    if (IsWord(token, "FALSE"))
        return "0";
    if (IsWord(token, "@@IDENTITY"))
        return "jet_identity()";
    if (IsWord(token, "LEN") && i + 1 < s.Size() && IsPunct(s[i + 1], "("))
        return "jet_len";
    return token.Text;
}

// The statement's SQLite text; replaced maps significant indexes to the text written in their place.
std::string Rewritten(
    const Significant& s, std::size_t from, std::size_t to, const std::map<std::size_t, std::string>& replaced = {})
{
    std::string out;
    for (std::size_t i = from; i < to; ++i) {
        if (i > from)
            out.push_back(' ');
        const auto replacement = replaced.find(i);
        out += replacement != replaced.end() ? replacement->second : RewrittenToken(s, i);
    }
    return out;
}

// The text of a quoted literal, its doubled quotes made single.
std::string LiteralText(const Token& token)
{
    std::string text = token.Text.size() >= 2 ? token.Text.substr(1, token.Text.size() - 2) : std::string();
    for (std::size_t at = text.find("''"); at != std::string::npos; at = text.find("''", at + 1))
        text.erase(at, 1);
    return text;
}

// A text literal written to a column becomes the named parameter :jetlitN, bound by the driver with
// the literal's text, so that it meets the same column check as a bound text.
void TakeLiteral(const Significant& s, std::size_t at, const std::string& column, TranslatedStatement& statement,
    std::map<std::size_t, std::string>& replaced)
{
    replaced[at] = ":jetlit" + std::to_string(statement.Literals.size());
    statement.Literals.push_back({ column, LiteralText(s[at]) });
}

// Splits [from, to) at the commas of depth 0.
std::vector<std::pair<std::size_t, std::size_t>> CommaItems(const Significant& s, std::size_t from, std::size_t to)
{
    std::vector<std::pair<std::size_t, std::size_t>> items;
    int depth = 0;
    std::size_t start = from;
    for (std::size_t i = from; i < to; ++i) {
        if (IsPunct(s[i], "("))
            ++depth;
        else if (IsPunct(s[i], ")"))
            --depth;
        else if (depth == 0 && IsPunct(s[i], ",")) {
            items.emplace_back(start, i);
            start = i + 1;
        }
    }
    if (start < to)
        items.emplace_back(start, to);
    return items;
}

// The index of the parenthesis that closes the one at open; Size() when there is none.
std::size_t Closing(const Significant& s, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < s.Size(); ++i) {
        if (IsPunct(s[i], "("))
            ++depth;
        else if (IsPunct(s[i], ")") && --depth == 0)
            return i;
    }
    return s.Size();
}

// The number of the parameter marker at significant index i (0-based).
std::size_t MarkerNumber(const Significant& s, std::size_t i)
{
    std::size_t number = 0;
    for (std::size_t j = 0; j < i; ++j) {
        if (s[j].Kind == TokenKind::Parameter)
            ++number;
    }
    return number;
}

std::size_t MarkerCount(const Significant& s)
{
    return MarkerNumber(s, s.Size());
}

struct JetType
{
    std::string Sqlite; // the declared type written to SQLite
    bool Text = false;
    bool YesNo = false;
    bool NeedsExtendedAnsi = false;
    bool Known = true;
};

JetType TypeFor(const std::string& word, const std::string& size)
{
    const std::string name = Upper(word);
    const std::string sized = size.empty() ? name : name + "(" + size + ")";
    if (name == "COUNTER" || name == "AUTOINCREMENT")
        return { "INTEGER PRIMARY KEY AUTOINCREMENT /* Jet: " + name + " */" };
    if (name == "TEXT" && size.empty())
        return { "LONGTEXT /* Jet: TEXT */", true };
    if (name == "TEXT" || name == "VARCHAR" || name == "CHAR" || name == "CHARACTER" || name == "NCHAR"
        || name == "NVARCHAR")
        return { size.empty() ? name + "(255)" : sized, true };
    if (name == "ALPHANUMERIC" || name == "STRING")
        return { "TEXT(" + (size.empty() ? std::string("255") : size) + ") /* Jet: " + name + " */", true };
    if (name == "LONGTEXT" || name == "LONGCHAR")
        return { name, true };
    if (name == "MEMO" || name == "NOTE" || name == "NTEXT")
        return { "LONGTEXT /* Jet: " + name + " */", true };
    if (name == "YESNO" || name == "BIT" || name == "LOGICAL" || name == "LOGICAL1" || name == "BOOLEAN")
        return { name, false, true };
    if (name == "DECIMAL" || name == "NUMERIC" || name == "DEC")
        return { sized, false, false, true };
    static const char* const kKept[] = { "SHORT", "SMALLINT", "INTEGER2", "LONG", "INTEGER", "INT", "INTEGER4", "BYTE",
        "TINYINT", "INTEGER1", "DOUBLE", "FLOAT", "FLOAT8", "IEEEDOUBLE", "NUMBER", "SINGLE", "REAL", "FLOAT4",
        "IEEESINGLE", "CURRENCY", "MONEY", "DATETIME", "DATE", "TIME", "TIMESTAMP", "GUID", "UNIQUEIDENTIFIER",
        "BINARY", "VARBINARY", "LONGBINARY", "IMAGE", "OLEOBJECT", "GENERAL" };
    for (const char* kept : kKept) {
        if (name == kept)
            return { sized };
    }
    return { name, false, false, false, false };
}

TranslatedStatement Refused(TranslatedStatement statement, JetFailure failure, std::string detail = {})
{
    statement.Refusal = failure;
    statement.RefusalDetail = std::move(detail);
    return statement;
}

// One column definition of CREATE TABLE; appends its SQLite text to out.
bool TranslateColumn(const Significant& s, std::size_t from, std::size_t to, bool extendedAnsiSql, std::string& out,
    TranslatedStatement& statement)
{
    static const char* const kTableConstraints[] = { "CONSTRAINT", "PRIMARY", "UNIQUE", "FOREIGN", "CHECK" };
    for (const char* word : kTableConstraints) {
        if (IsWord(s[from], word)) {
            out += Rewritten(s, from, to);
            return true;
        }
    }
    if (to - from < 2 || !IsName(s[from]) || s[from + 1].Kind != TokenKind::Word)
        return false;
    std::size_t at = from + 2;
    std::string size;
    if (at < to && IsPunct(s[at], "(")) {
        const std::size_t close = Closing(s, at);
        if (close >= to)
            return false;
        for (std::size_t i = at + 1; i < close; ++i)
            size += s[i].Text;
        at = close + 1;
    }
    const JetType type = TypeFor(s[from + 1].Text, size);
    if (!type.Known || (type.NeedsExtendedAnsi && !extendedAnsiSql))
        return false;
    const std::string name = NameOf(s[from]);
    out += QuotedName(name) + " " + type.Sqlite;
    if (type.Text)
        out += " COLLATE NOCASE";
    if (type.YesNo)
        statement.YesNoColumns.push_back(name);
    for (std::size_t i = at; i < to; ++i) {
        out.push_back(' ');
        if (IsWord(s[i], "DEFAULT")) {
            if (!extendedAnsiSql)
                return false;
            out += "DEFAULT";
            if (i + 1 < to && s[i + 1].Kind == TokenKind::DoubleQuoted) {
                out += " " + SingleQuoted(NameOf(s[i + 1]));
                ++i;
            }
            continue;
        }
        out += RewrittenToken(s, i);
    }
    return true;
}

TranslatedStatement TranslateCreateTable(const Significant& s, bool extendedAnsiSql, TranslatedStatement statement)
{
    statement.Kind = StatementKind::CreateTable;
    if (s.Size() < 5 || !IsName(s[2]) || !IsPunct(s[3], "("))
        return Refused(std::move(statement), JetFailure::SyntaxCreateTable);
    statement.Table = NameOf(s[2]);
    const std::size_t close = Closing(s, 3);
    if (close != s.Size() - 1 && !(close == s.Size() - 2 && IsPunct(s[s.Size() - 1], ";")))
        return Refused(std::move(statement), JetFailure::SyntaxCreateTable);
    std::string out = "CREATE TABLE " + QuotedName(statement.Table) + " (";
    bool first = true;
    for (const auto& [from, to] : CommaItems(s, 4, close)) {
        if (!first)
            out += ", ";
        first = false;
        if (from == to || !TranslateColumn(s, from, to, extendedAnsiSql, out, statement))
            return Refused(std::move(statement), JetFailure::SyntaxCreateTable);
    }
    statement.Sql = out + ")";
    return statement;
}

// INSERT INTO t (c1, c2) VALUES (?, ?): which column each marker fills.
TranslatedStatement TranslateInsert(const Significant& s, TranslatedStatement statement)
{
    statement.Kind = StatementKind::Insert;
    for (std::size_t i = 0; i + 1 < s.Size(); ++i) {
        if (IsWord(s[i], "DEFAULT") && IsWord(s[i + 1], "VALUES"))
            return Refused(std::move(statement), JetFailure::SyntaxInsert);
    }
    if (s.Size() < 4 || !IsWord(s[1], "INTO") || !IsName(s[2]))
        return Refused(std::move(statement), JetFailure::SyntaxInsert);
    statement.Table = NameOf(s[2]);
    statement.ParameterColumns.assign(MarkerCount(s), std::string());
    if (!IsPunct(s[3], "("))
        return statement;
    const std::size_t columnsClose = Closing(s, 3);
    if (columnsClose + 2 >= s.Size() || !IsWord(s[columnsClose + 1], "VALUES") || !IsPunct(s[columnsClose + 2], "("))
        return statement;
    const auto columns = CommaItems(s, 4, columnsClose);
    const auto values = CommaItems(s, columnsClose + 3, Closing(s, columnsClose + 2));
    if (columns.size() != values.size())
        return Refused(std::move(statement), JetFailure::SyntaxInsert);
    std::map<std::size_t, std::string> replaced;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const auto [from, to] = values[k];
        if (to - from != 1 || columns[k].second - columns[k].first != 1)
            continue;
        const std::string column = NameOf(s[columns[k].first]);
        if (s[from].Kind == TokenKind::Parameter)
            statement.ParameterColumns[MarkerNumber(s, from)] = column;
        else if (s[from].Kind == TokenKind::SingleQuoted)
            TakeLiteral(s, from, column, statement, replaced);
    }
    statement.Sql = Rewritten(s, 0, s.Size(), replaced);
    return statement;
}

// UPDATE t SET c1 = ?, c2 = ? WHERE ...: which column each SET marker fills.
TranslatedStatement TranslateUpdate(const Significant& s, TranslatedStatement statement)
{
    statement.Kind = StatementKind::Update;
    if (s.Size() < 4 || !IsName(s[1]) || !IsWord(s[2], "SET"))
        return statement;
    statement.Table = NameOf(s[1]);
    statement.ParameterColumns.assign(MarkerCount(s), std::string());
    std::size_t end = 3;
    while (end < s.Size() && !IsWord(s[end], "WHERE"))
        ++end;
    std::map<std::size_t, std::string> replaced;
    for (const auto& [from, to] : CommaItems(s, 3, end)) {
        if (to - from != 3 || !IsName(s[from]) || !IsPunct(s[from + 1], "="))
            continue;
        if (s[from + 2].Kind == TokenKind::Parameter)
            statement.ParameterColumns[MarkerNumber(s, from + 2)] = NameOf(s[from]);
        else if (s[from + 2].Kind == TokenKind::SingleQuoted)
            TakeLiteral(s, from + 2, NameOf(s[from]), statement, replaced);
    }
    statement.Sql = Rewritten(s, 0, s.Size(), replaced);
    return statement;
}

} // namespace

std::string QuotedName(const std::string& name)
{
    std::string out = "\"";
    for (char c : name) {
        out.push_back(c);
        if (c == '"')
            out.push_back('"');
    }
    return out + "\"";
}

TranslatedStatement TranslateJetSql(const std::string& jet, bool extendedAnsiSql)
{
    const Significant s = Significant_(Tokens(jet));
    TranslatedStatement statement;
    if (s.Size() == 0)
        return Refused(std::move(statement), JetFailure::SyntaxMissingOperator, jet);
    statement.ParameterColumns.assign(MarkerCount(s), std::string());
    statement.Sql = Rewritten(s, 0, s.Size());
    const std::string verb = Upper(s[0].Text);
    if (verb == "CREATE" && s.Size() > 1 && IsWord(s[1], "TABLE"))
        return TranslateCreateTable(s, extendedAnsiSql, std::move(statement));
    if (verb == "INSERT")
        return TranslateInsert(s, std::move(statement));
    if (verb == "UPDATE")
        return TranslateUpdate(s, std::move(statement));
    if (verb == "DELETE") {
        statement.Kind = StatementKind::Delete;
        for (std::size_t i = 1; i + 1 < s.Size(); ++i) {
            if (IsWord(s[i], "FROM") && IsName(s[i + 1]))
                statement.Table = NameOf(s[i + 1]);
        }
        return statement;
    }
    if (verb == "SELECT")
        statement.Kind = StatementKind::Select;
    return statement;
}

std::string YesNoTriggers(const std::string& table, const std::vector<std::string>& columns)
{
    if (columns.empty())
        return {};
    std::string set;
    std::string wrong;
    std::string names;
    for (const std::string& column : columns) {
        const std::string c = QuotedName(column);
        if (!set.empty()) {
            set += ", ";
            wrong += " OR ";
            names += ", ";
        }
        set += c + " = CASE WHEN " + c + " <> 0 THEN -1 ELSE " + c + " END";
        wrong += "(" + c + " IS NOT NULL AND " + c + " NOT IN (0, -1))";
        names += c;
    }
    const std::string body
        = " BEGIN UPDATE " + QuotedName(table) + " SET " + set + " WHERE rowid = NEW.rowid AND (" + wrong + "); END;";
    return "CREATE TRIGGER " + QuotedName("jet_yesno_insert_" + table) + " AFTER INSERT ON " + QuotedName(table) + body
        + " CREATE TRIGGER " + QuotedName("jet_yesno_update_" + table) + " AFTER UPDATE OF " + names + " ON "
        + QuotedName(table) + body;
}

} // namespace jetstandin
