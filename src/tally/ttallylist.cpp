#include "ttallylist.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

Ttallylist::Ttallylist(QWidget* parent) : QDialog(parent) {
    setObjectName("Ttallylist");
    setWindowTitle("Backgammon - Tally List");
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Players Being Tallied", this), 0, 0);
    auto* tally = new QListWidget(this);
    tally->setObjectName("listbox_tally");
    grid->addWidget(tally, 1, 0);
    grid->addWidget(new QLabel("Players In Current Game", this), 0, 1);
    auto* current = new QListWidget(this);
    current->setObjectName("checklist");
    grid->addWidget(current, 1, 1);
    auto* scores = new QTableWidget(1, 9, this);
    scores->setObjectName("stringgrid_scores");
    scores->hide();
    for (const char* name :
         {"mylabel_1", "mylabel_2", "mylabel_3", "mylabel_4", "label_hisnametop", "label_hisname",
          "label_1", "label_2", "label_3", "label_4", "label_5", "label_6", "label_7", "label_8"}) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->hide();
    }
    auto* reset = new QPushButton("Reset Tally", this);
    reset->setObjectName("button_reset");
    grid->addWidget(reset, 2, 0);
    auto* done = new QPushButton("Done", this);
    done->setObjectName("button_done");
    connect(done, &QPushButton::clicked, this, &QWidget::hide);
    grid->addWidget(done, 2, 1);
}
