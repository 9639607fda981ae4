#include "artwork.h"

#include "boardgeometry.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QResource>
#include <QtMath>

#include <cstdint>
#include <cstring>

namespace art {

namespace {

bool g_usePrerendered = true;

// The picture `name` as painted at build time, when it exists and fits (ratio 1 only).
bool prerendered(const char* name, int w, int h, qreal dpr, QPixmap& out) {
    if (!g_usePrerendered || dpr != 1.0) return false;
    // Stored uncompressed, so the bytes are read in place from the program's image.
    const QResource resource(QString(":/prerendered/%1.raw").arg(name));
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression)
        return false;
    const QByteArray raw = QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()),
                                                   qsizetype(resource.size()));
    int32_t size[2] = {0, 0};
    if (raw.size() < qsizetype(sizeof size)) return false;
    std::memcpy(size, raw.constData(), sizeof size);
    if (size[0] != w || size[1] != h || raw.size() != qsizetype(sizeof size) + qsizetype(w) * h * 4)
        return false;
    const auto* pixels = reinterpret_cast<const uchar*>(raw.constData() + sizeof size);
    if (reinterpret_cast<quintptr>(pixels) % alignof(uint32_t) != 0) return false;
    // The picture refers to the stored pixels instead of holding a copy of its own: nothing
    // ever paints on it, so it never needs one.
    out = QPixmap::fromImage(QImage(pixels, w, h, w * 4, QImage::Format_ARGB32_Premultiplied));
    return true;
}

using namespace bg::geo;

// Paints a logical w × h picture at the given pixel ratio.
template <typename Paint> QPixmap paint(int w, int h, qreal dpr, Paint&& body) {
    QPixmap pm(qCeil(w * dpr), qCeil(h * dpr));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    body(p);
    return pm;
}

// A small deterministic generator, so the grain and the felt look the same on every run.
struct Lcg {
    uint32_t s;
    uint32_t next() { return s = s * 1664525u + 1013904223u; }
    qreal unit() { return (next() >> 8) / qreal(1 << 24); }
};

// Board picture coordinates are panel coordinates less the picture's own position.
constexpr qreal bx(qreal panelX) {
    return panelX - kMainBoardLeft;
}
constexpr qreal by(qreal panelY) {
    return panelY - kMainBoardTop;
}

constexpr qreal kFieldTop = by(33);
constexpr qreal kFieldBottom = by(323);
constexpr qreal kLeftFieldL = bx(40);
constexpr qreal kLeftFieldR = bx(341);
constexpr qreal kRightFieldL = bx(392);
constexpr qreal kRightFieldR = bx(693);
constexpr qreal kTrayL = bx(699);
constexpr qreal kTrayR = bx(738);
constexpr qreal kPointLength = 122;
constexpr qreal kPointHalfWidth = 22.5;

void woodRect(QPainter& p, const QRectF& r, QColor base, uint32_t seed, bool vertical = false) {
    QLinearGradient g(r.topLeft(), vertical ? r.topRight() : r.bottomLeft());
    g.setColorAt(0, base.lighter(118));
    g.setColorAt(0.5, base);
    g.setColorAt(1, base.darker(125));
    p.fillRect(r, g);
    // Grain: long, slightly wavy strokes along the board.
    Lcg rnd{seed};
    p.save();
    p.setClipRect(r);
    const int lines = int((vertical ? r.width() : r.height()) / 2.2);
    for (int i = 0; i < lines; ++i) {
        QColor c = base.darker(110 + int(rnd.unit() * 35));
        c.setAlpha(60 + int(rnd.unit() * 70));
        p.setPen(QPen(c, 0.6 + rnd.unit() * 0.8));
        QPainterPath path;
        const qreal off = rnd.unit() * (vertical ? r.width() : r.height());
        const qreal amp = 0.6 + rnd.unit() * 1.8;
        const qreal freq = 0.01 + rnd.unit() * 0.03;
        const qreal phase = rnd.unit() * 6.28;
        const qreal len = vertical ? r.height() : r.width();
        for (qreal t = 0; t <= len; t += 4) {
            const qreal wobble = amp * qSin(t * freq + phase);
            const QPointF pt = vertical ? QPointF(r.left() + off + wobble, r.top() + t)
                                        : QPointF(r.left() + t, r.top() + off + wobble);
            if (t == 0)
                path.moveTo(pt);
            else
                path.lineTo(pt);
        }
        p.drawPath(path);
    }
    p.restore();
}

