// The operator's text of a failed file operation.
#include "common/FileErrors.h"

#include <QFileDevice>
#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace kibic {

namespace {

// The causes a director meets and can act on, each in our own words.
enum class FileFailure { Other, Missing, NoPermission, HeldByAnother, DiskFull, ReadOnlyMedium };

FileFailure FailureOf(int code)
{
#ifdef Q_OS_WIN
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return FileFailure::Missing;
    case ERROR_ACCESS_DENIED:
        return FileFailure::NoPermission;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileFailure::HeldByAnother;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileFailure::DiskFull;
    case ERROR_WRITE_PROTECT:
        return FileFailure::ReadOnlyMedium;
    default:
        return FileFailure::Other;
    }
#else
    switch (code) {
    case ENOENT:
        return FileFailure::Missing;
    case EACCES:
    case EPERM:
        return FileFailure::NoPermission;
    case EBUSY:
    case ETXTBSY:
        return FileFailure::HeldByAnother;
    case ENOSPC:
    case EDQUOT:
        return FileFailure::DiskFull;
    case EROFS:
        return FileFailure::ReadOnlyMedium;
    default:
        return FileFailure::Other;
    }
#endif
}

QString OurWords(FileFailure failure)
{
    switch (failure) {
    case FileFailure::Missing:
        return QStringLiteral("nie ma takiego pliku lub folderu");
    case FileFailure::NoPermission:
        return QStringLiteral("brak uprawnień do pliku lub folderu");
    case FileFailure::HeldByAnother:
        return QStringLiteral("plik jest zajęty przez inny program");
    case FileFailure::DiskFull:
        return QStringLiteral("brak miejsca na dysku");
    case FileFailure::ReadOnlyMedium:
        return QStringLiteral("nośnik jest tylko do odczytu");
    case FileFailure::Other:
        break;
    }
    return {};
}

} // namespace

int LastSystemError()
{
#ifdef Q_OS_WIN
    return static_cast<int>(GetLastError());
#else
    return errno;
#endif
}

void ClearSystemError()
{
#ifdef Q_OS_WIN
    SetLastError(ERROR_SUCCESS);
#else
    errno = 0;
#endif
}

QString FileErrorText(int systemCode)
{
    if (systemCode == 0)
        return {};
    const QString system = qt_error_string(systemCode);
    const QString ours = OurWords(FailureOf(systemCode));
    if (ours.isEmpty())
        return system;
    return system.isEmpty() ? ours : QStringLiteral("%1 (%2)").arg(ours, system);
}

QString FileErrorText(const QFileDevice& file, int systemCode)
{
    if (systemCode != 0)
        return FileErrorText(systemCode);
    return file.errorString();
}

} // namespace kibic
