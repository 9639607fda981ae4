// The board's clicks and what a screen reader says about the board.
//
// Each control passes its click to PlayerInput (the client core), which decides whether it
// counts and what to send; the window then shows the state again. Every clickable picture is a
// button to the accessibility bus, with a press action, and every checker, target and die
// carries a name that follows the position, so a blind player can find and play every move.

#include "artwork.h"
#include "boardnames.h"
#include "qcolortext.h"
#include "tchat.h"
#include "windows/tabout.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPushButton>

namespace {

// A clickable board picture as the accessibility bus sees it: a button that can be pressed.
class ImageControlAccessible : public QAccessibleWidget {
  public:
    explicit ImageControlAccessible(ImageControl* w)
        : QAccessibleWidget(w, w->isClickable() ? QAccessible::Button : QAccessible::Graphic) {}
    QStringList actionNames() const override {
        if (!control()->isClickable()) return {};
        return {pressAction()};
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && control()->isClickable() && control()->isVisible())
            control()->click();
    }

  private:
    ImageControl* control() const { return static_cast<ImageControl*>(widget()); }
};

QAccessibleInterface* imageControlFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("ImageControl") || !object || !object->isWidgetType())
        return nullptr;
    return new ImageControlAccessible(static_cast<ImageControl*>(object));
}

void name(QWidget* w, const QString& text) {
    if (w->accessibleName() != text) w->setAccessibleName(text);
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

void ImageControl::click() {
    emit pressed(Qt::LeftButton);
    emit released(Qt::LeftButton);
    emit clicked();
}

void Tchat::connectBoardInput() {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(imageControlFactory);
        return true;
    }();
    (void)factoryInstalled;

    auto onClick = [this](ImageControl* c, auto action) {
        c->setClickable(true);
        connect(c, &ImageControl::clicked, this, [this, action] {
            action();
            syncView();
        });
    };
    for (int p = 1; p <= 2; ++p)
        for (int id = 1; id <= bg::kPieces; ++id) {
            ImageControl* c = m_pieces[p][id];
            c->setClickable(true);
            // A checker answers the press itself, with any button.
            connect(c, &ImageControl::pressed, this, [this, p, id](Qt::MouseButton) {
                m_input.selectChecker(p, id);
                syncView();
            });
        }
    for (int i = 1; i <= 2; ++i) {
        onClick(m_moveit[i], [this, i] { m_input.moveClick(i); });
        for (int p = 1; p <= 2; ++p)
            onClick(m_home[p][i], [this, p, i] { m_input.bearOffClick(p, i); });
    }
    // The cup answers the mouse-up itself, with any button, wherever it is let go.
    m_cup->setClickable(true);
    connect(m_cup, &ImageControl::released, this, [this](Qt::MouseButton) {
        m_input.cupClick();
        syncView();
    });
    for (int p = 1; p <= 2; ++p) {
        onClick(m_direction[p], [this, p] { m_input.directionClick(p); });
        connect(m_concede[p], &QPushButton::clicked, this, [this, p] {
            m_input.concedeClick(p);
            syncView();
        });
    }
    for (int v = 1; v <= 6; ++v)
        onClick(m_choose[v], [this, v] { m_input.chooseClick(v); });
    connect(m_undo, &QPushButton::clicked, this, [this] {
        m_input.undoClick();
        syncView();
    });
    connect(m_start, &QPushButton::clicked, this, &Tchat::button_startClick);
    onClick(m_image3, [this] { Image3Click(); });

    name(m_cup, bg::kCupName);
    for (int p = 1; p <= 2; ++p) {
        name(m_direction[p], bg::kDirectionName);
        name(m_concede[p], bg::kConcedeName);
    }
    for (int v = 1; v <= 6; ++v)
        name(m_choose[v], qs(bg::doubleChoiceName(v)));
    name(m_undo, "Undo the last move");
    name(m_start, "Start Game");
    name(m_image3, "Visit the web site");
}

void Tchat::Image3Click() {
    // The about window's link knows the vendor's address and how to open it.
    if (m_windows.about) QMetaObject::invokeMethod(m_windows.about.get(), "Label7Click");
}

void Tchat::syncAccessibleNames() {
    const bg::ClientView& v = m_state.view();
    for (int p = 1; p <= 2; ++p)
        for (int id = 1; id <= bg::kPieces; ++id)
            name(m_pieces[p][id], qs(bg::checkerName(m_state, p, id)));
    for (int i = 1; i <= 2; ++i) {
        name(m_moveit[i], qs(bg::moveTargetName(v.moveTargets[i].value)));
        for (int p = 1; p <= 2; ++p)
            name(m_home[p][i], qs(bg::bearOffName(v.homeTargets[p][i].value)));
    }
    name(m_dice1, qs(bg::dieName(v.dice1.value)));
    name(m_dice2, qs(bg::dieName(v.dice2.value)));
    name(m_double1, qs(bg::dieName(v.double1.value)));
    name(m_double2, qs(bg::dieName(v.double2.value)));
}

void Tchat::syncTargetFaces() {
    // A move target shows the small face of its die, a bear-off target its player's home die.
    const qreal dpr = devicePixelRatioF();
    const std::array<int, 3> dice{0, m_state.dice().die1, m_state.dice().die2};
    for (int i = 1; i <= 2; ++i) {
        if (dice[i] >= 1 && dice[i] <= 6 && m_shownMoveFace[i] != dice[i]) {
            m_shownMoveFace[i] = dice[i];
            m_moveit[i]->setPixmap(art::littleDie(dice[i], dpr));
        }
        for (int p = 1; p <= 2; ++p) {
            const int value = m_state.view().homeTargets[p][i].value;
            if (value >= 1 && value <= 6 && m_shownHomeFace[p][i] != value) {
                m_shownHomeFace[p][i] = value;
                m_home[p][i]->setPixmap(art::homeDie(p, value, dpr));
            }
        }
    }
}
