#pragma once
// The review's plot: each side's winning chances after every turn of the game, a line per
// player in the checkers' colours, the selected turn marked. Clicking near a turn's point
// selects that turn (the left and right keys step through them).

#include <QWidget>

#include <array>
#include <vector>

class WinningChancesPlot : public QWidget {
    Q_OBJECT
  public:
    explicit WinningChancesPlot(QWidget* parent = nullptr);
    // Player 1's chances in percent after each turn; player 2's are the rest.
    void setChances(std::vector<double> player1);
    void setSelected(int index);
    int selected() const { return m_selected; }
    int count() const { return static_cast<int>(m_chances.size()); }
    // The turn whose point lies nearest to x (in the widget), or -1 without points.
    int indexAt(int x) const;
    QPointF pointOf(int index, int player) const;
    QSize sizeHint() const override { return {640, 140}; }

  signals:
    void turnClicked(int index);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    QRectF plotArea() const;
    std::vector<double> m_chances;
    int m_selected = -1;
};
