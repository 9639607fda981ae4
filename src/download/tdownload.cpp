#include "tdownload.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

Tdownload::Tdownload(QWidget* parent) : QDialog(parent) {
    setObjectName("Tdownload");
    setWindowTitle("Download The Veskor Lobby");
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    auto* grid = new QGridLayout(this);
    auto* pitch = new QLabel("Download The Veskor Lobby Now to play this  and other exciting games "
                             "online with other players! ",
                             this);
    pitch->setWordWrap(true);
    grid->addWidget(pitch, 0, 0);
    auto* get = new QPushButton("Download And Install The Veskor Lobby Now", this);
    get->setObjectName("getbutton");
    grid->addWidget(get, 1, 0);
    auto* abort = new QPushButton("Stop Download", this);
    abort->setObjectName("abortbutton");
    abort->setEnabled(false);
    grid->addWidget(abort, 2, 0);
    for (const char* name : {"infolabel", "infolabel3", "infolabel2"}) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        grid->addWidget(l, grid->rowCount(), 0);
    }
    findChild<QLabel*>("infolabel2")->hide();
    auto* solo = new QLabel("To proceed to the game without the ability to play against others "
                            "click the button below.",
                            this);
    solo->setWordWrap(true);
    grid->addWidget(solo, 0, 1);
    auto* play = new QPushButton("Play Solo Game", this);
    play->setObjectName("Button1");
    play->setDefault(true);
    connect(play, &QPushButton::clicked, this, &QWidget::close);
    grid->addWidget(play, 1, 1);
    auto* others = new QLabel("If you already have The Veskor Lobby and you wish to play with "
                              "others then click the button below to close this game and open "
                              "The Veskor Lobby.",
                              this);
    others->setWordWrap(true);
    grid->addWidget(others, 2, 1);
    auto* lobby = new QPushButton("Play with Others", this);
    lobby->setObjectName("Button2");
    grid->addWidget(lobby, 3, 1);
    resize(560, 260);
}
