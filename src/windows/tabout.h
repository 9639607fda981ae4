#pragma once
// Tabout: the program's name, version and credits, with the vendor's web address. A fixed
// dialog centred on its parent, the main window.

#include <QDialog>

class Tabout : public QDialog {
    Q_OBJECT
  public:
    explicit Tabout(QWidget* parent = nullptr);
    // The version this program reports to the host.
    static QString versionText();

  public slots:
    // Opens the vendor's web address in the browser.
    void Label7Click();

  protected:
    void showEvent(QShowEvent* e) override;
};
