#pragma once
// Ttallylist: the record of games against chosen opponents.

#include <QDialog>

class Ttallylist : public QDialog {
    Q_OBJECT
  public:
    explicit Ttallylist(QWidget* parent = nullptr);
};
