#include "playmarksoverlay.h"

#include "boardgeometry.h"

#include <QPainter>

PlayMarksOverlay::PlayMarksOverlay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(0, 0, bg::geo::kPanelWidth, bg::geo::kPanelHeight);
    hide();
}

void PlayMarksOverlay::setMarks(std::vector<PlayMark> marks) {
    m_marks = std::move(marks);
    setVisible(!m_marks.empty());
    raise();
    update();
}

void PlayMarksOverlay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintPlayMarks(p, m_marks, QColor(120, 230, 255), true, devicePixelRatioF());
}
