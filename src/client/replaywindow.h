#pragma once
// ReplayWindow: a saved game played back a play at a time. The board is painted with the main
// window's pictures, the move list stands beside it, and the buttons (or the arrow keys, Home
// and End) step forward and back. Every checker carries the name the main window gives it
// ("White checker on point 13"), so a screen reader reads the position at each step. "Analyse"
// opens the game in the review window.

#include "gamerecord.h"

#include <QWidget>

#include <array>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

class ReplayWindow : public QWidget {
    Q_OBJECT
  public:
    ReplayWindow(const bg::rec::GameRecord& record, const QString& title,
                 QWidget* parent = nullptr);
    // 0 is the first position, n the position after the n-th turn.
    int step() const { return m_step; }
    int steps() const { return static_cast<int>(m_positions.size()) - 1; }
    void goTo(int step);
    const bg::rec::Position& shown() const { return m_positions[static_cast<std::size_t>(m_step)]; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    bool stepKey(int key);
    void showStep();

    bg::rec::GameRecord m_record;
    std::vector<bg::rec::Position> m_positions;
    int m_step = 0;
    QLabel* m_board = nullptr;
    std::array<std::array<QLabel*, bg::kPieces + 1>, 3> m_checkers{};
    QListWidget* m_list = nullptr;
    QLabel* m_where = nullptr;
    QPushButton* m_first = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_forward = nullptr;
    QPushButton* m_last = nullptr;
    QPushButton* m_analyse = nullptr;
};
