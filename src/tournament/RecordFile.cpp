// ZyRT's files of fixed-size records: written in place one record at a time, read back in blocks.
#include "tournament/RecordFile.h"

#include "common/FileErrors.h"
#include "common/HeldFiles.h"
#include "common/KibicError.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kibic {

namespace {

// The file opened for writing, closed again when it goes: no existence check and no seek of its own, so
// that a record costs an open, a write and a close.
class OpenRecordFile
{
public:
    explicit OpenRecordFile(const QString& fileName)
        : m_fileName(fileName)
    {
        int error = 0;
        bool held = false;
        const auto open = [&] { return (error = TryOpen()) == 0; };
        const auto heldNow = [&](const QString&) { return IsHoldError(error); };
        if (!OpenWaitingForHold(fileName, open, held, heldNow)) {
            if (held)
                throw FileHeldError(fileName);
            OpenFailed(IsMissingError(error), error);
        }
    }

    ~OpenRecordFile()
    {
        if (IsOpen())
            (void)CloseFile();
    }

    OpenRecordFile(const OpenRecordFile&) = delete;
    OpenRecordFile& operator=(const OpenRecordFile&) = delete;

    // The file's length in bytes.
    [[nodiscard]] qint64 Size() const
    {
#ifdef Q_OS_WIN
        LARGE_INTEGER size {};
        if (!GetFileSizeEx(m_handle, &size))
            Failed(QStringLiteral("Nie można odczytać długości pliku %1: %2"), static_cast<int>(GetLastError()));
        return size.QuadPart;
#else
        const off_t size = ::lseek(m_fd, 0, SEEK_END);
        if (size < 0)
            Failed(QStringLiteral("Nie można odczytać długości pliku %1: %2"), errno);
        return size;
#endif
    }

    void WriteAt(qint64 offset, const QByteArray& bytes, qint64 index) const
    {
        const auto failed = [&](int error) {
            throw KibicError(QStringLiteral("Nie można zapisać rekordu %1 w pliku %2: %3")
                                 .arg(index)
                                 .arg(m_fileName, FileErrorText(error)));
        };
#ifdef Q_OS_WIN
        OVERLAPPED at {};
        at.Offset = static_cast<DWORD>(quint64(offset) & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(quint64(offset) >> 32);
        DWORD written = 0;
        if (!WriteFile(m_handle, bytes.constData(), static_cast<DWORD>(bytes.size()), &written, &at))
            failed(static_cast<int>(GetLastError()));
        if (written != static_cast<DWORD>(bytes.size()))
            failed(ERROR_HANDLE_DISK_FULL);
#else
        const ssize_t written = ::pwrite(m_fd, bytes.constData(), static_cast<size_t>(bytes.size()), offset);
        if (written < 0)
            failed(errno);
        if (written != bytes.size())
            failed(ENOSPC);
#endif
    }

    // Closes the file; a failure is an error, since the record may not have reached the file.
    void Close()
    {
        const int error = CloseFile();
        if (error != 0)
            Failed(QStringLiteral("Nie można zamknąć pliku %1: %2"), error);
    }

private:
    // Opens the file for writing: 0, or the system's error code.
    int TryOpen()
    {
#ifdef Q_OS_WIN
        const std::wstring name = QDir::toNativeSeparators(QFileInfo(m_fileName).absoluteFilePath()).toStdWString();
        m_handle = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL, nullptr);
        return m_handle == INVALID_HANDLE_VALUE ? static_cast<int>(GetLastError()) : 0;
#else
        m_fd = ::open(QFile::encodeName(m_fileName).constData(), O_RDWR | O_CLOEXEC);
        return m_fd < 0 ? errno : 0;
#endif
    }

    // Another program holds the file just now (ZyRT reading it without sharing): worth a short wait.
    [[nodiscard]] static bool IsHoldError(int error)
    {
#ifdef Q_OS_WIN
        return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
#else
        Q_UNUSED(error);
        return false;
#endif
    }

    [[nodiscard]] static bool IsMissingError(int error)
    {
#ifdef Q_OS_WIN
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
#else
        return error == ENOENT;
#endif
    }

    [[noreturn]] void OpenFailed(bool missing, int error) const
    {
        if (missing)
            throw KibicError(QStringLiteral("Brak pliku %1.").arg(m_fileName));
        Failed(QStringLiteral("Nie można otworzyć pliku %1 do zapisu: %2"), error);
    }

    [[noreturn]] void Failed(const QString& message, int error) const
    {
        throw KibicError(message.arg(m_fileName, FileErrorText(error)));
    }

    [[nodiscard]] bool IsOpen() const
    {
#ifdef Q_OS_WIN
        return m_handle != INVALID_HANDLE_VALUE;
#else
        return m_fd >= 0;
#endif
    }

    // 0, or the system's error code.
    int CloseFile()
    {
#ifdef Q_OS_WIN
        const bool closed = CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed ? 0 : static_cast<int>(GetLastError());
#else
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
#endif
    }

    QString m_fileName;
#ifdef Q_OS_WIN
    HANDLE m_handle = INVALID_HANDLE_VALUE;
#else
    int m_fd = -1;
#endif
};

} // namespace

RecordFileWriter::RecordFileWriter(QString fileName, int recordSize)
    : m_fileName(std::move(fileName))
    , m_recordSize(recordSize)
{
}

void RecordFileWriter::CheckRecord(qint64 index)
{
    if (m_records < 0) {
        OpenRecordFile file(m_fileName);
        m_records = file.Size() / m_recordSize;
        file.Close();
    }
    if (index < 0 || index >= m_records)
        throw KibicError(QStringLiteral("Plik %1 nie ma rekordu %2 (rekordów w pliku: %3).")
                             .arg(m_fileName)
                             .arg(index)
                             .arg(m_records));
}

void RecordFileWriter::Write(qint64 index, const QByteArray& record)
{
    CheckRecord(index);
    OpenRecordFile file(m_fileName);
    file.WriteAt(index * m_recordSize, record, index);
    file.Close();
}

RecordFileReader::RecordFileReader(const QString& fileName, int recordSize)
    : m_file(fileName)
    , m_recordSize(recordSize)
{
    if (!QFileInfo::exists(fileName))
        throw KibicError(QStringLiteral("Brak pliku %1.").arg(fileName));
    ClearSystemError();
    if (!m_file.open(QIODevice::ReadOnly))
        throw KibicError(
            QStringLiteral("Nie można otworzyć pliku %1: %2").arg(fileName, FileErrorText(m_file, LastSystemError())));
    const qint64 size = m_file.size();
    if (size % recordSize != 0)
        throw KibicError(QStringLiteral("Plik %1 ma %2 bajtów, a to nie jest pełna liczba rekordów po %3 bajtów.")
                             .arg(fileName)
                             .arg(size)
                             .arg(recordSize));
    m_records = size / recordSize;
}

QByteArray RecordFileReader::Read(qint64 count)
{
    const qint64 wanted = count * m_recordSize;
    ClearSystemError();
    QByteArray block = m_file.read(wanted);
    if (block.size() != wanted)
        throw KibicError(QStringLiteral("Nie można odczytać pliku %1: %2")
                             .arg(m_file.fileName(),
                                 m_file.error() != QFileDevice::NoError ? FileErrorText(m_file, LastSystemError())
                                                                        : QStringLiteral("plik się skrócił")));
    return block;
}

} // namespace kibic