void felt(QPainter& p, const QRectF& r, uint32_t seed) {
    QRadialGradient g(r.center(), r.width() * 0.7);
    g.setColorAt(0, QColor(38, 104, 66));
    g.setColorAt(1, QColor(20, 66, 40));
    p.fillRect(r, g);
    Lcg rnd{seed};
    p.save();
    p.setClipRect(r);
    p.setPen(Qt::NoPen);
    const int dots = int(r.width() * r.height() / 9);
    for (int i = 0; i < dots; ++i) {
        const bool light = rnd.next() & 0x100;
        p.setBrush(light ? QColor(255, 255, 255, 10) : QColor(0, 0, 0, 16));
        p.drawRect(
            QRectF(r.left() + rnd.unit() * r.width(), r.top() + rnd.unit() * r.height(), 1, 1));
    }
    // A soft shadow along the inner edges makes the felt sit below the frame.
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(QColor(0, 0, 0, 60 - i * 10), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(i + 0.5, i + 0.5, -i - 0.5, -i - 0.5));
    }
    p.restore();
}

void point(QPainter& p, qreal centreX, bool fromTop, bool dark) {
    const qreal base = fromTop ? kFieldTop : kFieldBottom;
    const qreal tip = fromTop ? base + kPointLength : base - kPointLength;
    QPainterPath tri;
    tri.moveTo(centreX - kPointHalfWidth, base);
    tri.lineTo(centreX + kPointHalfWidth, base);
    tri.lineTo(centreX, tip);
    tri.closeSubpath();
    QLinearGradient g(centreX - kPointHalfWidth, 0, centreX + kPointHalfWidth, 0);
    const QColor c = dark ? QColor(150, 34, 36) : QColor(235, 214, 168);
    g.setColorAt(0, c.darker(112));
    g.setColorAt(0.45, c.lighter(108));
    g.setColorAt(1, c.darker(118));
    p.setBrush(g);
    p.setPen(QPen(dark ? QColor(90, 16, 18) : QColor(160, 132, 88), 0.8));
    p.drawPath(tri);
    // An inlaid centre line.
    p.setPen(QPen(dark ? QColor(255, 200, 180, 40) : QColor(120, 90, 50, 50), 0.8));
    p.drawLine(QPointF(centreX, base + (fromTop ? 6 : -6)),
               QPointF(centreX, tip + (fromTop ? -14 : 14)));
}

void pips(QPainter& p, const QRectF& face, int value, QColor colour) {
    const qreal w = face.width(), h = face.height();
    const qreal r = qMin(w, h) * 0.095;
    auto at = [&](qreal fx, qreal fy) {
        const QPointF c(face.left() + fx * w, face.top() + fy * h);
        QRadialGradient g(c - QPointF(r * 0.3, r * 0.3), r * 1.3);
        g.setColorAt(0, colour.lighter(160));
        g.setColorAt(1, colour);
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    };
    p.setPen(Qt::NoPen);
    const qreal a = 0.25, m = 0.5, b = 0.75;
    switch (value) {
    case 1:
        at(m, m);
        break;
    case 2:
        at(a, a);
        at(b, b);
        break;
    case 3:
        at(a, a);
        at(m, m);
        at(b, b);
        break;
    case 4:
        at(a, a);
        at(b, a);
        at(a, b);
        at(b, b);
        break;
    case 5:
        at(a, a);
        at(b, a);
        at(m, m);
        at(a, b);
        at(b, b);
        break;
    case 6:
        at(a, a);
        at(b, a);
        at(a, m);
        at(b, m);
        at(a, b);
        at(b, b);
        break;
    default:
        break;
    }
}

void dieBody(QPainter& p, const QRectF& r, bool used) {
    // Drop shadow, then the body with light from the upper left.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(r.translated(1.2, 1.5), r.width() * 0.2, r.width() * 0.2);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    if (used) {
        g.setColorAt(0, QColor(190, 190, 185));
        g.setColorAt(1, QColor(120, 120, 118));
    } else {
        g.setColorAt(0, QColor(255, 255, 252));
        g.setColorAt(1, QColor(214, 210, 198));
    }
    p.setBrush(g);
    p.setPen(QPen(used ? QColor(90, 90, 90) : QColor(120, 110, 95), 0.9));
    p.drawRoundedRect(r, r.width() * 0.2, r.width() * 0.2);
    p.setPen(QPen(QColor(255, 255, 255, used ? 60 : 160), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(1.2, 1.2, -1.2, -1.2), r.width() * 0.16, r.width() * 0.16);
}

} // namespace

