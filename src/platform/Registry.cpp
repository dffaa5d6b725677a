// Registry keys as key files (portable, and tests everywhere) or as real keys (Windows).
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

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

QString NativeKeyName(RegistryHive hive, const QString& path)
{
    const QString root = hive == RegistryHive::LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE")
                                                            : QStringLiteral("HKEY_CURRENT_USER");
    QString key = NormalisedKeyPath(path);
    key.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return root + QLatin1Char('\\') + key;
}

QString KeyFilePath(RegistryHive hive, const QString& path)
{
    const QString root = hive == RegistryHive::LocalMachine ? QStringLiteral("HKLM") : QStringLiteral("HKCU");
    return RegistryRootDirectory() + QLatin1Char('/') + root + QLatin1Char('/') + NormalisedKeyPath(path)
        + QStringLiteral(".ini");
}

// The real registry as a 32-bit program sees it, whatever this build's word size.
constexpr QSettings::Format kNativeFormat =
#ifdef Q_OS_WIN
    QSettings::Registry32Format;
#else
    QSettings::NativeFormat;
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

RegistryKey::RegistryKey(QString location, bool native)
    : m_location(std::move(location))
    , m_native(native)
{
}

std::optional<RegistryKey> RegistryKey::Open(RegistryHive hive, const QString& path, bool create)
{
    if (!RegistryUsesKeyFiles()) {
        const QString name = NativeKeyName(hive, path);
        QSettings probe(name, kNativeFormat);
        if (!create && probe.allKeys().isEmpty() && probe.childGroups().isEmpty())
            return std::nullopt;
        return RegistryKey(name, true);
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
    return RegistryKey(file, false);
}

QString RegistryKey::ReadString(const QString& name) const
{
    if (m_native)
        return QSettings(m_location, kNativeFormat).value(name).toString();
    return ReadKeyFileValue(m_location, name);
}

bool RegistryKey::WriteString(const QString& name, const QString& value)
{
    if (!m_native)
        return WriteKeyFileValue(m_location, name, value);
    QSettings settings(m_location, kNativeFormat);
    settings.setValue(name, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace kibic
