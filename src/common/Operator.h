// What the logic asks or tells the operator: the window answers with dialogs, the CLI and tests without.
#pragma once

#include "common/DialogTypes.h"

#include <QString>
#include <QStringList>
#include <deque>

namespace kibic {

class Operator
{
public:
    virtual ~Operator() = default;

    // The program's message dialog; returns the modal result of the button pressed.
    virtual ModalResult ShowMessageDialog(const QString& text, DialogKind kind, DialogButtons buttons) = 0;

    // An information with an OK button.
    void ShowInfo(const QString& text) { ShowMessageDialog(text, DialogKind::Info, DialogButton::Ok); }

    // A yes/no question in the message dialog: Yes, No, or Cancel when it was closed unanswered.
    virtual ModalResult Ask(Question question, const QString& text)
    {
        (void)question;
        return ShowMessageDialog(text, DialogKind::Confirm, YesNoQuestion);
    }

    // The standard error box that reports a failed action.
    virtual void ShowError(const QString& text) = 0;

    // A line to read without answering (how a new database was made): the window's line under the
    // status, the CLI's error output. An operator with no such place (a test's) leaves it.
    virtual void ShowNote(const QString& text) { (void)text; }

    // The hourglass cursor on or off.
    virtual void SetBusyCursor(bool busy) { (void)busy; }
};

// An operator without a window: answers questions from a script (then with a default answer) and
// keeps every text it was shown, in order. The CLI prints them; tests compare them.
class ScriptedOperator : public Operator
{
public:
    explicit ScriptedOperator(ModalResult defaultAnswer = ModalResult::No)
        : m_defaultAnswer(defaultAnswer)
    {
    }

    void QueueAnswer(ModalResult answer) { m_answers.push_back(answer); }

    ModalResult ShowMessageDialog(const QString& text, DialogKind kind, DialogButtons buttons) override
    {
        Messages.append(text);
        Kinds.append(kind);
        constexpr DialogButtons answering
            = DialogButton::Yes | DialogButton::No | DialogButton::Retry | DialogButton::Ignore;
        if (buttons == DialogButton::Ok || !(buttons & answering))
            return buttons.testFlag(DialogButton::Ok) ? ModalResult::Ok : ModalResult::Cancel;
        if (m_answers.empty())
            return m_defaultAnswer;
        const ModalResult answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    void ShowError(const QString& text) override
    {
        Messages.append(text);
        Kinds.append(DialogKind::Error);
    }

    void SetBusyCursor(bool busy) override { BusyCursor = busy; }

    void ShowNote(const QString& text) override { Notes.append(text); }

    QStringList Messages;
    QStringList Notes;
    QList<DialogKind> Kinds;
    bool BusyCursor = false;

private:
    ModalResult m_defaultAnswer;
    std::deque<ModalResult> m_answers;
};

} // namespace kibic
