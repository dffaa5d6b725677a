// TWebLabel: colours follow the mouse; a press and a release on the label open its address.
#include "shell/ui/WebLabel.h"

#include "platform/ShellOpen.h"

#include <QMouseEvent>

namespace kibic {

TWebLabel::TWebLabel(QWidget* parent)
    : QLabel(QStringLiteral("Kliknij!"), parent)
    , m_colorNormal(Qt::blue)
    , m_colorMoveOver(Qt::blue)
    , m_colorClick(Qt::red)
    , m_url(HelpPageAddress.toString())
    , m_opener([](const QString& target) { return ShellOpenDocument(target); })
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    SetFontColor(Qt::blue);
}

QColor TWebLabel::FontColor() const
{
    return palette().color(QPalette::WindowText);
}

void TWebLabel::SetFontColor(const QColor& colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colour);
    setPalette(colours);
}

void TWebLabel::enterEvent(QEnterEvent* event)
{
    SetFontColor(m_pressed ? m_colorClick : m_colorMoveOver);
    setCursor(Qt::PointingHandCursor);
    QLabel::enterEvent(event);
}

void TWebLabel::leaveEvent(QEvent* event)
{
    SetFontColor(m_colorNormal);
    unsetCursor();
    QLabel::leaveEvent(event);
}

void TWebLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = true;
    SetFontColor(m_colorClick);
    event->accept();
}

void TWebLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (at.x() < 0 || at.y() < 0 || at.x() > width() || at.y() > height()) {
        SetFontColor(m_colorNormal);
    } else {
        if (m_pressed && m_opener) {
            // A failure of the shell is not reported: the link simply does not open.
            (void)m_opener(m_url.isEmpty() ? text() : m_url);
        }
        SetFontColor(m_colorMoveOver);
    }
    m_pressed = false;
    event->accept();
}

} // namespace kibic
