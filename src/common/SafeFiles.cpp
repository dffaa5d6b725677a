// Whole files replaced in one step and records forced onto the disk.
#include "common/SafeFiles.h"

#include "common/HeldFiles.h"
#include "common/KibicError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kibic {

namespace {

// The device's own text, or the system's text of the last failure when the device has none to give
// (Qt reports some failed writes of a large block as "Unknown error").
QString FailureText(const QFileDevice& file, int code)
{
    if (code != 0)
        return qt_error_string(code);
    return file.errorString();
}

} // namespace

bool ForceToDisk(QFileDevice& file, QString& systemText)
{
    const int handle = file.handle();
    if (handle < 0) {
        systemText = file.errorString();
        return false;
    }
#ifdef Q_OS_WIN
    const auto native = reinterpret_cast<HANDLE>(_get_osfhandle(handle));
    if (native == INVALID_HANDLE_VALUE || !FlushFileBuffers(native)) {
        systemText = qt_error_string(static_cast<int>(GetLastError()));
        return false;
    }
#else
    int result = 0;
    do {
        result = ::fdatasync(handle);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        systemText = qt_error_string(errno);
        return false;
    }
#endif
    return true;
}

void SaveWholeFile(const QString& fileName, const QByteArray& bytes, const QString& failure)
{
    const auto fail
        = [&](const QString& text) { throw KibicError(QStringLiteral("%1 %2: %3").arg(failure, fileName, text)); };
    QSaveFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        fail(FailureText(file, errno));
    errno = 0;
    if (file.write(bytes) != bytes.size())
        fail(FailureText(file, errno));
    // A small file sits in the buffer until here; commit() would not report that it never reached the disk.
    errno = 0;
    if (!file.flush())
        fail(FailureText(file, errno));
    QString systemText;
    if (!ForceToDisk(file, systemText))
        fail(systemText);
    errno = 0;
    if (!file.commit())
        fail(FailureText(file, errno));
}

void ForceFileToDisk(const QString& fileName)
{
    QFile file(fileName);
    bool held = false;
    if (!OpenWaitingForHold(fileName, [&] { return file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly); }, held)) {
        if (held)
            throw FileHeldError(fileName);
        throw KibicError(QStringLiteral("Nie można otworzyć pliku %1 do zapisu: %2").arg(fileName, file.errorString()));
    }
    QString systemText;
    if (!ForceToDisk(file, systemText))
        throw KibicError(QStringLiteral("Nie można utrwalić na dysku pliku %1: %2").arg(fileName, systemText));
}

void MoveIntoPlace(const QString& from, const QString& to, const QString& failure)
{
#ifdef Q_OS_WIN
    const std::wstring source = QDir::toNativeSeparators(from).toStdWString();
    const std::wstring target = QDir::toNativeSeparators(to).toStdWString();
    if (!MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw KibicError(
            QStringLiteral("%1 %2: %3").arg(failure, to, qt_error_string(static_cast<int>(GetLastError()))));
#else
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw KibicError(QStringLiteral("%1 %2: %3").arg(failure, to, qt_error_string(errno)));
    // The new name is on the disk only once the folder is; a folder that cannot be synced (some network
    // file systems) still holds the file.
    const QByteArray folderName = QFile::encodeName(QFileInfo(to).absolutePath());
    const int folder = ::open(folderName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        (void)::fsync(folder);
        ::close(folder);
    }
#endif
}

} // namespace kibic
