// The program's pictures: toolbar images, button glyphs and the pictures of the start-up window and the
// about box, all drawn here, so the program needs no image files.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace kibic {

enum class Glyph {
    OpenTournament, // toolbar image 0: "Otwórz turniej ZyRTa"
    OpenDatabase, // toolbar image 1: "Otwórz bazę pierniczkową"
    Exit, // toolbar image 2: "Wyjście"
    About, // toolbar image 3: "o programie..."
    Yes, // "&Tak"
    No, // "&Nie"
    Ok, // "OK"
    Retry, // "&Popraw"
    Ignore, // "&Ignoruj"
    Start, // start polling
    Stop, // stop polling
    ReadIdentifiers, // "Czytaj identyfikatory"
    Application, // the program's icon
    Card, // about box: a playing card
    Terminal, // about box: a scoring terminal, the gingerbread
    Banner // start-up window: the program's picture
};

// The picture drawn at the given size (transparent background).
[[nodiscard]] QPixmap DrawGlyph(Glyph glyph, QSize size);

[[nodiscard]] QIcon GlyphIcon(Glyph glyph, int size = 16);

} // namespace kibic
