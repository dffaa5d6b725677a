// The project's programs run from a test: started, fed, waited for, and what they wrote.
#pragma once

#include "support/KibicPrograms.h"

#include <QByteArray>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace kibic::test {

struct ProgramRun
{
    int ExitCode = -1; // -1 when the program did not start, crashed or did not finish in time
    QByteArray OutBytes; // the standard output as written
    QString Out; // the same as text
    QString Err; // the standard error as text; says so when the program did not start or finish

    // The non-empty lines, without the carriage returns a Windows console adds.
    [[nodiscard]] QStringList OutLines() const { return Lines(Out); }
    [[nodiscard]] QStringList ErrLines() const { return Lines(Err); }

    [[nodiscard]] static QStringList Lines(QString text)
    {
        return text.remove(QLatin1Char('\r')).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

struct RunOptions
{
    QString WorkingDirectory; // empty: the test's own
    QList<QPair<QString, QString>> Environment; // set on top of the test's own environment
    QByteArray Input; // written to the standard input, which is then closed
    int TimeoutMs = 60000;
};

// Runs program with arguments and waits for it; a program that does not finish in time is killed.
inline ProgramRun RunProgram(const QString& program, const QStringList& arguments, const RunOptions& options = {})
{
    QProcess process;
    if (!options.WorkingDirectory.isEmpty())
        process.setWorkingDirectory(options.WorkingDirectory);
    if (!options.Environment.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : options.Environment)
            environment.insert(name, value);
        process.setProcessEnvironment(environment);
    }
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForStarted()) {
        run.Err = QStringLiteral("%1 did not start: %2").arg(program, process.errorString());
        return run;
    }
    process.write(options.Input);
    process.closeWriteChannel();
    if (!process.waitForFinished(options.TimeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.Err = QStringLiteral("%1 did not finish in %2 ms").arg(program).arg(options.TimeoutMs);
        return run;
    }
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.OutBytes = process.readAllStandardOutput();
    run.Out = QString::fromUtf8(run.OutBytes);
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// kibic-cli of this build.
inline ProgramRun RunCli(const QStringList& arguments, const RunOptions& options = {})
{
    return RunProgram(KibicProgram("kibic-cli"), arguments, options);
}

} // namespace kibic::test
