// Whole files read and replaced in one step, and records forced onto the disk.
#include "common/SafeFiles.h"

#include "common/FileErrors.h"
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

QByteArray ReadWholeFile(const QString& fileName, const QString& openFailure, const QString& readFailure)
{
    QFile file(fileName);
    ClearSystemError();
    if (!file.open(QIODevice::ReadOnly))
        throw KibicError(
            QStringLiteral("%1 %2: %3").arg(openFailure, fileName, FileErrorText(file, LastSystemError())));
    ClearSystemError();
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw KibicError(
            QStringLiteral("%1 %2: %3").arg(readFailure, fileName, FileErrorText(file, LastSystemError())));
    return bytes;
}

bool ForceToDisk(QFileDevice& file, QString& systemText)
{
    const int handle = file.handle();
    if (handle < 0) {
        systemText = FileErrorText(file, 0);
        return false;
    }
#ifdef Q_OS_WIN
    const auto native = reinterpret_cast<HANDLE>(_get_osfhandle(handle));
    if (native == INVALID_HANDLE_VALUE || !FlushFileBuffers(native)) {
        systemText = FileErrorText(LastSystemError());
        return false;
    }
#else
    int result = 0;
    do {
        result = ::fdatasync(handle);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        systemText = FileErrorText(errno);
        return false;
    }
#endif
    return true;
}

void SaveWholeFile(const QString& fileName, const QByteArray& bytes, const QString& failure)
{
    const auto fail
        = [&](const QString& text) { throw KibicError(QStringLiteral("%1 %2: %3").arg(failure, fileName, text)); };
    // Qt reports some failed writes of a large block as "Unknown error": the system's code of the failure,
    // read at once, says what it was.
    QSaveFile file(fileName);
    const auto failed = [&] { fail(FileErrorText(file, LastSystemError())); };
    ClearSystemError();
    if (!file.open(QIODevice::WriteOnly))
        failed();
    ClearSystemError();
    if (file.write(bytes) != bytes.size())
        failed();
    // A small file sits in the buffer until here; commit() would not report that it never reached the disk.
    ClearSystemError();
    if (!file.flush())
        failed();
    QString systemText;
    if (!ForceToDisk(file, systemText))
        fail(systemText);
    ClearSystemError();
    if (!file.commit())
        failed();
}

void ForceFileToDisk(const QString& fileName)
{
    QFile file(fileName);
    bool held = false;
    int code = 0;
    const auto open = [&] {
        ClearSystemError();
        const bool opened = file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
        code = opened ? 0 : LastSystemError();
        return opened;
    };
    if (!OpenWaitingForHold(fileName, open, held)) {
        if (held)
            throw FileHeldError(fileName);
        throw KibicError(
            QStringLiteral("Nie można otworzyć pliku %1 do zapisu: %2").arg(fileName, FileErrorText(file, code)));
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
        throw KibicError(QStringLiteral("%1 %2: %3").arg(failure, to, FileErrorText(LastSystemError())));
#else
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw KibicError(QStringLiteral("%1 %2: %3").arg(failure, to, FileErrorText(errno)));
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
