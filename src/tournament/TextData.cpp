// Token reading of ZyRT's text files and the conversion into ZyRT's letter codes.
#include "tournament/TextData.h"

#include "common/KibicError.h"
#include "common/SafeFiles.h"

#include <limits>
#include <vector>

namespace kibic {

namespace {

bool IsLineBreak(char byte)
{
    return byte == '\r' || byte == '\n';
}

bool IsDelimiter(char byte)
{
    return byte == '\t' || byte == '\n' || byte == '\r' || byte == kEndOfFileMark || byte == ' ' || byte == '*';
}

// A decimal integer with an optional sign that fits 32 bits; anything else is no integer.
bool ParseInt32(const QByteArray& token, qint32& value)
{
    if (token.isEmpty())
        return false;
    qsizetype i = 0;
    bool negative = false;
    if (token[0] == '+' || token[0] == '-') {
        negative = token[0] == '-';
        i = 1;
    }
    if (i >= token.size())
        return false;
    qint64 magnitude = 0;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > qint64(std::numeric_limits<qint32>::max()) + 1)
            return false;
    }
    const qint64 signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<qint32>::max() || signedValue < std::numeric_limits<qint32>::min())
        return false;
    value = static_cast<qint32>(signedValue);
    return true;
}

} // namespace

TText::TText(const QString& fileName)
    : m_fileName(fileName)
{
    m_bytes = ReadWholeFile(
        fileName, QStringLiteral("Nie można otworzyć pliku"), QStringLiteral("Nie można odczytać pliku"));
}

TText::TText(QByteArray bytes, QString name)
    : m_bytes(std::move(bytes))
    , m_fileName(std::move(name))
{
}

TText TText::FromBytes(QByteArray bytes, QString name)
{
    return TText(std::move(bytes), std::move(name));
}

int TText::LineNumber() const
{
    return static_cast<int>(m_bytes.left(m_position).count('\n')) + 1;
}

char TText::ReadByte()
{
    if (m_position >= m_bytes.size()) {
        m_atEnd = true;
        return 0;
    }
    m_atEnd = false;
    return m_bytes.constData()[m_position++];
}

void TText::StepBack()
{
    if (m_position > 0)
        --m_position;
}

void TText::SkipLine()
{
    char byte = ReadByte();
    while (!m_atEnd && !IsLineBreak(byte))
        byte = ReadByte();
    while (!m_atEnd && IsLineBreak(byte))
        byte = ReadByte();
    if (!m_atEnd)
        StepBack();
}

void TText::SkipBlanks()
{
    char byte = ReadByte();
    while (!m_atEnd && IsDelimiter(byte)) {
        if (byte == '*')
            SkipLine();
        byte = ReadByte();
    }
    if (!m_atEnd)
        StepBack();
}

QByteArray TText::ReadPlainToken()
{
    SkipBlanks();
    QByteArray token;
    char byte = ReadByte();
    if (m_atEnd)
        return token;
    while (!m_atEnd && !IsDelimiter(byte)) {
        token.append(byte);
        byte = ReadByte();
    }
    if (!m_atEnd)
        StepBack();
    return token;
}

QByteArray TText::ReadToken()
{
    // A token that begins with a double quote takes in the following tokens, each read the same way (so
    // a quoted piece inside it is itself joined and unquoted), until the joined text ends with a quote.
    // The quotes still open wait on a stack rather than in nested calls, so that a file of thousands of
    // opening quotes cannot exhaust the call stack. At the end of the file every open quote ends with
    // what it holds, without its opening quote, and is joined into the quote that waits for it.
    std::vector<QByteArray> open;
    for (;;) {
        QByteArray value = ReadPlainToken();
        for (;;) {
            if (value.startsWith('"')) {
                if (!value.endsWith('"')) {
                    open.push_back(std::move(value));
                    break;
                }
                value = value.size() >= 2 ? value.mid(1, value.size() - 2) : QByteArray(); // lone quote: empty
            }
            if (open.empty())
                return value;
            if (value.isEmpty() && m_atEnd) {
                // End of the file: each open quote ends with what it holds, joined into the one before.
                QByteArray whole = open.front().mid(1);
                for (size_t i = 1; i < open.size(); ++i) {
                    whole.append(' ');
                    whole.append(QByteArrayView(open[i]).sliced(1));
                }
                return whole;
            }
            QByteArray& joined = open.back();
            joined.append(' ');
            joined.append(value);
            if (!joined.endsWith('"'))
                break;
            value = std::move(joined);
            open.pop_back(); // the joined text is unquoted at the top of the loop
        }
    }
}

bool TText::TokenValue(const QByteArray& token, qint32& value)
{
    if (token == "++") {
        value = std::numeric_limits<qint32>::max();
        return true;
    }
    return ParseInt32(token, value);
}

qint32 TText::ReadInt()
{
    qint32 value = 0;
    return TokenValue(ReadToken(), value) ? value : 0;
}

QByteArray ConvertPolishLetters(const QByteArray& text)
{
    QByteArray converted = text;
    for (char& byte : converted) {
        const qsizetype p = SourceLetters.indexOf(byte);
        if (p >= 0)
            byte = TargetLetters[p];
    }
    return converted;
}

} // namespace kibic
