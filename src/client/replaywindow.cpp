#include "replaywindow.h"

#include "artwork.h"
#include "boardgeometry.h"
#include "notation.h"
#include "reviewwindow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace geo = bg::geo;
using bg::rec::Position;

namespace {

constexpr const char* kStartLine = "Start of the game";

QString colourName(int player) {
    return player == 1 ? "White checker" : "Black checker";
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QString& spoken) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(spoken);
    b->setToolTip(spoken);
    return b;
}

} // namespace

ReplayWindow::ReplayWindow(const bg::rec::GameRecord& record, const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window), m_record(record) {
    setObjectName("ReplayWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Backgammon - Replay - " + title);
    setAccessibleName("Replay of " + title);
    std::string error;
    m_positions = bg::rec::positionsOf(m_record, &error); // a file was checked when it was read

    auto* panel = new QWidget(this);
    panel->setObjectName("panel_replay_board");
    panel->setFixedSize(geo::kMainBoardLeft + geo::kMainBoardWidth + 2,
                        geo::kMainBoardTop + geo::kMainBoardHeight + 4);
    const qreal dpr = devicePixelRatioF();
    m_board = new QLabel(panel);
    m_board->setObjectName("image_replay_board");
    m_board->setAccessibleName("Board");
    m_board->setGeometry(geo::kMainBoardLeft, geo::kMainBoardTop, geo::kMainBoardWidth,
                         geo::kMainBoardHeight);
    m_board->setPixmap(art::board(dpr));
    for (int p = 1; p <= 2; ++p) {
        const QPixmap pix = art::checker(p, dpr);
        for (int id = 1; id <= bg::kPieces; ++id) {
            auto* c = new QLabel(panel);
            c->setObjectName(QString("replay_piece_%1%2").arg(p).arg(id));
            c->setPixmap(pix);
            c->resize(geo::kCheckerWidth, geo::kCheckerHeight);
            m_checkers[p][id] = c;
        }
    }

    m_list = new QListWidget(this);
    m_list->setObjectName("list_replay_moves");
    m_list->setAccessibleName("Move List");
    m_list->setMinimumWidth(280);
    // Row n is the position after turn n, so the first row stands for the first position (a
    // list given the focus makes its first row current by itself); the result comes last.
    std::vector<std::string> lines = bg::rec::moveList(m_record);
    if (!m_record.joinedMidGame) lines.insert(lines.begin(), kStartLine);
    for (const std::string& l : lines)
        m_list->addItem(QString::fromStdString(l));
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && std::min(row, steps()) != m_step) goTo(row);
    });

    m_where = new QLabel(this);
    m_where->setObjectName("label_replay_step");
    m_first = button(this, "button_replay_first", "|<", "First position");
    m_back = button(this, "button_replay_back", "<", "Back one play");
    m_forward = button(this, "button_replay_forward", ">", "Forward one play");
    m_last = button(this, "button_replay_last", ">|", "Last position");
    connect(m_first, &QPushButton::clicked, this, [this] { goTo(0); });
    connect(m_back, &QPushButton::clicked, this, [this] { goTo(m_step - 1); });
    connect(m_forward, &QPushButton::clicked, this, [this] { goTo(m_step + 1); });
    connect(m_last, &QPushButton::clicked, this, [this] { goTo(steps()); });

    m_analyse = button(this, "button_replay_analyse", "Analyse", "Analyse the game");
    // Queued: the review window opens from the event loop, so a screen reader's press returns.
    connect(
        m_analyse, &QPushButton::clicked, this,
        [this, title] {
            auto* review = new ReviewWindow(m_record, title, this);
            review->show();
            review->raise();
            review->activateWindow();
        },
        Qt::QueuedConnection);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_first, m_back, m_forward, m_last, m_analyse}) {
        buttons->addWidget(b);
        b->installEventFilter(this);
    }
    m_list->installEventFilter(this);
    buttons->addWidget(m_where, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(panel);
    left->addLayout(buttons);
    left->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(m_list, 1);
    showStep();
}

void ReplayWindow::goTo(int step) {
    m_step = std::clamp(step, 0, steps());
    showStep();
}

bool ReplayWindow::stepKey(int key) {
    switch (key) {
    case Qt::Key_Left:
        goTo(m_step - 1);
        return true;
    case Qt::Key_Right:
        goTo(m_step + 1);
        return true;
    case Qt::Key_Home:
        goTo(0);
        return true;
    case Qt::Key_End:
        goTo(steps());
        return true;
    default:
        return false;
    }
}

bool ReplayWindow::eventFilter(QObject* watched, QEvent* event) {
    // The list and the buttons would take these keys for themselves.
    if (event->type() == QEvent::KeyPress && stepKey(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QWidget::eventFilter(watched, event);
}

void ReplayWindow::keyPressEvent(QKeyEvent* e) {
    if (!stepKey(e->key())) QWidget::keyPressEvent(e);
}

void ReplayWindow::showStep() {
    const Position& pos = shown();
    for (int p = 1; p <= 2; ++p) {
        const bg::rec::SideCount& c = pos.side[p];
        int id = 0;
        auto place = [&](int left, int top, int level, const QString& where) {
            if (++id > bg::kPieces) return;
            QLabel* w = m_checkers[p][id];
            w->move(left, top);
            w->setAccessibleName(colourName(p) + " " + where);
            w->setProperty("layer", level);
            w->show();
        };
        for (int point = 1; point <= bg::kLastPoint; ++point)
            for (int level = 1; level <= c.point[point]; ++level)
                place(geo::getleft(point), geo::gettop(point, level), level,
                      QString("on point %1").arg(point));
        for (int level = 1; level <= c.bar; ++level)
            place(geo::kBarLeft, geo::barTop(p, level), level, "on the bar");
        for (int level = 1; level <= c.pile; ++level)
            place(geo::kPileLeft, geo::startPileTop(p, level), level, "waiting to enter");
        for (int level = 1; level <= c.off; ++level)
            place(geo::kPileLeft, geo::bearOffPileTop(p, level), level, "borne off");
        for (++id; id <= bg::kPieces; ++id)
            m_checkers[p][id]->hide();
    }
    // Higher levels in front, as on the main board.
    for (int level = 1; level <= bg::kLevels; ++level)
        for (int p = 1; p <= 2; ++p)
            for (int id = 1; id <= bg::kPieces; ++id)
                if (m_checkers[p][id]->property("layer").toInt() == level)
                    m_checkers[p][id]->raise();

    QString where;
    if (m_step == 0)
        where = m_record.joinedMidGame ? "The board when the record began" : "The first position";
    else
        where = QString("After turn %1 of %2").arg(m_step).arg(steps());
    m_where->setText(where);
    m_where->setAccessibleName(where);
    m_first->setEnabled(m_step > 0);
    m_back->setEnabled(m_step > 0);
    m_forward->setEnabled(m_step < steps());
    m_last->setEnabled(m_step < steps());
    {
        const QSignalBlocker quiet(m_list);
        m_list->setCurrentRow(m_step);
    }
    m_list->scrollToItem(m_list->item(m_step));
    // At the last position the result line comes into view too.
    if (m_step == steps() && m_list->count()) m_list->scrollToBottom();
}
