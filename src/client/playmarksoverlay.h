#pragma once
// The marks of a play (playmarks.h) drawn over the main window's board, above the checkers:
// the hint's marks. It takes no clicks, so the board under it plays on as before.

#include "playmarks.h"

#include <QWidget>

class PlayMarksOverlay : public QWidget {
    Q_OBJECT
  public:
    explicit PlayMarksOverlay(QWidget* parent = nullptr);
    // An empty list shows nothing.
    void setMarks(std::vector<PlayMark> marks);
    const std::vector<PlayMark>& marks() const { return m_marks; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    std::vector<PlayMark> m_marks;
};
