// The message dialog's layout: button row under the message, right to left, then centred.
#include "shell/MessageDialogLayout.h"

#include <cstddef>

namespace kibic {

MessageDialogLayout LayOutMessageDialog(
    int labelLeft, int labelTop, int labelWidth, int labelHeight, int iconTop, int iconHeight, DialogButtons buttons)
{
    // The right edge of the rightmost button slot: its left 336 plus a button's width.
    constexpr int rowRight = 336 + MessageDialogButtonWidth;
    MessageDialogLayout layout;

    int y = labelTop + labelHeight + 20;
    while (y < iconTop + iconHeight)
        y += 10;
    layout.ButtonTop = y;

    int x = 336;
    for (int button = MessageButtonCount - 1; button >= 0; --button) {
        if (!buttons.testFlag(MessageButtons[static_cast<std::size_t>(button)].Bit))
            continue;
        layout.ButtonLeft[static_cast<std::size_t>(button)] = x;
        layout.ButtonVisible[static_cast<std::size_t>(button)] = true;
        x -= 80;
    }
    layout.WindowHeight = y + MessageDialogButtonHeight + 40;

    x += 80; // now the left of the leftmost shown button (416 when none is shown)
    int w = labelLeft + labelWidth + 10;
    if (rowRight - x > w)
        w = 430 - x;
    layout.WindowWidth = w + 10;

    // Integer division truncates toward zero, as the centring needs.
    layout.Shift = (layout.WindowWidth + x - rowRight) / 2 - x;
    for (int button = 0; button < MessageButtonCount; ++button) {
        if (layout.ButtonVisible[static_cast<std::size_t>(button)])
            layout.ButtonLeft[static_cast<std::size_t>(button)] += layout.Shift;
    }
    return layout;
}

} // namespace kibic
