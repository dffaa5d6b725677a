// The words of every dialog: modal results, the message dialog's kinds and buttons, the questions asked.
#pragma once

#include <QFlags>
#include <QStringView>
#include <array>
#include <optional>

namespace kibic {

// The modal result of a window: the platform's numbers.
enum class ModalResult : int {
    None = 0,
    Ok = 1,
    Cancel = 2, // also a window closed by its close box
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7
};

// The number a modal window ends with (QDialog::done) and the result it stands for; a number that is no
// modal result (the plain rejection 0 included) is None.
[[nodiscard]] constexpr int ModalCode(ModalResult result)
{
    return static_cast<int>(result);
}
[[nodiscard]] constexpr ModalResult ModalResultOf(int code)
{
    switch (code) {
    case ModalCode(ModalResult::Ok):
    case ModalCode(ModalResult::Cancel):
    case ModalCode(ModalResult::Retry):
    case ModalCode(ModalResult::Ignore):
    case ModalCode(ModalResult::Yes):
    case ModalCode(ModalResult::No):
        return static_cast<ModalResult>(code);
    default:
        return ModalResult::None;
    }
}

// The caption and the icon of the message dialog. A number outside 0..4 keeps the window's design
// caption and shows no icon.
enum class DialogKind : int { Warning = 0, Error = 1, Info = 2, Confirm = 3, Application = 4 };

// One bit per button of the message dialog; the bits 8 and 16 (and every other) show nothing.
enum class DialogButton : quint16 { Yes = 1, No = 2, Ok = 4, Retry = 32, Ignore = 64 };
Q_DECLARE_FLAGS(DialogButtons, DialogButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(DialogButtons)

// The buttons of a yes/no question: "&Tak" and "&Nie".
inline constexpr DialogButtons YesNoQuestion = DialogButtons(DialogButton::Yes) | DialogButton::No;

// One button of the message dialog: its bit, its caption and the modal result it closes the window with.
struct MessageButton
{
    DialogButton Bit;
    QStringView Caption;
    ModalResult Result;
};

// The message dialog's buttons in tab order, left to right.
inline constexpr std::array<MessageButton, 5> MessageButtons = { {
    { DialogButton::Yes, u"&Tak", ModalResult::Yes },
    { DialogButton::No, u"&Nie", ModalResult::No },
    { DialogButton::Ok, u"OK", ModalResult::Ok },
    { DialogButton::Retry, u"&Popraw", ModalResult::Retry },
    { DialogButton::Ignore, u"&Ignoruj", ModalResult::Ignore },
} };
inline constexpr int MessageButtonCount = static_cast<int>(MessageButtons.size());

// The yes/no questions of the logic. A window asks each with its text; an operator without a window
// answers each by what it asks.
enum class Question {
    Overwrite, // " istnieje.\nNadpisać?" after a file name: a database or a name list
    OverwriteResults, // the same of a database that holds results received from the tables
    Barometer // "Czy to jest barometr ...?": the kind of an individual event's non-typical sector
};

// The answer that has the focus when a question opens, so that Enter gives it: "&Nie" where "&Tak" would
// replace the results the tables sent, "&Tak" elsewhere.
[[nodiscard]] constexpr DialogButton FocusedAnswer(Question question)
{
    return question == Question::OverwriteResults ? DialogButton::No : DialogButton::Yes;
}

} // namespace kibic
