#include "tabout.h"

#include "helptext.h"
#include "protocol.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel* label(const QString& text, QWidget* parent, const char* name) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAccessibleName(QString(text).replace('\n', ' '));
    return l;
}

} // namespace

Tabout::Tabout(QWidget* parent) : QDialog(parent) {
    setObjectName("Tabout");
    setWindowTitle("Backgammon - About");
    setAccessibleName("Backgammon - About");
    auto* layout = new QVBoxLayout(this);
    QLabel* title = label("Backgammon", this, "label_title");
    QFont big = title->font();
    big.setBold(true);
    big.setPixelSize(24);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    QLabel* link = label(kVendorAddress, this, "Label7");
    link->setText(QString("<a href=\"%1\" style=\"color: #ffd070;\">%1</a>").arg(kVendorAddress));
    link->setAccessibleName(QString("Visit ") + kVendorAddress);
    link->setCursor(Qt::PointingHandCursor);
    link->setAlignment(Qt::AlignCenter);
    connect(link, &QLabel::linkActivated, this, &Tabout::Label7Click);
    layout->addWidget(link);

    QLabel* credits = label(kCreditLines, this, "label_credits");
    credits->setAlignment(Qt::AlignCenter);
    layout->addWidget(credits);

    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(label("Version", this, "label_versioncaption"));
    row->addWidget(label(versionText(), this, "version"));
    row->addWidget(label(".4", this, "label_subversion"));
    row->addStretch();
    layout->addLayout(row);

    auto* done = new QPushButton("Done", this);
    done->setObjectName("button_done");
    done->setAccessibleName("Done");
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(done, 0, Qt::AlignHCenter);
    setFixedSize(320, sizeHint().height());
}

QString Tabout::versionText() {
    return QString::fromLatin1(bg::kVersion);
}

void Tabout::Label7Click() {
    if (!QDesktopServices::openUrl(QUrl(kVendorAddress)))
        QMessageBox::information(this, windowTitle(), "Cannot open Webpage");
}

void Tabout::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (const QWidget* main = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(main->frameGeometry().center());
        move(frame.topLeft());
    }
}
