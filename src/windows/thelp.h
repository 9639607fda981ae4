#pragma once
// Thelp: the help pages, one per topic button on the left.

#include <QDialog>

class QLabel;
class QStackedWidget;

class Thelp : public QDialog {
    Q_OBJECT
  public:
    explicit Thelp(QWidget* parent = nullptr);
    // Shows page "memo<tag>" and titles it with the button's caption.
    void showTopic(int tag, const QString& caption);

  signals:
    void aboutRequested();

  private:
    QLabel* m_caption = nullptr;
    QStackedWidget* m_pages = nullptr;
};
