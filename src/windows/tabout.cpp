#include "tabout.h"

#include "protocol.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tabout::Tabout(QWidget* parent) : QDialog(parent) {
    setObjectName("Tabout");
    setWindowTitle("Backgammon - About");
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("Backgammon", this);
    title->setStyleSheet("font: bold 20px;");
    layout->addWidget(title);
    auto* link = new QLabel(this);
    link->setObjectName("Label7");
    link->setCursor(Qt::PointingHandCursor);
    layout->addWidget(link);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Version", this));
    auto* version = new QLabel(versionText(), this);
    version->setObjectName("version");
    row->addWidget(version);
    row->addWidget(new QLabel(".4", this));
    row->addStretch();
    layout->addLayout(row);
    auto* done = new QPushButton("Done", this);
    done->setObjectName("button_done");
    connect(done, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(done);
}

QString Tabout::versionText() {
    return QString::fromLatin1(bg::kVersion);
}
