// Console output: wide text to a Windows console window, UTF-8 everywhere else.
#include "platform/Console.h"

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace kibic {

namespace {

void WriteUtf8Line(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

#ifdef Q_OS_WIN
// The console window behind stream, or nullptr when the stream goes to a pipe or a file.
HANDLE ConsoleOf(std::FILE* stream)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return nullptr;
    return handle;
}
#endif

} // namespace

void PrepareStandardStreams()
{
#ifdef Q_OS_WIN
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

void WriteTextLine(std::FILE* stream, const QString& text)
{
#ifdef Q_OS_WIN
    if (const HANDLE console = ConsoleOf(stream)) {
        std::fflush(stream);
        const QString line = text + QStringLiteral("\r\n");
        DWORD written = 0;
        WriteConsoleW(console, reinterpret_cast<const wchar_t*>(line.utf16()), static_cast<DWORD>(line.size()), &written,
            nullptr);
        return;
    }
#endif
    WriteUtf8Line(stream, text);
}

} // namespace kibic