QColor nameColour() {
    return QColor(255, 246, 220);
}
QColor pipsColour() {
    return QColor(236, 200, 120);
}

void usePrerendered(bool on) {
    g_usePrerendered = on;
}

QByteArray rawPixels(const QPixmap& picture) {
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int32_t size[2] = {image.width(), image.height()};
    QByteArray raw(reinterpret_cast<const char*>(size), sizeof size);
    for (int y = 0; y < image.height(); ++y)
        raw.append(reinterpret_cast<const char*>(image.constScanLine(y)),
                   qsizetype(image.width()) * 4);
    return raw;
}

QPixmap board(qreal dpr) {
    if (QPixmap pm; prerendered("board", kMainBoardWidth, kMainBoardHeight, dpr, pm)) return pm;
    return paint(kMainBoardWidth, kMainBoardHeight, dpr, [](QPainter& p) {
        const QRectF all(0, 0, kMainBoardWidth, kMainBoardHeight);
        woodRect(p, all, QColor(112, 64, 34), 7);
        // Bevel of the outer frame.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 220, 170, 90), 1.2));
        p.drawRoundedRect(all.adjusted(1, 1, -1, -1), 6, 6);
        p.setPen(QPen(QColor(30, 14, 6, 160), 1.2));
        p.drawRoundedRect(all.adjusted(3, 3, -3, -3), 5, 5);

        const QRectF left(kLeftFieldL, kFieldTop, kLeftFieldR - kLeftFieldL,
                          kFieldBottom - kFieldTop);
        const QRectF right(kRightFieldL, kFieldTop, kRightFieldR - kRightFieldL,
                           kFieldBottom - kFieldTop);
        felt(p, left, 11);
        felt(p, right, 23);
        for (int col = 1; col <= 12; ++col) {
            // Point `col` (top) and 25 - col (bottom) share a column; colours alternate along a
            // row and differ across it, so every point has a neighbour of the other colour.
            const qreal cx = bx(getleft(col) + kCheckerWidth / 2.0);
            point(p, cx, true, col % 2 == 0);
            point(p, cx, false, col % 2 == 1);
        }

        // The bar: a raised strip of darker wood with brass hinges.
        const QRectF bar(kLeftFieldR, 4, kRightFieldL - kLeftFieldR, kMainBoardHeight - 8);
        woodRect(p, bar, QColor(86, 46, 22), 31, true);
        QLinearGradient shade(bar.topLeft(), bar.topRight());
        shade.setColorAt(0, QColor(0, 0, 0, 110));
        shade.setColorAt(0.18, QColor(0, 0, 0, 0));
        shade.setColorAt(0.82, QColor(0, 0, 0, 0));
        shade.setColorAt(1, QColor(0, 0, 0, 110));
        p.fillRect(bar, shade);
        for (qreal hy : {kFieldTop + 40, kFieldBottom - 52}) {
            const QRectF hinge(bar.center().x() - 7, hy, 14, 12);
            QLinearGradient brass(hinge.topLeft(), hinge.bottomRight());
            brass.setColorAt(0, QColor(250, 220, 130));
            brass.setColorAt(1, QColor(150, 110, 40));
            p.setBrush(brass);
            p.setPen(QPen(QColor(90, 60, 20), 0.8));
            p.drawRoundedRect(hinge, 2, 2);
        }

        // The bear-off tray at the right, two compartments.
        const QRectF tray(kTrayL, kFieldTop, kTrayR - kTrayL, kFieldBottom - kFieldTop);
        const qreal mid = by(157);
        for (const QRectF& t :
             {QRectF(tray.left(), tray.top(), tray.width(), mid - tray.top()),
              QRectF(tray.left(), by(203), tray.width(), tray.bottom() - by(203))}) {
            QLinearGradient g(t.topLeft(), t.topRight());
            g.setColorAt(0, QColor(14, 40, 24));
            g.setColorAt(0.5, QColor(26, 70, 42));
            g.setColorAt(1, QColor(14, 40, 24));
            p.setBrush(g);
            p.setPen(QPen(QColor(20, 8, 2, 200), 1.2));
            p.drawRoundedRect(t, 4, 4);
            p.setPen(QPen(QColor(255, 220, 170, 60), 0.8));
            p.drawLine(t.bottomLeft() + QPointF(3, 0.5), t.bottomRight() + QPointF(-3, 0.5));
        }
        // A thin brass rim around each field.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(196, 160, 86), 1.4));
        p.drawRect(left.adjusted(-1, -1, 1, 1));
        p.drawRect(right.adjusted(-1, -1, 1, 1));
    });
}

