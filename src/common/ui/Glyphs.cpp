// Drawing the program's pictures with QPainter on a 16-unit grid scaled to the wanted size.
#include "common/ui/Glyphs.h"

#include "common/ui/FormDesign.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kibic {

namespace {

const QColor Gingerbread(176, 112, 48);
const QColor Icing(255, 250, 235);
const QColor DarkOutline(60, 40, 20);

QPen Outline(const QColor& colour = DarkOutline, qreal width = 0.8)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawFolder(QPainter& p)
{
    p.setPen(Outline(QColor(120, 90, 0)));
    p.setBrush(QColor(230, 180, 40));
    p.drawRect(QRectF(1.5, 4.5, 11, 9));
    p.drawRect(QRectF(1.5, 3, 5, 1.5));
    p.setBrush(QColor(255, 215, 90));
    QPolygonF flap;
    flap << QPointF(3.5, 7.5) << QPointF(15, 7.5) << QPointF(12.5, 13.5) << QPointF(1.5, 13.5);
    p.drawPolygon(flap);
}

void DrawCheck(QPainter& p, const QColor& colour)
{
    p.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPolygonF tick;
    tick << QPointF(2.5, 8.5) << QPointF(6.5, 12.5) << QPointF(13.5, 3.5);
    p.drawPolyline(tick);
}

void DrawCross(QPainter& p, const QColor& colour)
{
    p.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void DrawSuit(QPainter& p, const QRectF& box, QChar suit, const QColor& colour)
{
    QFont font = DesignFont(MsSansSerif, 10);
    font.setPixelSize(std::max(1, static_cast<int>(box.height())));
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, QString(suit));
}

void DrawGingerbreadTerminal(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(Gingerbread);
    p.drawRoundedRect(QRectF(3, 0.8, 10, 14.4), 2, 2);
    p.setBrush(QColor(200, 230, 200));
    p.drawRect(QRectF(4.6, 2.4, 6.8, 4));
    p.setBrush(Icing);
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            p.drawEllipse(QRectF(4.8 + column * 2.4, 8 + row * 2.2, 1.6, 1.4));
}

void DrawSixteen(QPainter& p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::OpenTournament:
        DrawFolder(p);
        p.setPen(Outline(QColor(90, 90, 90)));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7.5, 0.8, 6, 8));
        DrawSuit(p, QRectF(7.5, 1.5, 6, 6.5), QChar(0x2665), QColor(200, 0, 0));
        break;
    case Glyph::OpenDatabase:
        DrawFolder(p);
        p.setPen(Outline());
        p.setBrush(Gingerbread);
        p.drawRect(QRectF(8, 2.5, 6.5, 6));
        p.drawEllipse(QRectF(8, 7, 6.5, 3));
        p.drawEllipse(QRectF(8, 1, 6.5, 3));
        break;
    case Glyph::Exit:
        p.setPen(Outline(QColor(70, 50, 30)));
        p.setBrush(QColor(150, 100, 60));
        p.drawRect(QRectF(1.5, 1.5, 7, 13));
        p.setBrush(QColor(255, 220, 0));
        p.drawEllipse(QRectF(6, 7.5, 1.5, 1.5));
        p.setPen(QPen(QColor(200, 0, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(9, 8), QPointF(15, 8));
        p.drawLine(QPointF(12.5, 5), QPointF(15, 8));
        p.drawLine(QPointF(12.5, 11), QPointF(15, 8));
        break;
    case Glyph::About:
        p.setPen(Outline(QColor(0, 40, 120)));
        p.setBrush(QColor(40, 100, 210));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(7, 3.2, 2.2, 2.2));
        p.drawRect(QRectF(7, 6.5, 2.2, 6.5));
        break;
    case Glyph::Yes:
        DrawCheck(p, QColor(0, 150, 0));
        break;
    case Glyph::No:
        DrawCross(p, QColor(210, 0, 0));
        break;
    case Glyph::Ok:
        p.setPen(Outline(QColor(0, 110, 0)));
        p.setBrush(QColor(215, 245, 215));
        p.drawEllipse(QRectF(0.8, 0.8, 14.4, 14.4));
        DrawCheck(p, QColor(0, 140, 0));
        break;
    case Glyph::Retry: {
        p.setPen(QPen(QColor(220, 120, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 120, 0));
        QPolygonF head;
        head << QPointF(9, 0.5) << QPointF(13.5, 3.5) << QPointF(9, 6.5);
        p.drawPolygon(head);
        break;
    }
    case Glyph::Ignore:
        p.setPen(QPen(QColor(90, 90, 160), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(2, 8), QPointF(11, 8));
        p.drawLine(QPointF(8, 4.5), QPointF(11.5, 8));
        p.drawLine(QPointF(8, 11.5), QPointF(11.5, 8));
        p.drawLine(QPointF(14, 3), QPointF(14, 13));
        break;
    case Glyph::Start: {
        p.setPen(Outline(QColor(0, 100, 0)));
        p.setBrush(QColor(30, 190, 30));
        QPolygonF play;
        play << QPointF(4, 2) << QPointF(14, 8) << QPointF(4, 14);
        p.drawPolygon(play);
        break;
    }
    case Glyph::Stop:
        p.setPen(Outline(QColor(120, 0, 0)));
        p.setBrush(QColor(220, 30, 30));
        p.drawRoundedRect(QRectF(3, 3, 10, 10), 1.5, 1.5);
        break;
    case Glyph::ReadIdentifiers:
        DrawGingerbreadTerminal(p);
        p.setPen(QPen(QColor(0, 0, 128), 0.9));
        p.drawLine(QPointF(5.2, 3.6), QPointF(10.8, 3.6));
        p.drawLine(QPointF(5.2, 5.2), QPointF(9, 5.2));
        break;
    case Glyph::Application:
        p.setPen(Outline(QColor(40, 40, 90)));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1, 2, 14, 12));
        p.setBrush(QColor(30, 60, 160));
        p.drawRect(QRectF(1, 2, 14, 3));
        break;
    case Glyph::Card:
        p.setPen(Outline(QColor(80, 80, 80)));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(3, 0.8, 10, 14.4), 1.5, 1.5);
        DrawSuit(p, QRectF(3, 3, 10, 10), QChar(0x2660), Qt::black);
        break;
    case Glyph::Terminal:
        DrawGingerbreadTerminal(p);
        break;
    case Glyph::Banner:
        break;
    }
}

