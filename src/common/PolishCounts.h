// A number with its noun in the Polish form the number takes: "1 rozdanie", "3 rozdania", "5 rozdań",
// "12 rozdań", "22 rozdania".
#pragma once

#include <QString>
#include <QStringView>

namespace kibic {

// one: the form after 1; few: after 2-4, 22-24, 32-34 ... (not 12-14); many: after every other number.
[[nodiscard]] inline QString Counted(qint64 count, QStringView one, QStringView few, QStringView many)
{
    const qint64 units = count % 10;
    const qint64 tens = count % 100;
    const QStringView noun = count == 1                                       ? one
        : (units >= 2 && units <= 4 && (tens < 12 || tens > 14)) ? few
                                                                  : many;
    return QString::number(count) + QLatin1Char(' ') + noun;
}

} // namespace kibic
