// The two registry keys Kibic reads: the real registry on Windows, portable key files elsewhere.
#pragma once

#include <QString>
#include <optional>

namespace kibic {

enum class RegistryHive { LocalMachine, CurrentUser };

// One registry key. On Windows it is the real key, in the registry view of a 32-bit program (where
// the 32-bit terminal server and ZyRT register themselves). Elsewhere, and on Windows too when
// KIBIC_REGISTRY_DIR is set (rehearsals and tests never touch the real registry), it is one key file:
// the folder, then HKLM/... or HKCU/... and the key's path with ".ini". A key file holds a "[General]"
// line and then one "name=value" line per value; a value runs whole to the end of its line (commas,
// semicolons and quotes are part of it), and names compare without regard to case, as in the registry.
class RegistryKey
{
public:
    // Opens the key at path ("Software\Trevik\Gawotnik"; a leading backslash is ignored). Without
    // create a missing key does not open (nullopt) and nothing is written; with create it is made empty.
    // In the real registry only a per-user key is ever made: a machine-wide key that is missing does
    // not open, create or not.
    [[nodiscard]] static std::optional<RegistryKey> Open(RegistryHive hive, const QString& path, bool create);

    // The string value, empty when the value does not exist.
    [[nodiscard]] QString ReadString(const QString& name) const;
    // Sets the string value; false when the key could not be written. A line break in a value that
    // goes to a key file becomes a space, so that it stays one value.
    [[nodiscard]] bool WriteString(const QString& name, const QString& value);

    // Where the key lives: the key file, or the key's full name in the real registry.
    [[nodiscard]] QString Location() const { return m_location; }

private:
    RegistryKey(QString location, RegistryHive hive, QString subKey);
    QString m_location;
    RegistryHive m_hive;
    QString m_subKey; // the real key's path under its hive; empty for a key file
};

// The folder that holds the key files: KIBIC_REGISTRY_DIR, else the user's configuration folder.
[[nodiscard]] QString RegistryRootDirectory();

// Whether keys are key files (always off Windows; on Windows when KIBIC_REGISTRY_DIR is set).
[[nodiscard]] bool RegistryUsesKeyFiles();

} // namespace kibic
