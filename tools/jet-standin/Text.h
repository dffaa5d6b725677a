// Text as the driver moves it: UTF-16 from the application, UTF-8 in SQLite, and Jet's case-blind comparison.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace jetstandin {

// UTF-16 code units as unixODBC's SQLWCHAR holds them (two bytes each).
using Utf16 = std::u16string;

// Every code unit is kept, U+0000 included; an unpaired surrogate becomes U+FFFD.
[[nodiscard]] std::string ToUtf8(const char16_t* units, std::size_t count);
[[nodiscard]] inline std::string ToUtf8(const Utf16& text)
{
    return ToUtf8(text.data(), text.size());
}
[[nodiscard]] Utf16 ToUtf16(const std::string& utf8);

// The characters (code points) of a UTF-8 text, NUL included.
[[nodiscard]] std::size_t CharacterCount(const std::string& utf8);
// The first count characters of a UTF-8 text.
[[nodiscard]] std::string FirstCharacters(const std::string& utf8, std::size_t count);

// Jet compares texts without regard to case (the "General" sort order): letters of ASCII, Latin-1 and
// Latin Extended-A (every Polish letter) fold to lower case. Returns <0, 0, >0 like memcmp.
[[nodiscard]] int CompareIgnoringCase(const void* left, int leftBytes, const void* right, int rightBytes);

// One line's field of the trace file: backslash, tab, newline, carriage return and NUL escaped.
[[nodiscard]] std::string EscapeForTrace(const std::string& text);

[[nodiscard]] std::string Lower(std::string text);
[[nodiscard]] std::string Upper(std::string text);

} // namespace jetstandin
