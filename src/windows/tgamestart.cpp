#include "tgamestart.h"

#include "pictureclick.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>

namespace {
constexpr int kMinSeconds = 45;
constexpr int kMaxSeconds = 1000;
constexpr int kStepSeconds = 5;
constexpr int kDefaultSeconds = 120;

QPixmap box(bool ticked) {
    QPixmap pm(32, 19);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 40, 20), 1.2));
    p.setBrush(QColor(250, 244, 228));
    p.drawRoundedRect(QRectF(8.5, 1.5, 16, 16), 3, 3);
    if (ticked) {
        p.setPen(QPen(QColor(20, 110, 40), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(11.5, 9.5), QPointF(15.5, 14), QPointF(22, 4.5)}));
    }
    return pm;
}
} // namespace

Tgamestart::Tgamestart(QWidget* parent) : QDialog(parent) {
    setObjectName("Tgamestart");
    setWindowTitle("Backgammon - Game Start");
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize); // a fixed dialog
    auto* title = new QLabel("Game Options", this);
    title->setStyleSheet("font: bold 14px;");
    grid->addWidget(title, 0, 0, 1, 3);
    grid->addWidget(new QLabel("Time Per Turn:", this), 1, 0);
    m_edit = new QLineEdit(QString::number(kDefaultSeconds), this);
    m_edit->setObjectName("edit_creationtime");
    m_edit->setReadOnly(true);
    m_edit->setMaximumWidth(60);
    m_edit->setAccessibleName("Time per turn in seconds");
    grid->addWidget(m_edit, 1, 1);
    m_updown = new QSpinBox(this);
    m_updown->setObjectName("UpDown2");
    m_updown->setRange(kMinSeconds, kMaxSeconds);
    m_updown->setSingleStep(kStepSeconds);
    m_updown->setValue(kDefaultSeconds);
    m_updown->setWrapping(false);
    m_updown->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    m_updown->setMaximumWidth(20);
    m_updown->setAccessibleName("Time per turn");
    // Plain digits: "1000", never "1,000", which the host would not read as a number.
    m_updown->setGroupSeparatorShown(false);
    connect(m_updown, &QSpinBox::valueChanged, this,
            [this](int v) { m_edit->setText(QString::number(v)); });
    grid->addWidget(m_updown, 1, 2);
    grid->addWidget(new QLabel("secs", this), 1, 3);
    m_acey = new QLabel(this);
    m_acey->setObjectName("image_acey");
    m_acey->setFixedSize(32, 19);
    m_acey->installEventFilter(this);
    m_acey->setAccessibleName("Acey Duecy");
    grid->addWidget(m_acey, 2, 0);
    grid->addWidget(new QLabel("Acey Duecy", this), 2, 1, 1, 3);
    auto* start = new QPushButton("Start", this);
    start->setObjectName("button_start");
    start->setAccessibleName("Start the game");
    connect(start, &QPushButton::clicked, this, &Tgamestart::button_startClick);
    grid->addWidget(start, 3, 0, 1, 4);
    changebox(1);
}

void Tgamestart::changebox(int value) {
    m_aceyTag = value ? 1 : 0;
    m_acey->setPixmap(box(m_aceyTag == 1));
}

void Tgamestart::setTimePerTurn(int seconds) {
    m_updown->setValue(seconds); // the up-down clamps it to its range
}

int Tgamestart::timePerTurn() const {
    return m_updown->value();
}

QString Tgamestart::seconds() const {
    return m_edit->text();
}

bool Tgamestart::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_acey && event->type() == QEvent::MouseButtonRelease &&
        isPictureClick(*m_acey, *static_cast<QMouseEvent*>(event)))
        changebox(1 - m_aceyTag);
    return QDialog::eventFilter(watched, event);
}

void Tgamestart::button_startClick() {
    emit startRequested(seconds(), QString::number(m_aceyTag));
    hide();
}
