#include "tphrases.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int kMaxPhraseLength = 50;
}

Tphrases::Tphrases(QWidget* parent) : QDialog(parent) {
    setObjectName("Tphrases");
    setWindowTitle("Backgammon - Phrase Buttons ");
    auto* form = new QFormLayout(this);
    for (int n = 1; n <= 9; ++n) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString("phrase%1").arg(n));
        e->setMaxLength(kMaxPhraseLength);
        form->addRow(QString("Phrase Button %1:").arg(n), e);
        m_edits[n - 1] = e;
    }
    form->addRow(new QLabel("Buttons can only be used once every 2 seconds", this));
    auto* done = new QPushButton("Done", this);
    done->setObjectName("button_done");
    connect(done, &QPushButton::clicked, this, [this] {
        emit phrasesDone(phrases());
        close();
    });
    form->addRow(done);
}

void Tphrases::setPhrases(const QStringList& phrases) {
    for (int n = 0; n < 9; ++n)
        m_edits[n]->setText(n < phrases.size() ? phrases[n] : QString());
}

QStringList Tphrases::phrases() const {
    QStringList out;
    for (QLineEdit* e : m_edits)
        out << e->text();
    return out;
}