QPixmap checker(int player, qreal dpr) {
    return paint(kCheckerWidth, kCheckerHeight, dpr, [player](QPainter& p) {
        const QRectF r(0.6, 0.5, kCheckerWidth - 1.6, kCheckerHeight - 1.4);
        const bool light = player == 1;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawEllipse(r.translated(0.6, 0.8));
        // Rim.
        QLinearGradient rim(r.topLeft(), r.bottomRight());
        rim.setColorAt(0, light ? QColor(255, 250, 236) : QColor(110, 110, 118));
        rim.setColorAt(1, light ? QColor(150, 128, 92) : QColor(10, 10, 12));
        p.setBrush(rim);
        p.setPen(QPen(light ? QColor(110, 88, 56) : QColor(0, 0, 0), 0.7));
        p.drawEllipse(r);
        // Face.
        const QRectF face = r.adjusted(2.3, 2.2, -2.3, -2.2);
        QRadialGradient g(face.center() - QPointF(2.5, 2.5), face.width() * 0.75);
        g.setColorAt(0, light ? QColor(255, 252, 242) : QColor(86, 86, 94));
        g.setColorAt(1, light ? QColor(222, 206, 172) : QColor(24, 24, 28));
        p.setBrush(g);
        p.setPen(QPen(light ? QColor(170, 146, 108) : QColor(0, 0, 0, 200), 0.6));
        p.drawEllipse(face);
        // A turned groove and a glint.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(light ? QColor(180, 156, 116, 160) : QColor(130, 130, 140, 120), 0.6));
        p.drawEllipse(face.adjusted(2.6, 2.5, -2.6, -2.5));
        p.setPen(QPen(QColor(255, 255, 255, light ? 200 : 110), 0.9));
        p.drawArc(r.adjusted(1.2, 1.2, -1.2, -1.2), 100 * 16, 70 * 16);
    });
}

QPixmap markedChecker(int player, qreal dpr) {
    QPixmap pix = checker(player, dpr);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    // A small dot in a colour that stands out on either face.
    p.setPen(QPen(QColor(60, 20, 0), 0.8));
    p.setBrush(QColor(240, 120, 30));
    p.drawEllipse(QPointF(kCheckerWidth / 2.0, kCheckerHeight / 2.0), 3.2, 3.2);
    return pix;
}

