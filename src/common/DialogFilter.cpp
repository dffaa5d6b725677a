// Converting a designed dialog filter into the name filters of a file dialog.
#include "common/DialogFilter.h"

namespace kibic {

QStringList NameFiltersFromFilter(QStringView filter)
{
    const QStringList parts = filter.toString().split(QLatin1Char('|'));
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        if (patterns.isEmpty())
            continue;
        const QString bracketed = QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        nameFilters.append(description.endsWith(bracketed) ? description : description + QLatin1Char(' ') + bracketed);
    }
    return nameFilters;
}

} // namespace kibic
