// The project's own programs as the tests start them: from the build's bin folder, with ".exe" on Windows.
#pragma once

#include <QString>

namespace kibic::test {

inline QString KibicProgram(const char* name)
{
    QString path = QStringLiteral(KIBIC_BINARY_DIR "/bin/") + QLatin1String(name);
#ifdef Q_OS_WIN
    path += QStringLiteral(".exe");
#endif
    return path;
}

} // namespace kibic::test
