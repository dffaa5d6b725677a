// Where the message dialog puts its buttons and how big it becomes, from the size of its message.
#pragma once

#include <array>

namespace kibic {

// The dialog's five buttons in tab order: "&Tak", "&Nie", "OK", "&Popraw", "&Ignoruj".
enum MessageDialogButton : int { mbTak = 0, mbNie = 1, mbOk = 2, mbPopraw = 3, mbIgnoruj = 4 };
inline constexpr int MessageDialogButtonCount = 5;
inline constexpr int MessageDialogButtonWidth = 75;
inline constexpr int MessageDialogButtonHeight = 25;

// The DialogButtons bit of each button, in tab order.
inline constexpr std::array<int, MessageDialogButtonCount> MessageDialogButtonBits = { 1, 2, 4, 32, 64 };

struct MessageDialogLayout
{
    int ButtonTop = 0;
    std::array<int, MessageDialogButtonCount> ButtonLeft {}; // meaningful for the shown buttons
    std::array<bool, MessageDialogButtonCount> ButtonVisible {};
    int Shift = 0; // added to the design left of every button, shown or not
    int WindowWidth = 0; // outer measures: title bar and frame included
    int WindowHeight = 0;
};

// Lays the dialog out around its message label and icon. The buttons stand in one row under the
// message (and under the icon), 5 pixels apart, in tab order from the left, centred in the window;
// the window is wide enough for the message and the row. buttons is the DialogButtons mask: bits other
// than 1, 2, 4, 32 and 64 show nothing.
[[nodiscard]] MessageDialogLayout LayOutMessageDialog(
    int labelLeft, int labelTop, int labelWidth, int labelHeight, int iconTop, int iconHeight, int buttons);

} // namespace kibic
