// Plays the operator at modal windows, for every window test: each time a modal window comes up, the
// next step acts on it; a window with no step left, or left open by a failed step, is closed.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

namespace kibic::test {

class ModalDriver : public QObject
{
public:
    using Step = std::function<void(QWidget* modal)>;

    ModalDriver()
    {
        qApp->installEventFilter(this);
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
        m_timer.start();
    }

    ~ModalDriver() override { qApp->removeEventFilter(this); }

    // The step for the next modal window; a window shown again (the editor's next page) counts anew.
    void Then(Step step) { m_steps.push_back(std::move(step)); }

    [[nodiscard]] bool Finished() const { return m_steps.empty(); }

    // Modal windows that came up with no step left; they were closed.
    QStringList Unexpected;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
            m_shown[watched] = ++m_showCount;
        return false;
    }

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible())
            return;
        const quint64 shown = m_shown.value(modal);
        if (modal == m_acted && shown == m_actedShow)
            return;
        m_acted = modal;
        m_actedShow = shown;
        if (m_steps.empty()) {
            Unexpected.append(
                QString::fromLatin1(modal->metaObject()->className()) + QLatin1Char(' ') + modal->windowTitle());
            Close(modal);
            return;
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        step(modal);
        // A step whose check failed may leave its window open: close it so that the test ends.
        if (QTest::currentTestFailed() && modal->isVisible())
            Close(modal);
    }

    static void Close(QWidget* modal)
    {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

    QTimer m_timer;
    std::deque<Step> m_steps;
    QHash<QObject*, quint64> m_shown;
    quint64 m_showCount = 0;
    QPointer<QWidget> m_acted;
    quint64 m_actedShow = 0;
};

} // namespace kibic::test
