#pragma once
// Tspylist: the list of spectators ("spies"). The main window keeps the entries ("3: Guest");
// the hosting player can remove the spectator under the mouse pointer from the game.

#include <QDialog>

class QListWidget;
class QMenu;
class QAction;

class Tspylist : public QDialog {
    Q_OBJECT
  public:
    explicit Tspylist(QWidget* parent = nullptr);
    void setEntries(const QStringList& entries);
    QStringList entries() const;
    void setKickEnabled(bool on);
    // The entry index under the pointer at the last mouse move, -1 for none.
    int hoverIndex() const { return m_hover; }
    void popup_kickhimClick();

  signals:
    // Asks the main window to remove spectator `number`.
    void kickRequested(int number);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QListWidget* m_list = nullptr;
    QMenu* m_popup = nullptr;
    QAction* m_kick = nullptr;
    int m_hover = -1;
};