void DrawBanner(QPainter& p, const QSize& size)
{
    const QRectF area(0, 0, size.width(), size.height());
    QLinearGradient shade(area.topLeft(), area.bottomLeft());
    shade.setColorAt(0, QColor(206, 148, 80));
    shade.setColorAt(1, Gingerbread.darker(115));
    p.setPen(Outline(DarkOutline, 2));
    p.setBrush(shade);
    p.drawRoundedRect(area.adjusted(1, 1, -1, -1), 14, 14);

    // Icing zigzag along the edges, as on a gingerbread.
    p.setPen(QPen(Icing, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const qreal y : { 8.0, area.height() - 8.0 }) {
        QPolygonF zigzag;
        for (qreal x = 18; x <= area.width() - 18; x += 10)
            zigzag << QPointF(x, y + ((static_cast<int>(x / 10) % 2) != 0 ? 3 : -3));
        p.drawPolyline(zigzag);
    }

    const qreal h = area.height();
    const QList<std::pair<QChar, QColor>> suits = { { QChar(0x2660), Qt::black }, { QChar(0x2665), QColor(200, 0, 0) },
        { QChar(0x2666), QColor(200, 0, 0) }, { QChar(0x2663), Qt::black } };
    for (int i = 0; i < suits.size(); ++i) {
        const QRectF card(14 + i * h * 0.42, h * 0.2, h * 0.5, h * 0.62);
        p.setPen(Outline(QColor(80, 80, 80), 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(card, 4, 4);
        DrawSuit(p, card.adjusted(2, 4, -2, -4), suits[i].first, suits[i].second);
    }

    QFont title = DesignFont(MsSansSerif, static_cast<int>(h * 0.55), true);
    p.setFont(title);
    const QRectF text(14 + 4 * h * 0.42 + h * 0.2, 0, area.width() - (14 + 4 * h * 0.42 + h * 0.2) - 10, h);
    p.setPen(DarkOutline);
    p.drawText(text.translated(2, 2), Qt::AlignCenter, QStringLiteral("Kibic"));
    p.setPen(Icing);
    p.drawText(text, Qt::AlignCenter, QStringLiteral("Kibic"));
}

} // namespace

QPixmap DrawGlyph(Glyph glyph, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (glyph == Glyph::Banner) {
        DrawBanner(painter, size);
        return pixmap;
    }
    painter.scale(size.width() / 16.0, size.height() / 16.0);
    DrawSixteen(painter, glyph);
    return pixmap;
}

QIcon GlyphIcon(Glyph glyph, int size)
{
    QIcon icon;
    icon.addPixmap(DrawGlyph(glyph, QSize(size, size)));
    if (size < 32)
        icon.addPixmap(DrawGlyph(glyph, QSize(size * 2, size * 2)));
    return icon;
}

} // namespace kibic
