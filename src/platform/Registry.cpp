// Registry keys as INI files (portable) or as real keys (Windows).
#include "platform/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace kibic {

namespace {

QString NormalisedKeyPath(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    return path;
}

#ifdef Q_OS_WIN
QString NativeKeyName(RegistryHive hive, const QString& path)
{
    const QString root = hive == RegistryHive::LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE")
                                                            : QStringLiteral("HKEY_CURRENT_USER");
    QString key = NormalisedKeyPath(path);
    key.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return root + QLatin1Char('\\') + key;
}
#else
QString IniFilePath(RegistryHive hive, const QString& path)
{
    const QString root = hive == RegistryHive::LocalMachine ? QStringLiteral("HKLM") : QStringLiteral("HKCU");
    return RegistryRootDirectory() + QLatin1Char('/') + root + QLatin1Char('/') + NormalisedKeyPath(path)
        + QStringLiteral(".ini");
}
#endif

} // namespace

QString RegistryRootDirectory()
{
    const QString fromEnvironment = qEnvironmentVariable("KIBIC_REGISTRY_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Kibic/registry");
}

RegistryKey::RegistryKey(QString location)
    : m_location(std::move(location))
{
}

std::optional<RegistryKey> RegistryKey::Open(RegistryHive hive, const QString& path, bool create)
{
#ifdef Q_OS_WIN
    const QString name = NativeKeyName(hive, path);
    QSettings probe(name, QSettings::NativeFormat);
    if (!create && probe.allKeys().isEmpty() && probe.childGroups().isEmpty())
        return std::nullopt;
    return RegistryKey(name);
#else
    const QString file = IniFilePath(hive, path);
    if (!QFileInfo::exists(file)) {
        if (!create)
            return std::nullopt;
        if (!QDir().mkpath(QFileInfo(file).absolutePath()))
            return std::nullopt;
        QFile empty(file);
        if (!empty.open(QIODevice::WriteOnly))
            return std::nullopt;
    }
    return RegistryKey(file);
#endif
}

QString RegistryKey::ReadString(const QString& name) const
{
#ifdef Q_OS_WIN
    QSettings settings(m_location, QSettings::NativeFormat);
#else
    QSettings settings(m_location, QSettings::IniFormat);
#endif
    return settings.value(name).toString();
}

void RegistryKey::WriteString(const QString& name, const QString& value)
{
#ifdef Q_OS_WIN
    QSettings settings(m_location, QSettings::NativeFormat);
#else
    QSettings settings(m_location, QSettings::IniFormat);
#endif
    settings.setValue(name, value);
    settings.sync();
}

} // namespace kibic