QPixmap dieFace(int value, qreal dpr) {
    const QByteArray stored = "die" + QByteArray::number(value);
    if (QPixmap pm; prerendered(stored.constData(), kDieSize, kDieSize, dpr, pm)) return pm;
    return paint(kDieSize, kDieSize, dpr, [value](QPainter& p) {
        const QRectF r(1, 1, kDieSize - 3.5, kDieSize - 3.5);
        const bool used = value == 0;
        dieBody(p, r, used);
        if (used) {
            p.setPen(QPen(QColor(70, 70, 70, 150), 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(r.topLeft() + QPointF(8, 8), r.bottomRight() - QPointF(8, 8));
            p.drawLine(r.topRight() + QPointF(-8, 8), r.bottomLeft() + QPointF(8, -8));
            return;
        }
        pips(p, r, value, QColor(20, 20, 24));
    });
}

QPixmap littleDie(int value, qreal dpr) {
    return paint(kLittleDieWidth, kLittleDieHeight, dpr, [value](QPainter& p) {
        const QRectF r(1, 0.8, kLittleDieWidth - 2.6, kLittleDieHeight - 2.4);
        // A glowing rim says "click here".
        p.setPen(QPen(QColor(255, 214, 60, 220), 1.6));
        p.setBrush(QColor(255, 250, 225));
        p.drawRoundedRect(r, 3.5, 3.5);
        pips(p, r, value, QColor(140, 20, 20));
    });
}

QPixmap homeDie(int player, int value, qreal dpr) {
    return paint(kHomeDieWidth, kHomeDieHeight, dpr, [player, value](QPainter& p) {
        const QRectF r(0.7, 0.7, kHomeDieWidth - 1.4, kHomeDieHeight - 1.4);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(255, 226, 110));
        g.setColorAt(1, QColor(214, 150, 30));
        p.setBrush(g);
        p.setPen(QPen(QColor(120, 70, 0), 0.9));
        p.drawRoundedRect(r, 4, 4);
        // Arrow towards this player's borne-off pile: down for player 1, up for player 2.
        const bool down = player == 1;
        QPainterPath arrow;
        const qreal cx = r.center().x();
        const qreal y0 = down ? 21 : 23, y1 = down ? 40 : 4;
        arrow.moveTo(cx, y1);
        arrow.lineTo(cx - 6, y1 + (down ? -8 : 8));
        arrow.lineTo(cx - 2.5, y1 + (down ? -8 : 8));
        arrow.lineTo(cx - 2.5, y0);
        arrow.lineTo(cx + 2.5, y0);
        arrow.lineTo(cx + 2.5, y1 + (down ? -8 : 8));
        arrow.lineTo(cx + 6, y1 + (down ? -8 : 8));
        arrow.closeSubpath();
        p.setBrush(QColor(110, 40, 0));
        p.setPen(Qt::NoPen);
        p.drawPath(arrow);
        const QRectF face(2.5, down ? 3 : 25, 14, 14);
        p.setBrush(QColor(255, 252, 240));
        p.setPen(QPen(QColor(110, 70, 10), 0.8));
        p.drawRoundedRect(face, 3, 3);
        pips(p, face, value, QColor(20, 20, 24));
    });
}

QPixmap cup(int frame, qreal dpr) {
    const QByteArray stored = "cup" + QByteArray::number(frame);
    if (QPixmap pm; prerendered(stored.constData(), kCupWidth, kCupHeight, dpr, pm)) return pm;
    return paint(kCupWidth, kCupHeight, dpr, [frame](QPainter& p) {
        static constexpr qreal tilt[kCupFrames] = {-14, -4, 8, -2};
        static constexpr qreal lift[kCupFrames] = {0, -3, -1, -4};
        p.translate(kCupWidth / 2.0, kCupHeight - 6 + lift[frame & 3]);
        p.rotate(tilt[frame & 3]);
        // Shadow on the table.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawEllipse(QPointF(2, 2), 22, 5);
        // Leather body, wider at the mouth.
        QPainterPath body;
        body.moveTo(-17, 0);
        body.lineTo(-23, -48);
        body.quadTo(0, -54, 23, -48);
        body.lineTo(17, 0);
        body.quadTo(0, 5, -17, 0);
        QLinearGradient g(-23, 0, 23, 0);
        g.setColorAt(0, QColor(70, 24, 10));
        g.setColorAt(0.35, QColor(150, 62, 26));
        g.setColorAt(0.6, QColor(120, 46, 18));
        g.setColorAt(1, QColor(50, 16, 6));
        p.setBrush(g);
        p.setPen(QPen(QColor(35, 10, 2), 1));
        p.drawPath(body);
        // Stitched bands and a brass mouth ring.
        p.setPen(QPen(QColor(230, 190, 120, 170), 0.9, Qt::DashLine));
        p.drawLine(QPointF(-20, -12), QPointF(20, -12));
        p.drawLine(QPointF(-22, -38), QPointF(22, -38));
        QLinearGradient brass(-23, -52, 23, -44);
        brass.setColorAt(0, QColor(255, 228, 140));
        brass.setColorAt(1, QColor(160, 112, 40));
        p.setPen(QPen(brass, 3));
        p.setBrush(QColor(25, 8, 2));
        p.drawEllipse(QPointF(0, -48), 23, 5);
        // Dice rattling at the mouth in some frames.
        if (frame == 1 || frame == 3) {
            p.setPen(QPen(QColor(90, 90, 90), 0.6));
            p.setBrush(QColor(250, 250, 245));
            p.drawRoundedRect(QRectF(-9, -55, 8, 8), 1.5, 1.5);
            p.drawRoundedRect(QRectF(3, -53, 7, 7), 1.5, 1.5);
        }
    });
}

QPixmap direction(int player, qreal dpr) {
    return paint(kDirectionWidth, kDirectionHeight, dpr, [player](QPainter& p) {
        const QRectF all(1, 1, kDirectionWidth - 2, kDirectionHeight - 2);
        p.setPen(QPen(QColor(240, 205, 120), 2));
        p.setBrush(QColor(12, 20, 14, 200));
        p.drawRoundedRect(all, 14, 14);
        // The path of this player's checkers as a U: player 1 goes along the top from right
        // to left and back along the bottom; player 2 the mirror image.
        const qreal l = 60, r = kDirectionWidth - 60, t = 40, b = kDirectionHeight - 40;
        QPainterPath path;
        if (player == 1) {
            path.moveTo(r, t);
            path.lineTo(l + 30, t);
            path.quadTo(l, t, l, t + 30);
            path.lineTo(l, b - 30);
            path.quadTo(l, b, l + 30, b);
            path.lineTo(r, b);
        } else {
            path.moveTo(r, b);
            path.lineTo(l + 30, b);
            path.quadTo(l, b, l, b - 30);
            path.lineTo(l, t + 30);
            path.quadTo(l, t, l + 30, t);
            path.lineTo(r, t);
        }
        const QColor colour = player == 1 ? QColor(245, 232, 200) : QColor(60, 60, 70);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0, 0, 0, 150), 13, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        p.setPen(QPen(QColor(240, 205, 120), 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        p.setPen(QPen(colour, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        // The arrow head at the bear-off end.
        const qreal ey = player == 1 ? b : t;
        QPainterPath head;
        head.moveTo(r + 22, ey);
        head.lineTo(r - 4, ey - 15);
        head.lineTo(r - 4, ey + 15);
        head.closeSubpath();
        p.setPen(QPen(QColor(240, 205, 120), 2));
        p.setBrush(colour);
        p.drawPath(head);
        // A checker of this player at the start of the path.
        const QPixmap c = checker(player, p.device()->devicePixelRatioF());
        const qreal sy = player == 1 ? t : b;
        p.drawPixmap(QPointF(r - 14, sy - 10), c);

        QFont big("DejaVu Sans", 17, QFont::Bold);
        p.setFont(big);
        p.setPen(QColor(255, 236, 190));
        p.drawText(QRectF(80, 54, kDirectionWidth - 160, 40), Qt::AlignCenter,
                   "This is your direction of play");
        QFont small("DejaVu Sans", 11);
        p.setFont(small);
        p.setPen(QColor(220, 230, 215));
        p.drawText(QRectF(80, 96, kDirectionWidth - 160, 40), Qt::AlignCenter,
                   "Click here when you are ready to roll for the first move");
    });
}

QPixmap turnBar(qreal dpr) {
    return paint(kTurnBarWidth, kTurnBarHeight, dpr, [](QPainter& p) {
        const QRectF r(0.5, 0.5, kTurnBarWidth - 1, kTurnBarHeight - 1);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(176, 52, 36, 240));
        g.setColorAt(0.5, QColor(132, 30, 22, 240));
        g.setColorAt(1, QColor(86, 14, 10, 240));
        p.setBrush(g);
        p.setPen(QPen(QColor(240, 200, 110), 1.2));
        p.drawRoundedRect(r, 9, 9);
        // A small arrow at the left end points at the name of the player to move.
        QPainterPath arrow;
        arrow.moveTo(4, kTurnBarHeight / 2.0 - 4);
        arrow.lineTo(9, kTurnBarHeight / 2.0);
        arrow.lineTo(4, kTurnBarHeight / 2.0 + 4);
        arrow.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 214, 110));
        p.drawPath(arrow);
    });
}

QPixmap winnerBanner(qreal dpr) {
    return paint(kWinnerWidth, kWinnerHeight, dpr, [](QPainter& p) {
        const QRectF r(1, 1, kWinnerWidth - 2, kWinnerHeight - 2);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(120, 18, 20));
        g.setColorAt(0.5, QColor(176, 32, 30));
        g.setColorAt(1, QColor(96, 10, 12));
        p.setBrush(g);
        p.setPen(QPen(QColor(250, 214, 110), 2.2));
        p.drawRoundedRect(r, 10, 10);
        p.setPen(QPen(QColor(250, 214, 110, 120), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(4, 4, -4, -4), 7, 7);
        // Laurel dots at both ends.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 214, 110));
        for (int i = 0; i < 3; ++i) {
            p.drawEllipse(QPointF(18 + i * 9, kWinnerHeight / 2.0), 3, 3);
            p.drawEllipse(QPointF(kWinnerWidth - 18 - i * 9, kWinnerHeight / 2.0), 3, 3);
        }
    });
}

QPixmap chooserPanel(qreal dpr) {
    if (QPixmap pm; prerendered("chooser", kChooseWidth, kChooseHeight, dpr, pm)) return pm;
    return paint(kChooseWidth, kChooseHeight, dpr, [](QPainter& p) {
        const QRectF r(1, 1, kChooseWidth - 2, kChooseHeight - 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRoundedRect(r.translated(2, 3), 10, 10);
        woodRect(p, r, QColor(92, 50, 24), 41);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(240, 205, 120), 2));
        p.drawRoundedRect(r, 10, 10);
    });
}

