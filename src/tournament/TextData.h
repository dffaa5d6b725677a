// TText: the token reader for ZyRT's text files and pattern files; and ZyRT's letter codes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kibic {

// The end-of-file mark (Ctrl+Z) that ends some of ZyRT's text files before their last byte.
inline constexpr char kEndOfFileMark = 26;

// Reads whitespace-separated tokens from a file, byte by byte.
//   blanks      TAB, LF, CR, byte 26 (end-of-file mark), space
//   "*"         starts a comment that runs to the end of its line; it also ends a token before it
//   "\"..."     a token that begins with a double quote runs over the following tokens until one ends
//               with a double quote; the pieces are joined with single spaces and the quotes removed
//   "++"        as an integer: 2147483647; any other token that is not a decimal integer reads as 0
// Past the end of the file every token is empty and every integer 0.
class TText
{
public:
    // Opens the file for reading; a file that cannot be opened raises KibicError naming it.
    explicit TText(const QString& fileName);

    // A reader over bytes already in memory; name is used in messages.
    [[nodiscard]] static TText FromBytes(QByteArray bytes, QString name);

    [[nodiscard]] qint32 ReadInt();
    [[nodiscard]] QByteArray ReadToken();

    // A token as ReadInt reads a number: "++" is 2147483647, a decimal integer with an optional sign that
    // fits 32 bits is itself. False for any other token, which ReadInt reads as 0.
    [[nodiscard]] static bool TokenValue(const QByteArray& token, qint32& value);

    // True once a read of one byte found no byte.
    [[nodiscard]] bool AtEnd() const { return m_atEnd; }

    // The file's name as given, for messages.
    [[nodiscard]] const QString& FileName() const { return m_fileName; }

    // The 1-based line of the next byte to be read, for messages.
    [[nodiscard]] int LineNumber() const;

private:
    TText(QByteArray bytes, QString name);

    char ReadByte();
    void StepBack();
    void SkipLine();
    void SkipBlanks();
    QByteArray ReadPlainToken();

    QByteArray m_bytes;
    qsizetype m_position = 0;
    bool m_atEnd = false;
    QString m_fileName;
};

// The Windows-1250 Polish letters of ZyRT's name files, in the order of TargetLetters:
// ąćęłńóśżź then ĄĆĘŁŃÓŚŻŹ.
inline constexpr QByteArrayView SourceLetters
    = "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\xBF\x9F\xA5\xC6\xCA\xA3\xD1\xD3\x8C\xAF\x8F";
// ZyRT's own codes for the same letters.
inline constexpr QByteArrayView TargetLetters
    = "\xA0\x9B\x82\x9F\xA4\xA2\x87\x91\xA8\x8F\x80\x90\x9C\xA5\x93\x98\x92\x9D";

// Replaces every Polish letter of a Windows-1250 text by ZyRT's code for it; other bytes stay.
[[nodiscard]] QByteArray ConvertPolishLetters(const QByteArray& text);

} // namespace kibic
