#include "smileys.h"

#include <array>

#include <QPainter>
#include <QPainterPath>

namespace art {

namespace {

constexpr int kWidth = 17;
constexpr int kHeight = 16;

enum class Mouth { Smile, Grin, Sad, Open, Flat, Tongue, Kiss, Wavy };
enum class Eyes { Dots, Wink, Shades, Closed, Hearts, Angry, Wide };

struct Face {
    QColor skin;
    Eyes eyes;
    Mouth mouth;
    int extra; // 0 none, 1 tear, 2 horns, 3 halo, 4 blush, 5 sweat drop
};

// Index = code - 10; the order follows the smiley menu.
const Face kFaces[18] = {
    {QColor(255, 214, 40), Eyes::Dots, Mouth::Smile, 0},
    {QColor(255, 214, 40), Eyes::Dots, Mouth::Grin, 0},
    {QColor(255, 214, 40), Eyes::Wink, Mouth::Smile, 0},
    {QColor(255, 214, 40), Eyes::Dots, Mouth::Sad, 0},
    {QColor(255, 214, 40), Eyes::Dots, Mouth::Tongue, 0},
    {QColor(255, 214, 40), Eyes::Wide, Mouth::Open, 0},
    {QColor(255, 214, 40), Eyes::Shades, Mouth::Smile, 0},
    {QColor(235, 80, 50), Eyes::Angry, Mouth::Sad, 0},
    {QColor(255, 214, 40), Eyes::Closed, Mouth::Grin, 0},
    {QColor(255, 214, 40), Eyes::Dots, Mouth::Flat, 0},
    {QColor(255, 214, 40), Eyes::Closed, Mouth::Kiss, 4},
    {QColor(255, 214, 40), Eyes::Dots, Mouth::Wavy, 5},
    {QColor(255, 214, 40), Eyes::Dots, Mouth::Sad, 1},
    {QColor(220, 40, 40), Eyes::Angry, Mouth::Grin, 2},
    {QColor(255, 214, 40), Eyes::Closed, Mouth::Smile, 3},
    {QColor(255, 214, 40), Eyes::Closed, Mouth::Flat, 0},
    {QColor(255, 214, 40), Eyes::Hearts, Mouth::Smile, 0},
    {QColor(255, 214, 40), Eyes::Dots, Mouth::Smile, 4},
};

void heart(QPainter& p, QPointF c, qreal r) {
    QPainterPath path;
    path.moveTo(c.x(), c.y() + r);
    path.cubicTo(c.x() - 2 * r, c.y() - 0.2 * r, c.x() - r, c.y() - 1.6 * r, c.x(),
                 c.y() - 0.5 * r);
    path.cubicTo(c.x() + r, c.y() - 1.6 * r, c.x() + 2 * r, c.y() - 0.2 * r, c.x(), c.y() + r);
    p.fillPath(path, QColor(220, 20, 60));
}

void eyes(QPainter& p, Eyes e) {
    const QPointF left(6, 6), right(11, 6);
    const QColor ink(40, 30, 10);
    p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
    switch (e) {
    case Eyes::Dots:
        p.setBrush(ink);
        p.drawEllipse(left, 1.0, 1.4);
        p.drawEllipse(right, 1.0, 1.4);
        break;
    case Eyes::Wide:
        p.setBrush(Qt::white);
        p.drawEllipse(left, 1.6, 1.9);
        p.drawEllipse(right, 1.6, 1.9);
        p.setBrush(ink);
        p.drawEllipse(left, 0.6, 0.6);
        p.drawEllipse(right, 0.6, 0.6);
        break;
    case Eyes::Wink:
        p.setBrush(ink);
        p.drawEllipse(left, 1.0, 1.4);
        p.drawLine(QPointF(9.5, 6.5), QPointF(12.5, 6.5));
        break;
    case Eyes::Closed:
        p.drawArc(QRectF(4.5, 5, 3, 3), 0, 180 * 16);
        p.drawArc(QRectF(9.5, 5, 3, 3), 0, 180 * 16);
        break;
    case Eyes::Shades:
        p.setBrush(QColor(20, 20, 20));
        p.drawRoundedRect(QRectF(3.5, 4.5, 4.5, 3), 1, 1);
        p.drawRoundedRect(QRectF(9, 4.5, 4.5, 3), 1, 1);
        p.drawLine(QPointF(8, 5.5), QPointF(9, 5.5));
        break;
    case Eyes::Angry:
        p.setBrush(ink);
        p.drawEllipse(QPointF(6, 7), 0.9, 1.1);
        p.drawEllipse(QPointF(11, 7), 0.9, 1.1);
        p.drawLine(QPointF(4, 4), QPointF(7.5, 5.5));
        p.drawLine(QPointF(13, 4), QPointF(9.5, 5.5));
        break;
    case Eyes::Hearts:
        heart(p, QPointF(5.8, 6.2), 1.5);
        heart(p, QPointF(11.2, 6.2), 1.5);
        break;
    }
}

void mouth(QPainter& p, Mouth m) {
    const QColor ink(40, 30, 10);
    p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    switch (m) {
    case Mouth::Smile:
        p.drawArc(QRectF(4.5, 6, 8, 6), 200 * 16, 140 * 16);
        break;
    case Mouth::Grin: {
        QPainterPath path;
        path.moveTo(4.5, 9.5);
        path.quadTo(8.5, 15, 12.5, 9.5);
        path.closeSubpath();
        p.setBrush(QColor(120, 20, 20));
        p.drawPath(path);
        break;
    }
    case Mouth::Sad:
        p.drawArc(QRectF(5, 10.5, 7, 5), 30 * 16, 120 * 16);
        break;
    case Mouth::Open:
        p.setBrush(QColor(120, 20, 20));
        p.drawEllipse(QPointF(8.5, 11), 1.8, 2.0);
        break;
    case Mouth::Flat:
        p.drawLine(QPointF(5.5, 11), QPointF(11.5, 11));
        break;
    case Mouth::Tongue:
        p.drawArc(QRectF(4.5, 6, 8, 6), 200 * 16, 140 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 70, 90));
        p.drawEllipse(QPointF(9.5, 12.5), 1.6, 1.6);
        break;
    case Mouth::Kiss:
        p.setBrush(QColor(220, 20, 60));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(8.5, 11), 1.5, 1.2);
        break;
    case Mouth::Wavy: {
        QPainterPath path;
        path.moveTo(5, 11);
        path.cubicTo(6.5, 9.5, 7.5, 12.5, 8.5, 11);
        path.cubicTo(9.5, 9.5, 10.5, 12.5, 12, 11);
        p.drawPath(path);
        break;
    }
    }
}

