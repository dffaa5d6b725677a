// The demo tournaments driven through the real programs: laid out by scripts/prepare-demo, built by
// kibic-cli, played by kibic-terminals, transferred by kibic-cli or in-process, and checked by
// scripts/check-transfer, which scores the received entries on its own.
#pragma once

#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "support/ProgramRun.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <vector>

namespace kibic::e2e {

using kibic::test::ProgramRun;

inline QString Program(const char* name)
{
    return kibic::test::KibicProgram(name);
}

inline QString SourceFile(const char* relative)
{
    return QStringLiteral(KIBIC_SOURCE_DIR "/") + QLatin1String(relative);
}

inline ProgramRun Run(const QString& program, const QStringList& arguments, int timeoutMs = 60000)
{
    kibic::test::RunOptions options;
    options.TimeoutMs = timeoutMs;
    return kibic::test::RunProgram(program, arguments, options);
}

inline ProgramRun Cli(const QStringList& arguments)
{
    return kibic::test::RunCli(arguments);
}

// The arguments Kibic gives the terminal server, followed by the rehearsal server's own options.
inline QStringList TerminalArguments(const QString& database, const QStringList& options)
{
    return QStringList { QStringLiteral("/f:[") + database + QLatin1Char(']'), QStringLiteral("/s"),
               QStringLiteral("/r"), QStringLiteral("/m") }
        + options;
}

// Erasures, boards not played and split scores often enough that every demo run has some.
inline QStringList VisibleRemarks(int seed)
{
    return { QStringLiteral("--seed"), QString::number(seed), QStringLiteral("--erase"), QStringLiteral("0.1"),
        QStringLiteral("--not-played"), QStringLiteral("0.05"), QStringLiteral("--split"), QStringLiteral("0.05") };
}

// The demo laid out in a temporary folder, with the registry keys it comes with.
class DemoFolder
{
public:
    DemoFolder()
    {
        if (!m_dir.isValid()) {
            Error = QStringLiteral("no temporary folder");
            return;
        }
        const ProgramRun laid = Run(QStringLiteral("bash"), { SourceFile("scripts/prepare-demo"), m_dir.path() });
        if (laid.ExitCode != 0) {
            Error = laid.Err;
            return;
        }
        qputenv("KIBIC_REGISTRY_DIR", QDir(m_dir.path()).filePath(QStringLiteral("registry")).toUtf8());
        qputenv("KIBIC_COMPUTER_NAME", "REHEARSAL-PC");
    }

    [[nodiscard]] QString Path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

    // Builds the scoring database of a description ("puchar.inf", "indyw.ind"); the database's path, or
    // empty with Error set.
    QString Build(const QString& description)
    {
        const ProgramRun built = Cli({ QStringLiteral("build"), Path(description) });
        if (built.ExitCode != 0) {
            Error = built.Err;
            return {};
        }
        return built.Out.trimmed();
    }

    QString Error; // empty when the folder is ready

private:
    QTemporaryDir m_dir;
};

// One line of "kibic-cli transfer": "przeniesione: N, wymazane: M, nieumieszczone: K, zastąpione: S".
struct PassReport
{
    int Placed = 0;
    int Erased = 0;
    int Unplaced = 0;
    int Superseded = 0;
    // Rows the pass marked: written, or replaced by a later entry of the same play.
    [[nodiscard]] int Handled() const { return Placed + Erased + Superseded; }
};

inline std::vector<PassReport> PassReports(const QString& errors)
{
    static const QRegularExpression line(
        QStringLiteral("^przeniesione: (\\d+), wymazane: (\\d+), nieumieszczone: (\\d+), zastąpione: (\\d+)$"),
        QRegularExpression::MultilineOption);
    std::vector<PassReport> reports;
    for (auto match = line.globalMatch(errors); match.hasNext();) {
        const auto found = match.next();
        reports.push_back({ found.captured(1).toInt(), found.captured(2).toInt(), found.captured(3).toInt(),
            found.captured(4).toInt() });
    }
    return reports;
}

// Runs scripts/check-transfer on a tournament's files; its last line says what it found.
inline ProgramRun CheckTransfer(const QString& description, const QString& database, int column)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty()) {
        ProgramRun missing;
        missing.Err = QStringLiteral("python3 is not on PATH");
        return missing;
    }
    return Run(python,
        { SourceFile("scripts/check-transfer"), description, database, QStringLiteral("--cli"), Program("kibic-cli"),
            QStringLiteral("--column"), QString::number(column) });
}

// The count of records the checker found filled, from "NAME: N results transferred, all checked"; -1
// when the checker did not say so.
inline int CheckedResults(const ProgramRun& checked)
{
    static const QRegularExpression last(QStringLiteral(": (\\d+) results transferred, all checked\\n?$"));
    const auto match = last.match(checked.Out);
    return checked.ExitCode == 0 && match.hasMatch() ? match.captured(1).toInt() : -1;
}

inline qint64 Scalar(const QString& database, const QString& sql)
{
    DbConnection db(ScoringConnectionString(database));
    return db.ScalarInteger(sql);
}

} // namespace kibic::e2e
