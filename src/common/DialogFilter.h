// File dialog filters written as "description|patterns|description|patterns", patterns split by ";".
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace kibic {

// The open dialog of tournaments and databases, and the pattern file dialogs, as designed.
inline constexpr QStringView OpenDialog1Filter = u"Bazy pierniczkowe (*.bws)|*.bws";
inline constexpr QStringView SaveDialog1Filter = u"Wzór sektora nietypowego|*.bmt";

// One name filter per description: "Turnieje ZyRTa|*.inf;*.ind" gives "Turnieje ZyRTa (*.inf *.ind)".
// A description that already ends with its patterns in brackets is kept as it is. A description
// without patterns is dropped.
[[nodiscard]] QStringList NameFiltersFromFilter(QStringView filter);

} // namespace kibic
