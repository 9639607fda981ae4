#include "winningchancesplot.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const QColor kPlayer1Colour(235, 222, 190); // the light checkers
const QColor kPlayer2Colour(150, 40, 30);   // the dark ones, drawn in their wood's red
constexpr int kMargin = 26;

} // namespace

WinningChancesPlot::WinningChancesPlot(QWidget* parent) : QWidget(parent) {
    setObjectName("plot_review");
    setAccessibleName("Winning chances, turn by turn");
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(120);
}

void WinningChancesPlot::setChances(std::vector<double> player1) {
    m_chances = std::move(player1);
    update();
}

void WinningChancesPlot::setSelected(int index) {
    m_selected = index;
    update();
}

QRectF WinningChancesPlot::plotArea() const {
    return QRectF(kMargin + 8, 8, width() - kMargin - 16, height() - 24);
}

QPointF WinningChancesPlot::pointOf(int index, int player) const {
    const QRectF r = plotArea();
    const int n = std::max(count() - 1, 1);
    const double p1 = m_chances[static_cast<std::size_t>(index)];
    const double v = player == 1 ? p1 : 100 - p1;
    return {r.left() + r.width() * index / n, r.bottom() - r.height() * v / 100};
}

int WinningChancesPlot::indexAt(int x) const {
    if (m_chances.empty()) return -1;
    const QRectF r = plotArea();
    const int n = std::max(count() - 1, 1);
    const int i = static_cast<int>(std::lround((x - r.left()) / r.width() * n));
    return std::clamp(i, 0, count() - 1);
}

void WinningChancesPlot::mousePressEvent(QMouseEvent* e) {
    const int i = indexAt(static_cast<int>(e->position().x()));
    if (i >= 0) emit turnClicked(i);
}

void WinningChancesPlot::keyPressEvent(QKeyEvent* e) {
    const int step = e->key() == Qt::Key_Left ? -1 : e->key() == Qt::Key_Right ? 1 : 0;
    if (step && count()) {
        emit turnClicked(std::clamp(m_selected + step, 0, count() - 1));
        return;
    }
    QWidget::keyPressEvent(e);
}

void WinningChancesPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(38, 60, 40));
    const QRectF r = plotArea();
    QFont font("DejaVu Sans");
    font.setPixelSize(9);
    p.setFont(font);
    for (int v : {0, 50, 100}) {
        const double y = r.bottom() - r.height() * v / 100;
        p.setPen(QPen(QColor(255, 255, 255, v == 50 ? 110 : 50), 1, Qt::DashLine));
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
        p.setPen(QColor(230, 230, 210));
        p.drawText(QRectF(0, y - 6, kMargin + 4, 12), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(v) + "%");
    }
    if (m_chances.empty()) return;
    if (m_selected >= 0 && m_selected < count()) {
        const double x = pointOf(m_selected, 1).x();
        p.setPen(QPen(QColor(255, 230, 120, 160), 1.5));
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    }
    for (int player = 1; player <= 2; ++player) {
        const QColor colour = player == 1 ? kPlayer1Colour : kPlayer2Colour;
        QPainterPath line;
        for (int i = 0; i < count(); ++i)
            i == 0 ? line.moveTo(pointOf(i, player)) : line.lineTo(pointOf(i, player));
        p.setPen(QPen(colour, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
        p.setBrush(colour);
        for (int i = 0; i < count(); ++i)
            p.drawEllipse(pointOf(i, player), i == m_selected ? 4.0 : 2.2,
                          i == m_selected ? 4.0 : 2.2);
    }
}
