#include "tphrases.h"

#include "appfiles.h"
#include "preferences.h"
#include "settingsfile.h"

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
    form->setSizeConstraint(QLayout::SetFixedSize);
    for (int n = 1; n <= bg::kPhraseCount; ++n) {
        auto* e = new QLineEdit(this);
        const QString caption = QString("Phrase Button %1:").arg(n);
        e->setObjectName(QString("phrase%1").arg(n));
        e->setMaxLength(kMaxPhraseLength);
        e->setMinimumWidth(320);
        e->setAccessibleName(caption);
        form->addRow(caption, e);
        m_edits[static_cast<std::size_t>(n - 1)] = e;
    }
    form->addRow(new QLabel("Buttons can only be used once every 2 seconds", this));
    auto* done = new QPushButton("Done", this);
    done->setObjectName("button_done");
    done->setAccessibleName("Done");
    connect(done, &QPushButton::clicked, this, &Tphrases::button_doneClick);
    form->addRow(done);
}

void Tphrases::showEvent(QShowEvent* e) {
    reload();
    QDialog::showEvent(e);
}

void Tphrases::setPhrases(const QStringList& phrases) {
    for (std::size_t n = 0; n < m_edits.size(); ++n)
        m_edits[n]->setText(n < static_cast<std::size_t>(phrases.size())
                                ? phrases[static_cast<qsizetype>(n)]
                                : QString());
}

QStringList Tphrases::phrases() const {
    QStringList out;
    for (QLineEdit* e : m_edits)
        out << e->text();
    return out;
}

void Tphrases::button_doneClick() {
    emit phrasesDone(phrases());
    savePhrases();
    close();
}

void Tphrases::savePhrases() const {
    const QString path =
        m_settingsPath.isEmpty() ? bg::appFilePath(bg::kSettingsFileName) : m_settingsPath;
    // Load first: the file holds everything else of this program and of others.
    bg::SettingsFile file(path.toStdString());
    file.load();
    for (int n = 1; n <= bg::kPhraseCount; ++n)
        file.set(bg::kPreferencesSection, "Phrase" + std::to_string(n),
                 m_edits[static_cast<std::size_t>(n - 1)]->text().toStdString());
    file.save(); // a file that cannot be written is not reported
}