QPixmap eyes(qreal dpr) {
    return paint(26, 14, dpr, [](QPainter& p) {
        for (qreal cx : {6.5, 19.5}) {
            p.setPen(QPen(QColor(30, 30, 30), 0.9));
            p.setBrush(QColor(255, 255, 255));
            p.drawEllipse(QPointF(cx, 7), 5.8, 5.2);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 90, 160));
            p.drawEllipse(QPointF(cx + 1, 7.6), 2.8, 2.8);
            p.setBrush(Qt::black);
            p.drawEllipse(QPointF(cx + 1, 7.6), 1.3, 1.3);
        }
    });
}

QPixmap flag(qreal dpr) {
    return paint(16, 16, dpr, [](QPainter& p) {
        p.setPen(QPen(QColor(90, 60, 30), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 1.5), QPointF(3.5, 15));
        QPainterPath cloth;
        cloth.moveTo(4.3, 2);
        cloth.cubicTo(8, 0.5, 10, 4, 14.5, 2.5);
        cloth.lineTo(14.5, 9);
        cloth.cubicTo(10, 10.5, 8, 7, 4.3, 8.5);
        cloth.closeSubpath();
        p.setPen(QPen(QColor(120, 120, 120), 0.7));
        p.setBrush(QColor(252, 252, 250));
        p.drawPath(cloth);
    });
}

