// Text conversions of the Jet stand-in.
#include "Text.h"

#include <algorithm>
#include <cctype>

namespace jetstandin {
namespace {

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Decodes one code point at text[at], moving at past it; a broken sequence yields U+FFFD.
char32_t DecodeUtf8(const unsigned char* text, std::size_t size, std::size_t& at)
{
    const unsigned char lead = text[at++];
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        code = lead & 0x07;
    } else {
        return 0xFFFD;
    }
    for (int i = 0; i < extra; ++i) {
        if (at >= size || (text[at] & 0xC0) != 0x80)
            return 0xFFFD;
        code = (code << 6) | (text[at++] & 0x3F);
    }
    return code;
}

// Lower case of the letters Jet's General order treats alike; others unchanged.
char32_t FoldCase(char32_t code)
{
    if (code >= 'A' && code <= 'Z')
        return code + 0x20;
    if (code >= 0xC0 && code <= 0xDE && code != 0xD7)
        return code + 0x20;
    // Latin Extended-A: pairs upper/lower, the upper one even in 0100-0137 and 014A-0177, odd in
    // 0139-0148 and 0179-017E; U+0178 is the capital of U+00FF.
    if ((code >= 0x100 && code <= 0x137) || (code >= 0x14A && code <= 0x177))
        return (code % 2 == 0) ? code + 1 : code;
    if ((code >= 0x139 && code <= 0x148) || (code >= 0x179 && code <= 0x17E))
        return (code % 2 == 1) ? code + 1 : code;
    if (code == 0x178)
        return 0xFF;
    return code;
}

} // namespace

std::string ToUtf8(const char16_t* units, std::size_t count)
{
    std::string out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char32_t code = units[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        AppendUtf8(out, code);
    }
    return out;
}

Utf16 ToUtf16(const std::string& utf8)
{
    Utf16 out;
    out.reserve(utf8.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const char32_t code = DecodeUtf8(bytes, utf8.size(), at);
        if (code >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

std::size_t CharacterCount(const std::string& utf8)
{
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string FirstCharacters(const std::string& utf8, std::size_t count)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (seen == count)
                return utf8.substr(0, i);
            ++seen;
        }
    }
    return utf8;
}

int CompareIgnoringCase(const void* left, int leftBytes, const void* right, int rightBytes)
{
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    std::size_t i = 0;
    std::size_t j = 0;
    const auto sizeA = static_cast<std::size_t>(leftBytes);
    const auto sizeB = static_cast<std::size_t>(rightBytes);
    while (i < sizeA && j < sizeB) {
        const char32_t x = FoldCase(DecodeUtf8(a, sizeA, i));
        const char32_t y = FoldCase(DecodeUtf8(b, sizeB, j));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < sizeA)
        return 1;
    if (j < sizeB)
        return -1;
    return 0;
}

std::string EscapeForTrace(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\0':
            out += "\\0";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

std::string Lower(std::string text)
{
    std::transform(
        text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Upper(std::string text)
{
    std::transform(
        text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace jetstandin
