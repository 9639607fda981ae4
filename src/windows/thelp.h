#pragma once
// Thelp: the help pages, one per topic button on the side panel. The window is built once and
// only hidden by "Done", so it reopens on the page last chosen.

#include <QDialog>

class QLabel;
class QStackedWidget;

class Thelp : public QDialog {
    Q_OBJECT
  public:
    explicit Thelp(QWidget* parent = nullptr);
    // Brings page "memo<tag>" to the front and titles it with caption; an unknown tag
    // changes nothing.
    void showTopic(int tag, const QString& caption);

  signals:
    void aboutRequested();

  private:
    QWidget* sidePanel();
    QWidget* mainPanel();

    QLabel* m_caption = nullptr;
    QStackedWidget* m_pages = nullptr;
};
