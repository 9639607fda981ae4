#include "lettering.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

void setLetteringColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        p.setColor(role, colour);
    w->setPalette(p);
}

void setLettering(QWidget* w, const Lettering& l) {
    QFont f(l.family);
    f.setPixelSize(l.pixelSize);
    f.setBold(l.bold);
    if (l.letterSpacing != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, l.letterSpacing);
    w->setFont(f);
    setLetteringColour(w, l.colour);
}
