#pragma once
// Tmovelist: the current game's turns, a line per turn as the game goes, the last line in
// view. A plain list, so a screen reader reads it line by line.

#include <QWidget>

#include <string>
#include <vector>

class QListWidget;

class Tmovelist : public QWidget {
    Q_OBJECT
  public:
    explicit Tmovelist(QWidget* parent = nullptr);
    // Shows these lines; lines already shown stay, so reading is not disturbed.
    void setLines(const std::vector<std::string>& lines);
    QStringList lines() const;
    QListWidget* list() const { return m_list; }

  private:
    QListWidget* m_list = nullptr;
};
