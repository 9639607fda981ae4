#include "lastplayoutline.h"

#include "board.h"
#include "boardgeometry.h"

#include <QPainter>

namespace geo = bg::geo;

LastPlayOutline::LastPlayOutline(QWidget* parent) : QWidget(parent) {
    setObjectName("image_lastplay");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(0, 0, geo::kPanelWidth, geo::kPanelHeight);
    hide();
}

void LastPlayOutline::setPoints(std::vector<int> points) {
    if (points == m_points) return;
    m_points = std::move(points);
    setVisible(!m_points.empty());
    update();
}

void LastPlayOutline::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 236, 170, 150), 1.6, Qt::DashLine));
    p.setBrush(QColor(255, 236, 170, 28));
    const int rowHeight = geo::kLevelStep * (geo::kLevelsPerRow - 1) + geo::kCheckerHeight;
    for (int point : m_points) {
        if (!bg::isBoardPoint(point)) continue;
        const int top =
            point <= 12 ? geo::gettop(point, 1) : geo::gettop(point, geo::kLevelsPerRow);
        p.drawRoundedRect(
            QRectF(geo::getleft(point) - 1.5, top - 1.5, geo::kCheckerWidth + 3, rowHeight + 3), 5,
            5);
    }
}
