// Windows-1250, the 8-bit code page of ZyRT's text files, the player database and pattern files.
#pragma once

#include <QByteArray>
#include <QString>

namespace kibic {

[[nodiscard]] QString FromCp1250(const QByteArray& bytes);

// Characters outside the code page become "?".
[[nodiscard]] QByteArray ToCp1250(const QString& text);

} // namespace kibic
