#pragma once
// Tphrases: edits the nine phrases of the chat's phrase buttons.

#include <QDialog>

#include <array>

class QLineEdit;

class Tphrases : public QDialog {
    Q_OBJECT
  public:
    explicit Tphrases(QWidget* parent = nullptr);
    void setPhrases(const QStringList& phrases);
    QStringList phrases() const;

  signals:
    // "Done": the edited phrases, in button order.
    void phrasesDone(const QStringList& phrases);

  private:
    std::array<QLineEdit*, 9> m_edits{};
};
