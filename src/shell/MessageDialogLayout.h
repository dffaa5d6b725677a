// Where the message dialog puts its buttons and how big it becomes, from the size of its message.
#pragma once

#include "common/DialogTypes.h"

#include <array>

namespace kibic {

inline constexpr int MessageDialogButtonWidth = 75;
inline constexpr int MessageDialogButtonHeight = 25;

struct MessageDialogLayout
{
    int ButtonTop = 0;
    // Both in the tab order of MessageButtons.
    std::array<int, MessageButtonCount> ButtonLeft {}; // meaningful for the shown buttons
    std::array<bool, MessageButtonCount> ButtonVisible {};
    int Shift = 0; // added to the design left of every button, shown or not
    int WindowWidth = 0; // outer measures: title bar and frame included
    int WindowHeight = 0;
};

// Lays the dialog out around its message label and icon. The buttons stand in one row under the
// message (and under the icon), 5 pixels apart, in tab order from the left, centred in the window;
// the window is wide enough for the message and the row. Bits of buttons that name no button show nothing.
[[nodiscard]] MessageDialogLayout LayOutMessageDialog(
    int labelLeft, int labelTop, int labelWidth, int labelHeight, int iconTop, int iconHeight, DialogButtons buttons);

} // namespace kibic
