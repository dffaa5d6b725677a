// Starting a program or opening a document the way the Windows shell's "open" does.
#pragma once

#include <QString>
#include <QStringList>

namespace kibic {

// Result codes of the shell's "open", as the Windows shell reports them.
enum class ShellResult : int {
    OutOfResources = 0,
    FileNotFound = 2,
    PathNotFound = 3,
    AccessDenied = 5,
    BadFormat = 11,
    Started = 42 // any value above 32 means success
};

// Starts program with the arguments, not waiting for it. No command interpreter is involved, so no
// argument can inject a command. On Windows the arguments are joined with spaces into the shell's
// parameter string. The program runs in its own folder. Returns the shell's result code (above 32 on
// success).
[[nodiscard]] int ShellOpenProgram(const QString& program, const QStringList& arguments);

// Opens a document or an address (a link of the about box) with the desktop's default handler.
[[nodiscard]] int ShellOpenDocument(const QString& target);

} // namespace kibic
