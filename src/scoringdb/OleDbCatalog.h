// New scoring databases made the way the terminal server's platform makes them: the Jet OLE DB provider
// through ADOX (Catalog.Create) and ADO (Connection.Execute), called by COM late binding.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace kibic {

// The two classes the creation asks COM for.
inline constexpr QStringView kAdoxCatalogClass = u"ADOX.Catalog";
inline constexpr QStringView kAdoConnectionClass = u"ADODB.Connection";

// What the provider's side refused: ADO's error number and text (from the connection's Errors
// collection, else the object's own error), the statement it stopped at (its index among those given;
// -1 before any statement), and whether the class itself is not registered on this computer.
struct OleDbFailure
{
    qint32 Number = 0;
    QString Text;
    int Statement = -1;
    bool ClassMissing = false;
};

// The ADOX and ADO objects that a new database is made with. Every call raises OleDbFailure.
class OleDbCatalog
{
public:
    virtual ~OleDbCatalog() = default;
    // Catalog.Create with the connection string: writes the new, empty database file.
    virtual void Create(const QString& connectionString) = 0;
    // Opens an ADO connection on the connection string and executes the statements one at a time, each
    // exactly as given, in order; the first that fails stops the later ones. The connection is closed
    // whatever happens.
    virtual void Execute(const QString& connectionString, const QStringList& statements) = 0;
};

// The catalog on COM: "ADOX.Catalog" and "ADODB.Connection" created by their names.
[[nodiscard]] std::unique_ptr<OleDbCatalog> ComOleDbCatalog();

// The catalog new databases are made with: ComOleDbCatalog, unless a test has put another in its place.
[[nodiscard]] std::unique_ptr<OleDbCatalog> MakeOleDbCatalog();

// Puts maker in the place of ComOleDbCatalog (tests); an empty function restores it.
void SetOleDbCatalogMaker(std::function<std::unique_ptr<OleDbCatalog>()> maker);

// Execute's Options: the text is a command (adCmdText = 1) that returns no rows (adExecuteNoRecords = 0x80).
inline constexpr int kExecuteTextNoRecords = 0x1 | 0x80;

} // namespace kibic
