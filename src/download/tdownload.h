#pragma once
// Tdownload: offered at a solo start; downloads the lobby program, starts an installed one,
// or lets the solo game go on.

#include <QDialog>

class Tdownload : public QDialog {
    Q_OBJECT
  public:
    explicit Tdownload(QWidget* parent = nullptr);
};
