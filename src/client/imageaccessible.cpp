#include "imageaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace {

// A picture with a spoken name acts as a button; an unnamed one (the board itself, a frame of
// the cup animation's background) stays a picture.
class ImageAccessible : public QAccessibleWidget {
  public:
    explicit ImageAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Graphic) {}

    QAccessible::Role role() const override {
        return widget()->accessibleName().isEmpty() ? QAccessible::Graphic : QAccessible::Button;
    }

    QStringList actionNames() const override {
        if (role() != QAccessible::Button) return QAccessibleWidget::actionNames();
        return {pressAction()};
    }

    // The press goes through the same mouse path as a real click, so the window cannot tell
    // the two apart.
    void doAction(const QString& name) override {
        if (name != pressAction() || !widget()->isEnabled() || !widget()->isVisible()) return;
        const QPointF local(widget()->width() / 2.0, widget()->height() / 2.0);
        const QPointF global = widget()->mapToGlobal(local);
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(widget(), &release);
    }
};

} // namespace

QAccessibleInterface* imageAccessibleFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("ImageControl") || !object || !object->isWidgetType())
        return nullptr;
    return new ImageAccessible(static_cast<QWidget*>(object));
}

void installImageAccessibility() {
    QAccessible::installFactory(imageAccessibleFactory);
}
