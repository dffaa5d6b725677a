// The numbers of a tournament description, each read where the description announces it.
#pragma once

#include "tournament/TextData.h"

#include <QString>
#include <utility>

namespace kibic {

// A reader over a description's token stream that refuses what a damaged file gives: a description that
// ends before a number it announces (a file cut off in the middle), or that holds something that is no
// number where a number stands (random bytes saved under the name), raises KibicError naming the file and
// the place. A place is what the description announces there, in the operator's words, for example
// "pozycja 7 z 20 listy uczestników"; it is made only when a message needs it.
class DescriptionNumbers
{
public:
    explicit DescriptionNumbers(TText& text)
        : m_text(text)
    {
    }

    // The next number; place() names it.
    template <typename Place> [[nodiscard]] qint32 Read(const Place& place)
    {
        const QByteArray token = m_text.ReadToken();
        qint32 value = 0;
        if (!TText::TokenValue(token, value))
            Refuse(token, place());
        return value;
    }

    // A number the reader does not use: it must be there, whatever it holds.
    template <typename Place> void Skip(const Place& place)
    {
        if (m_text.ReadToken().isEmpty() && m_text.AtEnd())
            Refuse({}, place());
    }

    // A number the description may leave out at its very end: 0 when the file ends before it.
    template <typename Place> [[nodiscard]] qint32 ReadOptional(const Place& place)
    {
        const QByteArray token = m_text.ReadToken();
        qint32 value = 0;
        if (!(token.isEmpty() && m_text.AtEnd()) && !TText::TokenValue(token, value))
            Refuse(token, place());
        return value;
    }

    [[nodiscard]] const QString& FileName() const { return m_text.FileName(); }

private:
    // The end of the file, or a token that is no number, at the place.
    [[noreturn]] void Refuse(const QByteArray& token, const QString& place) const;

    TText& m_text;
};

// The place of the numbers that seat board set b at table p of a non-typical sector.
[[nodiscard]] QString SectorSeatingPlace(qint32 b, qint32 p);

// Element i of a participant list of count: its place is "pozycja i z count listy uczestników".
[[nodiscard]] qint32 ReadParticipant(DescriptionNumbers& numbers, qint32 i, qint32 count);

} // namespace kibic
