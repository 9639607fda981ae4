#pragma once
// The faint outline over the points the last play's checkers left, drawn above the board and
// below the checkers. It takes no clicks: the board under it stays as it was.

#include <QWidget>

#include <vector>

class LastPlayOutline : public QWidget {
    Q_OBJECT
  public:
    explicit LastPlayOutline(QWidget* parent = nullptr);
    // Board points 1..24; an empty list shows nothing.
    void setPoints(std::vector<int> points);
    const std::vector<int>& points() const { return m_points; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    std::vector<int> m_points;
};
