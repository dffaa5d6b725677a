// The two registry keys Kibic reads: portable INI files, or the real registry on Windows.
#pragma once

#include <QString>
#include <optional>

namespace kibic {

enum class RegistryHive { LocalMachine, CurrentUser };

// One registry key. On Windows it is the real key; elsewhere one INI file per key
// ($KIBIC_REGISTRY_DIR or the user's configuration folder, then HKLM/... or HKCU/... and the key's path
// with ".ini"), string values as name=value lines of the [General] section.
class RegistryKey
{
public:
    // Opens the key at path ("Software\Trevik\Gawotnik"; a leading backslash is ignored). Without
    // create a missing key does not open (nullopt); with create it is made empty.
    [[nodiscard]] static std::optional<RegistryKey> Open(RegistryHive hive, const QString& path, bool create);

    // The string value, empty when the value does not exist.
    [[nodiscard]] QString ReadString(const QString& name) const;
    void WriteString(const QString& name, const QString& value);

    // Where the key lives: the INI file, or the key's full name on Windows.
    [[nodiscard]] QString Location() const { return m_location; }

private:
    explicit RegistryKey(QString location);
    QString m_location;
};

// The folder that holds the portable registry files.
[[nodiscard]] QString RegistryRootDirectory();

} // namespace kibic