void extra(QPainter& p, int kind) {
    p.setPen(Qt::NoPen);
    switch (kind) {
    case 1:
        p.setBrush(QColor(80, 160, 255));
        p.drawEllipse(QPointF(4.5, 9.5), 1.0, 1.5);
        break;
    case 2:
        p.setBrush(QColor(140, 0, 0));
        p.drawPolygon(QPolygonF({QPointF(2.5, 4), QPointF(3.5, 0), QPointF(5.5, 2.5)}));
        p.drawPolygon(QPolygonF({QPointF(14.5, 4), QPointF(13.5, 0), QPointF(11.5, 2.5)}));
        break;
    case 3:
        p.setPen(QPen(QColor(250, 230, 120), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8.5, 1.2), 4.5, 1.1);
        break;
    case 4:
        p.setBrush(QColor(255, 120, 120, 170));
        p.drawEllipse(QPointF(4, 9), 1.6, 1.0);
        p.drawEllipse(QPointF(13, 9), 1.6, 1.0);
        break;
    case 5:
        p.setBrush(QColor(120, 190, 255));
        p.drawEllipse(QPointF(13.5, 4), 1.0, 1.5);
        break;
    default:
        break;
    }
}

QPixmap paintSmiley(const Face& f, qreal dpr) {
    QPixmap pix(QSize(kWidth, kHeight) * dpr);
    pix.setDevicePixelRatio(dpr);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(6.5, 5), 9);
    g.setColorAt(0, f.skin.lighter(130));
    g.setColorAt(1, f.skin.darker(115));
    p.setPen(QPen(f.skin.darker(180), 0.8));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.5, 1, 14, 14));
    eyes(p, f.eyes);
    mouth(p, f.mouth);
    extra(p, f.extra);
    return pix;
}

} // namespace

QPixmap smiley(int index, qreal dpr) {
    if (index < 0 || index >= 18) index = 0;
    // The chat view and the smiley menu show the same faces: paint each once per screen ratio.
    static std::array<QPixmap, 18> cache;
    static qreal cachedRatio = 0;
    if (dpr != cachedRatio) {
        cache = {};
        cachedRatio = dpr;
    }
    if (cache[index].isNull()) cache[index] = paintSmiley(kFaces[index], dpr);
    return cache[index];
}

} // namespace art
