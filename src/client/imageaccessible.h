#pragma once
// The board's pictures (checkers, targets, dice, cup, direction arrows, doubles) are plain
// labels that react to the mouse. A screen reader sees a label as a picture it cannot act on;
// this makes every named one a button with a press action, so a blind player (and any tool
// that drives the desktop's accessibility bus) can play with the same clicks as the mouse.
//
// installImageAccessibility() is called once, before the first window is shown.

class QAccessibleInterface;
class QObject;
class QString;

void installImageAccessibility();
QAccessibleInterface* imageAccessibleFactory(const QString& className, QObject* object);
