// The route a new scoring database took and the format its header gives it.
#include "scoringdb/CreationRoute.h"

#include <QDir>
#include <QFile>

namespace kibic {

namespace {

CreationRoute& Remembered()
{
    static CreationRoute route;
    return route;
}

// "przez ADOX.Catalog ...": how the route made (or was to make) the file.
QString RouteWords(const CreationRoute& route)
{
    switch (route.Way) {
    case CreationWay::Adox:
        return QStringLiteral("przez ADOX.Catalog i dostawcę Microsoft.Jet.OLEDB.4.0 (tabele przez ADODB.Connection)");
    case CreationWay::Odbc:
        if (route.Driver.isEmpty())
            return QStringLiteral("przez sterownik ODBC Access, którego na tym komputerze nie ma, bo ADOX jest "
                                  "niedostępny: %1")
                .arg(route.AdoxAnswer);
        return QStringLiteral("przez sterownik ODBC \"%1\" (CREATE_DBV4), bo ADOX jest niedostępny: %2")
            .arg(route.Driver, route.AdoxAnswer);
    case CreationWay::Sqlite:
        break;
    }
    return QStringLiteral("jako plik SQLite");
}

} // namespace

QString CreationRouteText(const CreationRoute& route, const QString& file)
{
    return QStringLiteral("Bazę %1 utworzono %2.").arg(QDir::toNativeSeparators(file), RouteWords(route));
}

CreationRoute LastCreationRoute()
{
    return Remembered();
}

void RememberCreationRoute(const CreationRoute& route)
{
    Remembered() = route;
}

DatabaseHeaderReading ReadDatabaseHeader(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return { DatabaseHeader::Unknown, -1 };
    const QByteArray head = file.read(0x18);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3")))
        return { DatabaseHeader::Sqlite, -1 };
    const QByteArray id = head.mid(4, 15);
    if (head.size() < 0x18 || !head.startsWith(QByteArrayLiteral("\x00\x01\x00\x00"))
        || (id != QByteArrayLiteral("Standard Jet DB") && id != QByteArrayLiteral("Standard ACE DB")))
        return { DatabaseHeader::Unknown, -1 };
    const int version = static_cast<unsigned char>(head.at(0x14));
    if (version == 0)
        return { DatabaseHeader::Jet3, version };
    if (version == 1)
        return { DatabaseHeader::Jet4, version };
    return { DatabaseHeader::Ace, version };
}

QString DatabaseHeaderText(const DatabaseHeaderReading& header)
{
    switch (header.Format) {
    case DatabaseHeader::Missing:
        return QStringLiteral("brak pliku");
    case DatabaseHeader::Jet3:
        return QStringLiteral("Jet 3");
    case DatabaseHeader::Jet4:
        return QStringLiteral("Jet 4");
    case DatabaseHeader::Ace:
        return QStringLiteral("ACE (wersja %1)").arg(header.VersionByte);
    case DatabaseHeader::Sqlite:
        return QStringLiteral("SQLite");
    case DatabaseHeader::Unknown:
        break;
    }
    return QStringLiteral("nieznany (ani Jet, ani SQLite)");
}

CreatedDatabaseCheck CheckCreatedDatabase(const QString& file, bool built, const QStringList& buildMessages)
{
    const CreationRoute route = LastCreationRoute();
    const QString native = QDir::toNativeSeparators(file);
    if (!built || !route.Failure.isEmpty()) {
        QString answer = buildMessages.join(QLatin1Char(' '));
        if (answer.isEmpty())
            answer = route.Failure.isEmpty() ? QStringLiteral("budowa nie powiodła się") : route.Failure;
        return { false, QStringLiteral("baza próbna %1: nie utworzona %2: %3").arg(native, RouteWords(route), answer) };
    }
    const DatabaseHeaderReading header = ReadDatabaseHeader(file);
    const bool expected = header.Format == DatabaseHeader::Jet4 || header.Format == DatabaseHeader::Sqlite;
    return { expected,
        QStringLiteral("baza próbna %1: utworzona %2; format według nagłówka: %3%4")
            .arg(native, RouteWords(route), DatabaseHeaderText(header),
                expected ? QString() : QStringLiteral(" (oczekiwano Jet 4)")) };
}

} // namespace kibic
