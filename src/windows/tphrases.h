#pragma once
// Tphrases: edits the nine phrases of the chat's phrase buttons. Each time it opens it asks
// for the buttons' current phrases (aboutToOpen); "Done" hands the edited phrases back
// (phrasesDone) and writes them to the settings file as "Phrase1" .. "Phrase9". Closing it by
// its title bar keeps the old phrases.

#include <QDialog>
#include <QString>

#include <array>

class QLineEdit;

class Tphrases : public QDialog {
    Q_OBJECT
  public:
    explicit Tphrases(QWidget* parent = nullptr);
    void setPhrases(const QStringList& phrases);
    QStringList phrases() const;
    // The settings file the phrases go to: the program's own unless set (tests).
    void setSettingsPath(const QString& path) { m_settingsPath = path; }
    void button_doneClick();
    // Takes the buttons' current phrases again (aboutToOpen), as opening does.
    void reload() { emit aboutToOpen(); }

  signals:
    // The window is about to show: the owner fills in the current phrases.
    void aboutToOpen();
    // "Done": the edited phrases, in button order.
    void phrasesDone(const QStringList& phrases);

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void savePhrases() const;

    std::array<QLineEdit*, 9> m_edits{};
    QString m_settingsPath;
};
