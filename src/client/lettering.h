#pragma once
// Colour and font of the board's captions, set on the widget directly. A style sheet per
// caption would do the same at a high price: each one builds a style of its own for the
// widget, and the board has dozens of them to make before it can first show.

#include <QColor>
#include <QString>

class QWidget;

struct Lettering {
    QColor colour;
    int pixelSize = 12;
    bool bold = false;
    QString family = "DejaVu Sans";
    qreal letterSpacing = 0; // extra pixels between letters
};

// Sets the text colour (for labels and buttons alike) and the font.
void setLettering(QWidget* w, const Lettering& l);
// Only the colour, for captions that blink.
void setLetteringColour(QWidget* w, const QColor& colour);
