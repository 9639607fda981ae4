#include "thelp.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
struct Topic {
    int tag;
    const char* caption;
    const char* text;
};
const Topic kTopics[] = {
    {1, "Overview",
     "Backgammon for two players, with a chat room around the board. "
     "The game also includes the Acey-Deucey variant."},
    {2, "Connecting",
     "Started on its own the program hosts a solo game against the bot. "
     "Multi-player games are arranged through the lobby; the hosting player "
     "listens on TCP port 7772, which the firewall must allow."},
    {3, "Game Play",
     "Click the dice cup to throw, click a checker and then one of the small "
     "dice to move it. A plain move may be undone; the flag concedes the game."},
    {4, "Acey Deucy",
     "All checkers start off the board and enter by the dice. After a 1-2 you "
     "choose a double and throw again."},
    {5, "Documentation", "Version 1.0.4."},
    {6, "License", "This program is provided as is, without warranty of any kind."},
    {11, "The Lobby", "The lobby finds opponents and starts this program for each game."},
};
} // namespace

Thelp::Thelp(QWidget* parent) : QDialog(parent) {
    setObjectName("Thelp");
    setWindowTitle("Backgammon - Help File");
    auto* row = new QHBoxLayout(this);
    auto* side = new QWidget(this);
    side->setFixedWidth(137);
    auto* buttons = new QVBoxLayout(side);
    auto* main = new QVBoxLayout;
    m_caption = new QLabel(this);
    m_caption->setObjectName("label_caption");
    m_caption->setStyleSheet("font: bold 14px;");
    main->addWidget(m_caption);
    m_pages = new QStackedWidget(this);
    main->addWidget(m_pages);
    for (const Topic& t : kTopics) {
        auto* b = new QPushButton(t.caption, side);
        b->setObjectName(QString("SelButton%1").arg(t.tag));
        b->setProperty("tag", t.tag);
        buttons->addWidget(b);
        auto* page = new QTextBrowser(this);
        page->setObjectName(QString("memo%1").arg(t.tag));
        page->setPlainText(t.text);
        m_pages->addWidget(page);
        connect(b, &QPushButton::clicked, this, [this, t] { showTopic(t.tag, t.caption); });
    }
    buttons->addStretch();
    auto* about = new QPushButton("About", side);
    about->setObjectName("button_about");
    connect(about, &QPushButton::clicked, this, &Thelp::aboutRequested);
    buttons->addWidget(about);
    auto* done = new QPushButton("Done", side);
    done->setObjectName("button_done");
    connect(done, &QPushButton::clicked, this, &QWidget::hide);
    buttons->addWidget(done);
    row->addWidget(side);
    row->addLayout(main);
    resize(560, 380);
    showTopic(1, "Overview");
}

void Thelp::showTopic(int tag, const QString& caption) {
    if (auto* page = findChild<QWidget*>(QString("memo%1").arg(tag)))
        m_pages->setCurrentWidget(page);
    m_caption->setText(caption);
}