QPixmap speaker(qreal dpr) {
    // Light on the dark wood, like the phrase buttons' lettering beside it.
    const QColor light(240, 224, 192);
    return paint(16, 16, dpr, [&light](QPainter& p) {
        QPainterPath body;
        body.moveTo(1.5, 5.5);
        body.lineTo(4.5, 5.5);
        body.lineTo(8.5, 2);
        body.lineTo(8.5, 14);
        body.lineTo(4.5, 10.5);
        body.lineTo(1.5, 10.5);
        body.closeSubpath();
        p.setPen(QPen(QColor(60, 40, 20), 0.8));
        p.setBrush(light);
        p.drawPath(body);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(light, 1.3, Qt::SolidLine, Qt::RoundCap));
        for (qreal r : {3.0, 5.5}) // the sound waves
            p.drawArc(QRectF(8.5 - r, 8 - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    });
}

QPixmap webLink(qreal dpr) {
    return paint(140, 20, dpr, [](QPainter& p) {
        QFont f("DejaVu Sans", 8);
        f.setUnderline(true);
        p.setFont(f);
        p.setPen(QColor(236, 200, 120));
        p.drawText(QRectF(0, 0, 140, 20), Qt::AlignRight | Qt::AlignVCenter, "Visit us on the web");
    });
}

QPixmap backgroundTile(qreal dpr) {
    if (QPixmap pm; prerendered("tile", 128, 128, dpr, pm)) return pm;
    return paint(128, 128, dpr, [](QPainter& p) {
        woodRect(p, QRectF(0, 0, 128, 128), QColor(46, 30, 20), 99);
        p.fillRect(QRectF(0, 0, 128, 128), QColor(0, 0, 0, 60));
    });
}

} // namespace art
