// A small file system of the test's own (tmpfs), filled up to the last few bytes: the tests of a full disk.
// Mounting needs root; where it cannot be mounted the test skips with the reason.
#pragma once

#include "common/FileErrors.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cerrno>

namespace kibic::test {

class SmallDisk
{
public:
    explicit SmallDisk(int kilobytes = 1024)
    {
        if (!m_mountPoint.isValid()) {
            Why = QStringLiteral("no temporary folder");
            return;
        }
        QProcess mount;
        mount.start(QStringLiteral("mount"),
            { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"), m_mountPoint.path() });
        if (!mount.waitForFinished(20000) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0) {
            Why = QStringLiteral("a tmpfs cannot be mounted here (%1)")
                      .arg(QString::fromLocal8Bit(mount.readAllStandardError()).trimmed());
            return;
        }
        Mounted = true;
    }

    ~SmallDisk()
    {
        if (Mounted)
            QProcess::execute(QStringLiteral("umount"), { m_mountPoint.path() });
    }

    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    [[nodiscard]] QString Path(const QString& name) const { return QDir(m_mountPoint.path()).filePath(name); }

    // Fills the disk with a file of its own until nothing is left, then gives back `leave` bytes of it.
    [[nodiscard]] bool Fill(qint64 leave = 0)
    {
        QFile filler(Path(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return false;
        const QByteArray block(512, 'f');
        while (filler.write(block) == block.size()) { }
        filler.close();
        return QFile::resize(Path(QStringLiteral("filler")), std::max<qint64>(filler.size() - leave, 0));
    }

    // Frees the disk again.
    void Empty() { QFile::remove(Path(QStringLiteral("filler"))); }

    // Mounts the disk again read-only, as a locked memory card or a CD would be: what is on it stays readable.
    [[nodiscard]] bool MakeReadOnly()
    {
        return QProcess::execute(
                   QStringLiteral("mount"), { QStringLiteral("-o"), QStringLiteral("remount,ro"), m_mountPoint.path() })
            == 0;
    }

    bool Mounted = false;
    QString Why; // why there is no disk, when Mounted is false

private:
    QTemporaryDir m_mountPoint;
};

// The text of a full disk, as the messages quote it: our words, the system's text after them.
inline QString NoSpaceText()
{
    return FileErrorText(ENOSPC);
}

} // namespace kibic::test

#define KIBIC_SMALL_DISK(disk)                                                                                         \
    ::kibic::test::SmallDisk disk;                                                                                     \
    if (!disk.Mounted)                                                                                                 \
        QSKIP(qPrintable(disk.Why));
