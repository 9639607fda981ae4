#include "tiledbackground.h"

#include <QPalette>
#include <QPixmap>
#include <QWidget>

void setTiledBackground(QWidget& window, const QPixmap& tile) {
    QPalette palette = window.palette();
    palette.setBrush(QPalette::Window, QBrush(tile));
    palette.setColor(QPalette::WindowText, QColor(245, 230, 200));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
}
