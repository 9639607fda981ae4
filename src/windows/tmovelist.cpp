#include "tmovelist.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

Tmovelist::Tmovelist(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("Tmovelist");
    setWindowTitle("Backgammon - Move List");
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName("list_moves");
    m_list->setAccessibleName("Move List");
    m_list->setAccessibleDescription("The turns of the current game, the latest last");
    layout->addWidget(m_list);
    auto* done = new QPushButton("Close", this);
    done->setObjectName("button_close");
    done->setAccessibleName("Close the move list");
    connect(done, &QPushButton::clicked, this, &QWidget::hide);
    layout->addWidget(done);
    resize(320, 420);
}

void Tmovelist::setLines(const std::vector<std::string>& lines) {
    const int count = static_cast<int>(lines.size());
    // A game that started again, or an undo, changes lines already shown.
    int same = 0;
    while (same < count && same < m_list->count() &&
           m_list->item(same)->text() == QString::fromStdString(lines[same]))
        ++same;
    if (same == count && count == m_list->count()) return;
    while (m_list->count() > same)
        delete m_list->takeItem(m_list->count() - 1);
    for (int i = same; i < count; ++i)
        m_list->addItem(QString::fromStdString(lines[i]));
    if (count) m_list->scrollToItem(m_list->item(count - 1));
}

QStringList Tmovelist::lines() const {
    QStringList out;
    for (int i = 0; i < m_list->count(); ++i)
        out << m_list->item(i)->text();
    return out;
}
