// Finding and reading the player database.
#include "players/PlayerDatabase.h"

#include "common/uNapisy.h"
#include "platform/Registry.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TQuery.h"

#include <exception>
#include <optional>

namespace kibic {

namespace {

// Why an Access file cannot be read on this computer; empty when that is not the reason.
QString AccessDriverMissingReason(const QString& databaseName)
{
    if (DetectDatabaseFormat(databaseName) == DatabaseFormat::Jet && !AccessDriverAvailable())
        return AccessFileUnreadableText(databaseName);
    return {};
}

QString WithReason(QStringView text, const QString& reason)
{
    return reason.isEmpty() ? text.toString() : text + QLatin1Char('\n') + reason;
}

} // namespace

QString PlayerDatabaseName()
{
    const std::optional<RegistryKey> key = RegistryKey::Open(RegistryHive::CurrentUser, PlayerDatabaseKey.toString(), true);
    if (!key)
        return {};
    return key->ReadString(PlayerDatabaseValue.toString());
}

QString PlayerDatabaseConnection(const QString& databaseName)
{
    return ScoringConnectionString(databaseName);
}

qint64 CountPlayers(const QString& databaseName)
{
    TQuery query(PlayerDatabaseConnection(databaseName));
    query.SetSql(QStringLiteral("SELECT COUNT(*) FROM [") + PlayersTableName + QLatin1Char(']'));
    return query.OpenFirstInteger();
}

QString PlayerDatabaseUnreadableText(const QString& databaseName)
{
    return WithReason(uNapisy::SortelMusiBycZainstalowana, AccessDriverMissingReason(databaseName));
}

QString PlayersMissingText()
{
    const QString databaseName = PlayerDatabaseName();
    if (databaseName.isEmpty())
        return uNapisy::BrakBazyBan.toString();
    try {
        if (CountPlayers(databaseName) > 0)
            return {};
        return uNapisy::BrakBazyBan.toString();
    } catch (const std::exception&) {
        // Any failure of the query counts as no players; the operator learns why when the reason is known.
        return WithReason(uNapisy::BrakBazyBan, AccessDriverMissingReason(databaseName));
    }
}

} // namespace kibic
