#include "playmarks.h"

#include "artwork.h"
#include "boardgeometry.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace geo = bg::geo;
using bg::rec::Origin;

namespace {

// A bear-off may use a die higher than the distance: the lowest such die of the throw.
int bearOffDie(const bg::rec::Turn& turn, std::size_t step, int distance) {
    const bool afterDouble = turn.chosenDouble && step >= turn.stepsBeforeDouble;
    if (afterDouble) return turn.chosenDouble;
    int best = 0;
    for (int d : {turn.die1, turn.die2})
        if (d >= distance && (best == 0 || d < best)) best = d;
    return best ? best : distance;
}

} // namespace

std::vector<PlayMark> playMarks(const bg::rec::Position& before, const bg::rec::Turn& turn) {
    std::vector<PlayMark> marks;
    if (!bg::isPlayer(turn.mover)) return marks;
    bg::rec::Position at = before;
    const int p = turn.mover;
    bg::rec::SideCount& mine = at.side[static_cast<std::size_t>(p)];
    bg::rec::SideCount& theirs = at.side[static_cast<std::size_t>(bg::opponentOf(p))];
    for (std::size_t i = 0; i < turn.steps.size(); ++i) {
        const bg::rec::Step& s = turn.steps[i];
        PlayMark m;
        m.order = static_cast<int>(i) + 1;
        int start = bg::pilePoint(p);
        switch (s.origin) {
        case Origin::Bar:
            m.from = {geo::kBarLeft, geo::barTop(p, std::max(mine.bar, 1))};
            mine.bar = std::max(mine.bar - 1, 0);
            break;
        case Origin::Pile:
            m.from = {geo::kPileLeft, geo::startPileTop(p, std::max(mine.pile, 1))};
            mine.pile = std::max(mine.pile - 1, 0);
            break;
        case Origin::Point:
            if (!bg::isBoardPoint(s.from)) continue;
            start = s.from;
            m.from = {geo::getleft(s.from),
                      geo::gettop(s.from, std::clamp(mine.point[s.from], 1, bg::kLevels))};
            mine.point[s.from] = std::max(mine.point[s.from] - 1, 0);
            break;
        }
        if (s.to == bg::rec::kOff) {
            ++mine.off;
            m.to = {geo::kPileLeft, geo::bearOffPileTop(p, std::min(mine.off, bg::kPieces))};
            m.die = bearOffDie(turn, i, bg::homeDistance(p, start));
        } else if (bg::isBoardPoint(s.to)) {
            if (s.hit && theirs.point[s.to] > 0) {
                --theirs.point[s.to];
                ++theirs.bar;
            }
            ++mine.point[s.to];
            m.to = {geo::getleft(s.to),
                    geo::gettop(s.to, std::clamp(mine.point[s.to], 1, bg::kLevels))};
            m.die = std::abs(s.to - start);
        } else {
            continue;
        }
        marks.push_back(m);
    }
    return marks;
}

void paintPlayMarks(QPainter& p, const std::vector<PlayMark>& marks, const QColor& colour,
                    bool withDice, qreal dpr) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(geo::kCheckerWidth / 2.0, geo::kCheckerHeight / 2.0);
    QFont font("DejaVu Sans");
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    for (const PlayMark& m : marks) {
        const QPointF a = QPointF(m.from) + centre;
        const QPointF b = QPointF(m.to) + centre;
        p.setPen(QPen(colour, 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(a, geo::kCheckerWidth / 2.0 + 1.5, geo::kCheckerHeight / 2.0 + 1.5);
        // An arrow from the checker to its place, ending short of the target.
        const QLineF line(a, b);
        if (line.length() > geo::kCheckerWidth) {
            QLineF shaft(a, b);
            shaft.setLength(line.length() - geo::kCheckerWidth / 2.0);
            shaft.setP1(shaft.pointAt(geo::kCheckerWidth / 2.0 / shaft.length()));
            QPen pen(colour, 1.8, Qt::DashLine);
            p.setPen(pen);
            p.drawLine(shaft);
            const double angle = std::atan2(shaft.dy(), shaft.dx());
            const QPointF tip = shaft.p2();
            QPainterPath head;
            head.moveTo(tip);
            head.lineTo(tip - QPointF(std::cos(angle - 0.45), std::sin(angle - 0.45)) * 8);
            head.lineTo(tip - QPointF(std::cos(angle + 0.45), std::sin(angle + 0.45)) * 8);
            head.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawPath(head);
        }
        const QRectF target(m.to, QSizeF(geo::kCheckerWidth, geo::kCheckerHeight));
        if (withDice && bg::isDieValue(m.die)) {
            const QPixmap face = art::littleDie(m.die, dpr);
            p.drawPixmap(QPointF(m.to.x() + 1, m.to.y() + 1), face);
        } else {
            p.setPen(QPen(colour, 2.2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(target.center(), geo::kCheckerWidth / 2.0 - 1, geo::kCheckerHeight / 2.0 - 1);
        }
        // The step's number beside its target.
        const QRectF badge(m.to.x() + geo::kCheckerWidth - 4, m.to.y() - 6, 12, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(badge);
        p.setPen(Qt::black);
        p.drawText(badge, Qt::AlignCenter, QString::number(m.order));
    }
    p.restore();
}

BoardPictures::BoardPictures(qreal dpr)
    : board(art::board(dpr)), checker{QPixmap(), art::checker(1, dpr), art::checker(2, dpr)} {}

void paintPosition(QPainter& p, const bg::rec::Position& pos, const BoardPictures& pictures) {
    p.drawPixmap(geo::kMainBoardLeft, geo::kMainBoardTop, pictures.board);
    for (int player = 1; player <= 2; ++player) {
        const QPixmap& pix = pictures.checker[static_cast<std::size_t>(player)];
        const bg::rec::SideCount& c = pos.side[static_cast<std::size_t>(player)];
        for (int point = 1; point <= bg::kLastPoint; ++point)
            for (int level = 1; level <= std::min(c.point[point], bg::kLevels); ++level)
                p.drawPixmap(geo::getleft(point), geo::gettop(point, level), pix);
        for (int level = 1; level <= c.bar; ++level)
            p.drawPixmap(geo::kBarLeft, geo::barTop(player, level), pix);
        for (int level = 1; level <= c.pile; ++level)
            p.drawPixmap(geo::kPileLeft, geo::startPileTop(player, level), pix);
        for (int level = 1; level <= c.off; ++level)
            p.drawPixmap(geo::kPileLeft, geo::bearOffPileTop(player, level), pix);
    }
}
