// The connection string of SQLDriverConnect read by the ODBC grammar.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace jetstandin {

// "SQLDriverConnect Function", Comments (ODBC API Reference): the string is attribute=value pairs
// separated by semicolons; a value in braces may hold semicolons and ends at the closing brace; an
// unbraced value ends at the next semicolon; keywords are case-insensitive; when a keyword repeats,
// the first occurrence counts.
class ConnectionString
{
public:
    explicit ConnectionString(const std::string& text);

    // The value of keyword, braces removed; nothing when the keyword is absent.
    [[nodiscard]] std::optional<std::string> Value(const std::string& keyword) const;

private:
    std::vector<std::pair<std::string, std::string>> m_attributes; // upper-case keyword, value
};

} // namespace jetstandin
