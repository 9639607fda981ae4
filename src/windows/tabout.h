#pragma once
// Tabout: the program's name, version and credits.

#include <QDialog>

class Tabout : public QDialog {
    Q_OBJECT
  public:
    explicit Tabout(QWidget* parent = nullptr);
    // The version this program reports to the host.
    static QString versionText();
};
