// What the logic asks or tells the operator: the window answers with dialogs, the CLI and tests without.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>

namespace kibic {

// Modal results, the platform's numbers.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2, // also a window closed by its close box
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7
};

// DialogKind: the caption and the icon of the message dialog.
enum DialogKind : int { dkWarning = 0, dkError = 1, dkInfo = 2, dkConfirm = 3, dkApplication = 4 };

// DialogButtons: a bit mask, one bit per button.
enum DialogButton : int { dbYes = 1, dbNo = 2, dbOk = 4, dbRetry = 32, dbIgnore = 64 };

class Operator
{
public:
    virtual ~Operator() = default;

    // The program's message dialog; returns the modal result of the button pressed.
    virtual int ShowMessageDialog(const QString& text, int kind, int buttons) = 0;

    // An information with an OK button.
    void ShowInfo(const QString& text) { ShowMessageDialog(text, dkInfo, dbOk); }

    // The standard error box that reports a failed action.
    virtual void ShowError(const QString& text) = 0;

    // The hourglass cursor on or off.
    virtual void SetBusyCursor(bool busy) { (void)busy; }
};

// An operator without a window: answers questions from a script (then with a default answer) and
// keeps every text it was shown, in order. The CLI prints them; tests compare them.
class ScriptedOperator : public Operator
{
public:
    explicit ScriptedOperator(int defaultAnswer = mrNo)
        : m_defaultAnswer(defaultAnswer)
    {
    }

    void QueueAnswer(int answer) { m_answers.push_back(answer); }

    int ShowMessageDialog(const QString& text, int kind, int buttons) override
    {
        Messages.append(text);
        Kinds.append(kind);
        if (buttons == dbOk || (buttons & (dbYes | dbNo | dbRetry | dbIgnore)) == 0)
            return buttons & dbOk ? mrOk : mrCancel;
        if (m_answers.empty())
            return m_defaultAnswer;
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    void ShowError(const QString& text) override
    {
        Messages.append(text);
        Kinds.append(dkError);
    }

    void SetBusyCursor(bool busy) override { BusyCursor = busy; }

    QStringList Messages;
    QList<int> Kinds;
    bool BusyCursor = false;

private:
    int m_defaultAnswer;
    std::deque<int> m_answers;
};

} // namespace kibic
