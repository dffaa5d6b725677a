// Registry keys as key files (portable, and tests everywhere) or as real keys (Windows).
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#include <vector>
#endif

namespace kibic {

namespace {

const QString kValueSection = QStringLiteral("[General]");

QString NormalisedKeyPath(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    return path;
}

#ifdef Q_OS_WIN
QString NativeSubKey(const QString& path)
{
    QString key = NormalisedKeyPath(path);
    key.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return key;
}

QString NativeKeyName(RegistryHive hive, const QString& path)
{
    const QString root = hive == RegistryHive::LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE")
                                                            : QStringLiteral("HKEY_CURRENT_USER");
    return root + QLatin1Char('\\') + NativeSubKey(path);
}
#endif

QString KeyFilePath(RegistryHive hive, const QString& path)
{
    const QString root = hive == RegistryHive::LocalMachine ? QStringLiteral("HKLM") : QStringLiteral("HKCU");
    return RegistryRootDirectory() + QLatin1Char('/') + root + QLatin1Char('/') + NormalisedKeyPath(path)
        + QStringLiteral(".ini");
}

#ifdef Q_OS_WIN
// The real registry, through the calls that only read where Kibic only reads: RegOpenKeyExW never makes
// a key (Qt's registry settings open a key with RegCreateKeyEx even to read it, which leaves an empty key
// behind in the director's registry, or in its virtual copy). KEY_WOW64_32KEY: the registry view of a
// 32-bit program, where the 32-bit terminal server and ZyRT register themselves, whatever this build's
// word size ("Accessing an Alternate Registry View", Microsoft Learn).
HKEY NativeRoot(RegistryHive hive)
{
    return hive == RegistryHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

LPCWSTR Wide(const QString& text)
{
    return reinterpret_cast<LPCWSTR>(text.utf16());
}

// The key opened with the rights asked for; nullptr when it does not open (a missing key among them).
HKEY OpenNativeKey(RegistryHive hive, const QString& subKey, REGSAM rights)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(NativeRoot(hive), Wide(subKey), 0, rights | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool NativeKeyOpens(RegistryHive hive, const QString& subKey, bool create)
{
    HKEY key = nullptr;
    if (create) {
        // Only the per-user key is ever made: the machine-wide key belongs to ZyRT's installer.
        if (hive != RegistryHive::CurrentUser)
            return NativeKeyOpens(hive, subKey, false);
        if (RegCreateKeyExW(NativeRoot(hive), Wide(subKey), 0, nullptr, REG_OPTION_NON_VOLATILE,
                KEY_READ | KEY_WRITE | KEY_WOW64_32KEY, nullptr, &key, nullptr)
            != ERROR_SUCCESS)
            return false;
    } else {
        key = OpenNativeKey(hive, subKey, KEY_READ);
        if (key == nullptr)
            return false;
    }
    RegCloseKey(key);
    return true;
}

// A string value (REG_SZ, or REG_EXPAND_SZ as it is stored); empty when it is missing or of another type.
QString ReadNativeValue(RegistryHive hive, const QString& subKey, const QString& name)
{
    HKEY key = OpenNativeKey(hive, subKey, KEY_QUERY_VALUE);
    if (key == nullptr)
        return {};
    DWORD type = 0;
    DWORD bytes = 0;
    QString value;
    if (RegQueryValueExW(key, Wide(name), nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS
        && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        // Room for a terminating NUL that a value written by another program may lack.
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key, Wide(name), nullptr, &type, reinterpret_cast<LPBYTE>(buffer.data()), &size)
            == ERROR_SUCCESS) {
            value = QString::fromWCharArray(buffer.data(), static_cast<qsizetype>(size / sizeof(wchar_t)));
            const qsizetype end = value.indexOf(QChar(u'\0'));
            if (end >= 0)
                value.truncate(end);
        }
    }
    RegCloseKey(key);
    return value;
}

bool WriteNativeValue(RegistryHive hive, const QString& subKey, const QString& name, const QString& value)
{
    HKEY key = OpenNativeKey(hive, subKey, KEY_SET_VALUE);
    if (key == nullptr)
        return false;
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const bool written = RegSetValueExW(key, Wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.utf16()), bytes)
        == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}
#endif

// The lines of a key file, without line ends (a "\r" before "\n" is dropped too).
QStringList KeyFileLines(const QString& file)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(input.readAll()).split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool IsSectionLine(const QString& line)
{
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'));
}

// The index of the value's line inside the [General] section, or -1.
qsizetype ValueLineIndex(const QStringList& lines, const QString& name, qsizetype* sectionEnd)
{
    bool inValues = true; // lines before any section header belong to [General]
    qsizetype found = -1;
    *sectionEnd = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (IsSectionLine(lines[i])) {
            inValues = lines[i].trimmed().compare(kValueSection, Qt::CaseInsensitive) == 0;
            if (inValues)
                *sectionEnd = i + 1;
            continue;
        }
        if (!inValues)
            continue;
        if (!lines[i].trimmed().isEmpty())
            *sectionEnd = i + 1;
        const qsizetype equals = lines[i].indexOf(QLatin1Char('='));
        if (found < 0 && equals > 0 && lines[i].left(equals).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            found = i;
    }
    return found;
}

QString ReadKeyFileValue(const QString& file, const QString& name)
{
    const QStringList lines = KeyFileLines(file);
    qsizetype sectionEnd = -1;
    const qsizetype index = ValueLineIndex(lines, name, &sectionEnd);
    if (index < 0)
        return {};
    const QString& line = lines[index];
    return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
}

bool WriteKeyFileValue(const QString& file, const QString& name, QString value)
{
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QStringList lines = KeyFileLines(file);
    qsizetype sectionEnd = -1;
    const qsizetype index = ValueLineIndex(lines, name, &sectionEnd);
    const QString line = name + QLatin1Char('=') + value;
    if (index >= 0) {
        lines[index] = line;
    } else if (sectionEnd >= 0) {
        lines.insert(sectionEnd, line);
    } else {
        lines.prepend(line);
        lines.prepend(kValueSection);
    }
    QSaveFile output(file);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    return output.write(bytes) == bytes.size() && output.flush() && output.commit();
}

} // namespace

QString RegistryRootDirectory()
{
    const QString fromEnvironment = qEnvironmentVariable("KIBIC_REGISTRY_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Kibic/registry");
}

bool RegistryUsesKeyFiles()
{
#ifdef Q_OS_WIN
    return !qEnvironmentVariableIsEmpty("KIBIC_REGISTRY_DIR");
#else
    return true;
#endif
}

RegistryKey::RegistryKey(QString location, RegistryHive hive, QString subKey)
    : m_location(std::move(location))
    , m_hive(hive)
    , m_subKey(std::move(subKey))
{
}

std::optional<RegistryKey> RegistryKey::Open(RegistryHive hive, const QString& path, bool create)
{
    if (!RegistryUsesKeyFiles()) {
#ifdef Q_OS_WIN
        if (!NativeKeyOpens(hive, NativeSubKey(path), create))
            return std::nullopt;
        return RegistryKey(NativeKeyName(hive, path), hive, NativeSubKey(path));
#endif
    }
    const QString file = KeyFilePath(hive, path);
    if (!QFileInfo::exists(file)) {
        if (!create)
            return std::nullopt;
        if (!QDir().mkpath(QFileInfo(file).absolutePath()))
            return std::nullopt;
        QFile empty(file);
        if (!empty.open(QIODevice::WriteOnly))
            return std::nullopt;
    }
    return RegistryKey(file, hive, QString());
}

QString RegistryKey::ReadString(const QString& name) const
{
#ifdef Q_OS_WIN
    if (!m_subKey.isEmpty())
        return ReadNativeValue(m_hive, m_subKey, name);
#endif
    return ReadKeyFileValue(m_location, name);
}

bool RegistryKey::WriteString(const QString& name, const QString& value)
{
#ifdef Q_OS_WIN
    if (!m_subKey.isEmpty())
        return WriteNativeValue(m_hive, m_subKey, name, value);
#endif
    return WriteKeyFileValue(m_location, name, value);
}

} // namespace kibic
