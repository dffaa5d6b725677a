// ADOX and ADO by name: Catalog.Create(ConnectString) makes the file and leaves a connection open on it
// (its ActiveConnection); Connection.Open(ConnectionString), Connection.Execute(CommandText,
// RecordsAffected, Options) and Connection.Close run the statements, as Microsoft's ADO and ADOX
// references describe these methods. A provider failure is read from the connection's Errors collection
// (Number, Description, SQLState, NativeError of each Error object).
#include "scoringdb/OleDbCatalog.h"

#include "platform/ComAutomation.h"

#include <optional>

namespace kibic {

namespace {

std::function<std::unique_ptr<OleDbCatalog>()>& CatalogMaker()
{
    static std::function<std::unique_ptr<OleDbCatalog>()> maker;
    return maker;
}

OleDbFailure FailureOf(const ComFailure& failure, int statement = -1)
{
    return OleDbFailure { failure.Result, failure.Text, statement, MeansClassMissing(failure.Result) };
}

// The provider's errors of the connection's last operation, "text [SQLState, native code]" each; nullopt
// when the collection is empty or cannot be read (the object's own error then stands).
std::optional<OleDbFailure> ProviderErrors(ComObject& connection, int statement)
{
    try {
        ComObject errors = connection.GetChild(QStringLiteral("Errors"));
        const int count = errors.Get(QStringLiteral("Count")).toInt();
        if (count <= 0)
            return std::nullopt;
        OleDbFailure failure;
        failure.Statement = statement;
        QStringList texts;
        for (int i = 0; i < count; ++i) {
            ComObject error = errors.GetChild(QStringLiteral("Item"), { i });
            if (i == 0)
                failure.Number = error.Get(QStringLiteral("Number")).toInt();
            texts.append(QStringLiteral("%1 [%2, %3]")
                             .arg(error.Get(QStringLiteral("Description")).toString().trimmed(),
                                 error.Get(QStringLiteral("SQLState")).toString(),
                                 error.Get(QStringLiteral("NativeError")).toString()));
        }
        failure.Text = texts.join(QStringLiteral("; "));
        return failure;
    } catch (const ComFailure&) {
        return std::nullopt;
    }
}

class ComCatalog final : public OleDbCatalog
{
public:
    void Create(const QString& connectionString) override
    {
        try {
            ComObject catalog = ComObject::Create(kAdoxCatalogClass.toString());
            (void)catalog.Call(QStringLiteral("Create"), { connectionString });
            // The connection Create opened holds the file; it is closed before anything else opens it.
            ComObject opened = catalog.GetChild(QStringLiteral("ActiveConnection"));
            (void)opened.Call(QStringLiteral("Close"));
        } catch (const ComFailure& failure) {
            throw FailureOf(failure);
        }
    }

    void Execute(const QString& connectionString, const QStringList& statements) override
    {
        std::optional<ComObject> connection;
        try {
            connection.emplace(ComObject::Create(kAdoConnectionClass.toString()));
        } catch (const ComFailure& failure) {
            throw FailureOf(failure);
        }
        int statement = -1;
        try {
            (void)connection->Call(QStringLiteral("Open"), { connectionString });
            for (statement = 0; statement < statements.size(); ++statement)
                (void)connection->Call(QStringLiteral("Execute"),
                    { statements[statement], QVariant(), kExecuteTextNoRecords });
            statement = -1;
            (void)connection->Call(QStringLiteral("Close"));
        } catch (const ComFailure& failure) {
            const std::optional<OleDbFailure> provider = ProviderErrors(*connection, statement);
            // Releasing the connection object closes a connection still open.
            throw provider ? *provider : FailureOf(failure, statement);
        }
    }
};

} // namespace

std::unique_ptr<OleDbCatalog> ComOleDbCatalog()
{
    return std::make_unique<ComCatalog>();
}

std::unique_ptr<OleDbCatalog> MakeOleDbCatalog()
{
    return CatalogMaker() ? CatalogMaker()() : ComOleDbCatalog();
}

void SetOleDbCatalogMaker(std::function<std::unique_ptr<OleDbCatalog>()> maker)
{
    CatalogMaker() = std::move(maker);
}

} // namespace kibic
