// Finding a tournament's files whatever the letter case of their extensions.
#include "tournament/TournamentFiles.h"

#include <QDir>
#include <QFileInfo>

namespace kibic {

QString TournamentFile(const QString& base, const QString& extension)
{
    const QString exact = base + extension;
#ifndef Q_OS_WIN
    // On Windows the asked name opens a file of any case: the name as the folder lists it is found
    // below, so that messages show the file as it is on disk.
    if (QFileInfo::exists(exact))
        return exact;
#endif
    const QFileInfo info(exact);
    const QString wanted = info.fileName();
    const QDir folder = info.absoluteDir();
    const QStringList candidates = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    const QString stem = QFileInfo(base).fileName();
    if (candidates.contains(wanted))
        return exact;
    for (const QString& candidate : candidates) {
        if (candidate.size() == wanted.size() && candidate.startsWith(stem)
            && candidate.mid(stem.size()).compare(extension, Qt::CaseInsensitive) == 0)
            return folder.filePath(candidate);
    }
    return exact;
}

QString WithoutExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    if (dot < 0 || dot < slash)
        return path;
    return path.left(dot);
}

} // namespace kibic
