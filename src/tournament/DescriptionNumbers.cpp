// Refusals of a description that ends too early or holds no number where one stands.
#include "tournament/DescriptionNumbers.h"

#include "common/KibicError.h"
#include "tournament/Cp1250.h"
#include "tournament/DescriptionChecks.h"

namespace kibic {

namespace {

// A token as the operator can read it: its Windows-1250 text with every control character as "?", cut
// short when it is long.
QString Readable(const QByteArray& token)
{
    QString text = FromCp1250(token);
    for (QChar& c : text) {
        if (!c.isPrint())
            c = QLatin1Char('?');
    }
    return QuotedValue(text);
}

} // namespace

void DescriptionNumbers::Refuse(const QByteArray& token, const QString& place) const
{
    if (token.isEmpty() && m_text.AtEnd())
        FailDescription(FileName(), QStringLiteral("plik kończy się przed tym, co zapowiada (brak: %1)").arg(place));
    FailDescription(FileName(),
        QStringLiteral("w wierszu %1 stoi „%2”, a to nie jest liczba (%3)")
            .arg(m_text.LineNumber())
            .arg(Readable(token), place));
}

QString SectorSeatingPlace(qint32 b, qint32 p)
{
    return QStringLiteral("rozstawienie kompletu %1 przy stole %2 sektora nietypowego").arg(b).arg(p);
}

qint32 ReadParticipant(DescriptionNumbers& numbers, qint32 i, qint32 count)
{
    return numbers.Read([i, count] { return QStringLiteral("pozycja %1 z %2 listy uczestników").arg(i).arg(count); });
}

} // namespace kibic
