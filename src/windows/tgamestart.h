#pragma once
// Tgamestart: the hosting player's choice of time per turn and game type before a game.

#include <QDialog>

class QLineEdit;
class QSpinBox;
class QLabel;
class QPushButton;

class Tgamestart : public QDialog {
    Q_OBJECT
  public:
    explicit Tgamestart(QWidget* parent = nullptr);
    // Sets the Acey-Deucey box (0 or 1).
    void changebox(int value);
    int aceyTag() const { return m_aceyTag; }
    QString seconds() const;
    // The up-down's position, kept within 45 to 1000.
    void setTimePerTurn(int seconds);
    int timePerTurn() const;
    void button_startClick();

  signals:
    // The start button: seconds per turn and "1" for Acey-Deucey, "0" for normal.
    void startRequested(const QString& seconds, const QString& acey);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* m_edit = nullptr;
    QSpinBox* m_updown = nullptr;
    QLabel* m_acey = nullptr;
    int m_aceyTag = 1;
};
