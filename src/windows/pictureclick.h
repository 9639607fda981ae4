#pragma once
// A picture that acts as a button acts on a click: the left button, released over the picture.
// Another button, or a release after the pointer left the picture, is not a click.

#include <QMouseEvent>
#include <QWidget>

inline bool isPictureClick(const QWidget& picture, const QMouseEvent& release) {
    return release.button() == Qt::LeftButton &&
           picture.rect().contains(release.position().toPoint());
}
