#include "appstyle.h"

#include <QPainter>
#include <QPixmap>

namespace {

QIcon chevron(bool horizontal) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (!horizontal) {
        p.translate(16, 0);
        p.rotate(90);
    }
    for (qreal x : {4.5, 9.0})
        p.drawPolyline(QPolygonF({QPointF(x, 4.5), QPointF(x + 3.5, 8), QPointF(x, 11.5)}));
    p.end();
    return QIcon(pm);
}

} // namespace

QIcon AppStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                             const QWidget* widget) const {
    if (which == SP_ToolBarHorizontalExtensionButton) return chevron(true);
    if (which == SP_ToolBarVerticalExtensionButton) return chevron(false);
    return QProxyStyle::standardIcon(which, option, widget);
}
