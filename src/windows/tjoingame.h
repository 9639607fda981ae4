#pragma once
// Tjoingame: "Join a Game". The player's name (remembered), the host's address, the last ten
// addresses joined and the games announced on the local network, kept current as they come
// and go. Join checks the name and the address (a host name is looked up, never connected
// to: any connection takes a seat on the host) and then ends this copy and starts the joining
// one with the command line "<name> <address> false".

#include "discovery/gamebrowser.h"
#include "nextcopy.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class Tjoingame : public QDialog {
    Q_OBJECT
  public:
    // `usualPort` is the port a typed address without ":port" means.
    Tjoingame(const QString& settingsPath, quint16 usualPort, NextCopyStarter starter,
              QWidget* parent = nullptr);
    void button_joinClick();
    QString noGamesText() const;

  signals:
    // "Host a Game..." in this window: the person would rather host.
    void hostRequested();

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void fillRecent();
    void fillGames();
    void gameChosen(QListWidgetItem* item);
    void lookedUp(const QString& name, const QString& host, std::optional<quint16> port,
                  bool found, const QString& error);
    void start(const QString& name, const QString& host, std::optional<quint16> port,
               const QString& typed);
    void say(const QString& text);

    QString m_settingsPath;
    quint16 m_usualPort;
    NextCopyStarter m_starter;
    bg::discovery::GameBrowser* m_browser = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_address = nullptr;
    QListWidget* m_recent = nullptr;
    QListWidget* m_games = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_join = nullptr;
    int m_lookup = -1; // the host-name look-up under way
};
