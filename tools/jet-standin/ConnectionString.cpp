// The ODBC connection-string grammar.
#include "ConnectionString.h"

#include "Text.h"

namespace jetstandin {
namespace {

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

ConnectionString::ConnectionString(const std::string& text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t equals = text.find('=', at);
        const std::size_t semicolon = text.find(';', at);
        if (equals == std::string::npos || (semicolon != std::string::npos && semicolon < equals)) {
            // A fragment without '=' (such as what is left of an unbraced value cut at ';') names nothing.
            if (semicolon == std::string::npos)
                break;
            at = semicolon + 1;
            continue;
        }
        const std::string keyword = Upper(Trimmed(text.substr(at, equals - at)));
        std::size_t valueStart = equals + 1;
        while (valueStart < text.size() && text[valueStart] == ' ')
            ++valueStart;
        std::string value;
        if (valueStart < text.size() && text[valueStart] == '{') {
            const std::size_t close = text.find('}', valueStart + 1);
            const std::size_t end = close == std::string::npos ? text.size() : close;
            value = text.substr(valueStart + 1, end - valueStart - 1);
            const std::size_t next = text.find(';', end);
            at = next == std::string::npos ? text.size() : next + 1;
        } else {
            const std::size_t end = text.find(';', valueStart);
            value = Trimmed(text.substr(valueStart, end == std::string::npos ? std::string::npos : end - valueStart));
            at = end == std::string::npos ? text.size() : end + 1;
        }
        if (!keyword.empty() && !Value(keyword))
            m_attributes.emplace_back(keyword, value);
    }
}

std::optional<std::string> ConnectionString::Value(const std::string& keyword) const
{
    const std::string wanted = Upper(keyword);
    for (const auto& [name, value] : m_attributes) {
        if (name == wanted)
            return value;
    }
    return std::nullopt;
}

} // namespace jetstandin
