// The two identifier flows and the choice between them.
#include "players/ReadIdentifiers.h"

#include "common/KibicError.h"
#include "common/uNapisy.h"
#include "players/NamesFile.h"
#include "tournament/Cp1250.h"

namespace kibic {

namespace {

struct PlayerColumn
{
    const char* Name;
    QByteArray PlayerEntry::*Field;
};

constexpr PlayerColumn kPlayerColumns[] = {
    { "IMIE", &PlayerEntry::FirstName },
    { "NAZWISKO", &PlayerEntry::Surname },
    { "WK", &PlayerEntry::Wk },
    { "OKREG", &PlayerEntry::Region },
    { "INFO", &PlayerEntry::Info },
    { "KLUB", &PlayerEntry::Club },
};

QString WrongIdMessage(const PlayerEntry& entry, bool pairsEvent)
{
    return QStringLiteral("Błędne ID ") + (pairsEvent ? QStringLiteral("w parze ") : QStringLiteral("zawodnika "))
        + QString::number(entry.ParticipantNo) + QStringLiteral(" !");
}

} // namespace

void LookUpPlayerDatabase(TTable& players, PlayerEntries& entries, bool pairsEvent, Operator& op)
{
    for (std::size_t i = 1; i < entries.size(); ++i) {
        PlayerEntry& entry = entries[i];
        if (entry.Id == UnknownText)
            continue; // nothing keyed in for this player
        // A rejected identifier is empty and is never looked up: it is reported like an unknown one.
        if (!entry.Id.isEmpty() && players.Locate(QStringLiteral("ID"), { FromCp1250(entry.Id) })) {
            for (const PlayerColumn& column : kPlayerColumns) {
                const QByteArray text = TrimmedBytes(ToCp1250(players.FieldAsString(QString::fromLatin1(column.Name))));
                if (!text.isEmpty())
                    entry.*column.Field = text;
            }
            continue;
        }
        op.ShowInfo(WrongIdMessage(entry, pairsEvent));
        entry.Id = UnknownText.toByteArray();
    }
}

IdentifierListsOutcome ReadCezarIdentifiers(const TournamentModel& model, Operator& op)
{
    const QString databaseName = PlayerDatabaseName();
    if (databaseName.isEmpty()) {
        op.ShowMessageDialog(uNapisy::SortelNieJestZainstalowana.toString(), DialogKind::Error, DialogButton::Ok);
        return ReadNamesFileIdentifiers(model, op);
    }
    TTable players(PlayerDatabaseConnection(databaseName), PlayersTableName.toString());
    try {
        players.Open();
    } catch (const KibicError&) {
        op.ShowInfo(PlayerDatabaseUnreadableText(databaseName));
        return ReadNamesFileIdentifiers(model, op);
    }

    PlayerEntries entries = ReadParticipantList(model);
    PlaceIdentifiers(model, IdentifierKind::Cezar, entries);
    LookUpPlayerDatabase(players, entries, model.PairsEvent, op);
    players.Close();

    IdentifierListsOutcome outcome;
    outcome.Lists.push_back(WriteIdentifierList(entries, model.TournamentBase, model.PairsEvent, op));
    outcome.Lists.push_back(WriteNameList(entries, model.TournamentBase, model.PairsEvent, true, op));
    return outcome;
}

IdentifierListsOutcome ReadNamesFileIdentifiers(const TournamentModel& model, Operator& op)
{
    PlayerEntries entries = ReadParticipantList(model);
    PlaceIdentifiers(model, IdentifierKind::NamesFile, entries);
    LookUpNamesFile(model.NamesDatabasePath, entries);

    IdentifierListsOutcome outcome;
    outcome.Lists.push_back(WriteNameList(entries, model.TournamentBase, model.PairsEvent, false, op));
    return outcome;
}

IdentifierListsOutcome ReadIdentifiers(TournamentModel& model, bool cezarChecked, Operator& op)
{
    IdentifierListsOutcome outcome = cezarChecked || model.NamesDatabasePath.isEmpty()
        ? ReadCezarIdentifiers(model, op)
        : ReadNamesFileIdentifiers(model, op);
    model.MemberNumbers = false;
    return outcome;
}

} // namespace kibic
