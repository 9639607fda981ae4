#pragma once
// Thostgame: "Host a Game". The player's name (remembered) and a Host button, which ends this
// copy and starts the hosting one with the command line "<name> 127.0.0.1 true", the form a
// lobby starts a host with.

#include "nextcopy.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class Thostgame : public QDialog {
    Q_OBJECT
  public:
    Thostgame(const QString& settingsPath, NextCopyStarter starter, QWidget* parent = nullptr);
    void button_hostClick();

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    QString m_settingsPath;
    NextCopyStarter m_starter;
    QLineEdit* m_name = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_host = nullptr;
};
