// Lines of text for a console window, a pipe or a file.
#pragma once

#include <QString>
#include <cstdio>

namespace kibic {

// Puts the standard streams into the state WriteTextLine expects: on Windows binary mode, so that a
// line ends in "\n" as on every other system and a pipe carries the same bytes. Call once at start.
void PrepareStandardStreams();

// Writes text and a line end to stdout or stderr, then flushes. A console window on Windows gets wide
// text (Polish letters show in cmd.exe and PowerShell whatever the console's code page); anything else
// gets UTF-8 bytes.
void WriteTextLine(std::FILE* stream, const QString& text);

} // namespace kibic
