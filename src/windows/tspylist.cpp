#include "tspylist.h"

#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

Tspylist::Tspylist(QWidget* parent) : QDialog(parent) {
    setObjectName("Tspylist");
    setWindowTitle("Backgammon - Spys");
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Spy List", this));
    m_list = new QListWidget(this);
    m_list->setObjectName("listbox_spys");
    m_list->setAccessibleName("Spy List");
    m_list->setMouseTracking(true);
    m_list->viewport()->installEventFilter(this);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_list);
    m_popup = new QMenu(this);
    m_popup->setObjectName("popup_kick");
    m_kick = m_popup->addAction("Remove From Game");
    m_kick->setObjectName("popup_kickhim");
    m_kick->setEnabled(false);
    connect(m_kick, &QAction::triggered, this, &Tspylist::popup_kickhimClick);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popup->popup(m_list->viewport()->mapToGlobal(at)); });
    auto* done = new QPushButton("Done", this);
    done->setObjectName("button_done");
    done->setAccessibleName("Done");
    connect(done, &QPushButton::clicked, this, &QWidget::hide);
    layout->addWidget(done);
    setFixedSize(220, 260); // a fixed dialog, as the other small windows
}

void Tspylist::setEntries(const QStringList& entries) {
    if (this->entries() == entries) return;
    m_list->clear();
    m_list->addItems(entries);
}

QStringList Tspylist::entries() const {
    QStringList out;
    for (int i = 0; i < m_list->count(); ++i)
        out << m_list->item(i)->text();
    return out;
}

void Tspylist::setKickEnabled(bool on) {
    m_kick->setEnabled(on);
}

bool Tspylist::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport() && event->type() == QEvent::MouseMove) {
        const auto* e = static_cast<QMouseEvent*>(event);
        const QModelIndex index = m_list->indexAt(e->position().toPoint());
        m_hover = index.isValid() ? index.row() : -1;
    }
    return QDialog::eventFilter(watched, event);
}

void Tspylist::popup_kickhimClick() {
    if (m_hover < 0 || m_hover >= m_list->count()) return;
    const QString entry = m_list->item(m_hover)->text();
    bool ok = false;
    const int number = entry.section(':', 0, 0).toInt(&ok);
    if (ok) emit kickRequested(number);
}
