// Version numbers: the program file's version resource on Windows, CMake's project version elsewhere.
#include "platform/VersionInfo.h"

#include <QDir>
#include <QFileInfo>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace kibic {

std::optional<VersionNumbers> FileVersion(const QString& path)
{
#ifdef Q_OS_WIN
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<char> buffer(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, buffer.data()))
        return std::nullopt;
    void* root = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(buffer.data(), L"\\", &root, &length) || root == nullptr || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(root);
    return VersionNumbers{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
        LOWORD(info->dwFileVersionLS)};
#else
    Q_UNUSED(path);
    return std::nullopt;
#endif
}

QString RunningProgramFile()
{
#ifdef Q_OS_WIN
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size())
            return QDir::fromNativeSeparators(QString::fromWCharArray(name.data(), static_cast<qsizetype>(length)));
        name.resize(name.size() * 2);
    }
#else
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
#endif
}

std::optional<VersionNumbers> ProgramVersion()
{
#ifdef Q_OS_WIN
    return FileVersion(RunningProgramFile());
#elif defined(KIBIC_VERSION_MAJOR) && defined(KIBIC_VERSION_BUILD)
    return VersionNumbers{KIBIC_VERSION_MAJOR, KIBIC_VERSION_MINOR, KIBIC_VERSION_RELEASE + 0, KIBIC_VERSION_BUILD + 0};
#else
    return std::nullopt;
#endif
}

} // namespace kibic
