// TWebLabel: a label that behaves as a hyperlink; the about box shows the help page with it.
#pragma once

#include <QColor>
#include <QLabel>
#include <functional>

namespace kibic {

// The address of the program's help page, the link of the about box.
inline constexpr QStringView HelpPageAddress = u"https://kibic.example.org/pomoc";

class TWebLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QColor ColorNormal READ ColorNormal WRITE SetColorNormal)
    Q_PROPERTY(QColor ColorMoveOver READ ColorMoveOver WRITE SetColorMoveOver)
    Q_PROPERTY(QColor ColorClick READ ColorClick WRITE SetColorClick)
    Q_PROPERTY(QString URL READ URL WRITE SetURL)

public:
    // What opens a link; the desktop's "open" by default. Returns the shell's result code.
    using Opener = std::function<int(const QString& target)>;

    explicit TWebLabel(QWidget* parent = nullptr);

    [[nodiscard]] QColor ColorNormal() const { return m_colorNormal; }
    void SetColorNormal(const QColor& colour) { m_colorNormal = colour; }
    [[nodiscard]] QColor ColorMoveOver() const { return m_colorMoveOver; }
    void SetColorMoveOver(const QColor& colour) { m_colorMoveOver = colour; }
    [[nodiscard]] QColor ColorClick() const { return m_colorClick; }
    void SetColorClick(const QColor& colour) { m_colorClick = colour; }
    [[nodiscard]] QString URL() const { return m_url; }
    void SetURL(const QString& url) { m_url = url; }

    // The colour the text is drawn in now.
    [[nodiscard]] QColor FontColor() const;

    void SetOpener(Opener opener) { m_opener = std::move(opener); }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetFontColor(const QColor& colour);

    QColor m_colorNormal;
    QColor m_colorMoveOver;
    QColor m_colorClick;
    QString m_url;
    bool m_pressed = false; // the mouse button went down on the label
    Opener m_opener;
};

} // namespace kibic
