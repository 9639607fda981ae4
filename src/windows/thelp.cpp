#include "thelp.h"

#include "helptext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

constexpr int kSidePanelWidth = 137;

QPushButton* sideButton(const QString& caption, QWidget* parent, const QString& name) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    b->setAutoDefault(false);
    return b;
}

} // namespace

Thelp::Thelp(QWidget* parent) : QDialog(parent) {
    setObjectName("Thelp");
    setWindowTitle("Backgammon - Help File");
    setAccessibleName("Backgammon - Help File");
    auto* row = new QHBoxLayout(this);
    // The pages come first: the side panel's buttons look them up.
    QWidget* pages = mainPanel();
    row->addWidget(sidePanel());
    row->addWidget(pages, 1);
    resize(620, 440);
    showTopic(1, helpTopics().front().caption);
}

QWidget* Thelp::sidePanel() {
    auto* side = new QWidget(this);
    side->setObjectName("panel_side");
    side->setAccessibleName("Help topics");
    side->setFixedWidth(kSidePanelWidth);
    auto* col = new QVBoxLayout(side);
    col->setContentsMargins(0, 0, 0, 0);
    for (const HelpTopic& t : helpTopics()) {
        QPushButton* b = sideButton(t.caption, side, QString("SelButton%1").arg(t.tag));
        b->setProperty("tag", t.tag);
        connect(b, &QPushButton::clicked, this,
                [this, b] { showTopic(b->property("tag").toInt(), b->text()); });
        col->addWidget(b);
    }
    col->addStretch();
    auto* credits = new QLabel(kCreditLines, side);
    credits->setObjectName("label_credits");
    credits->setAccessibleName(QString(kCreditLines).replace('\n', ' '));
    credits->setAlignment(Qt::AlignCenter);
    credits->setWordWrap(true);
    col->addWidget(credits);
    QPushButton* about = sideButton("About", side, "button_about");
    connect(about, &QPushButton::clicked, this, &Thelp::aboutRequested);
    col->addWidget(about);
    QPushButton* done = sideButton("Done", side, "button_done");
    connect(done, &QPushButton::clicked, this, &QWidget::hide);
    col->addWidget(done);
    return side;
}

QWidget* Thelp::mainPanel() {
    auto* main = new QWidget(this);
    main->setObjectName("panel_main");
    auto* col = new QVBoxLayout(main);
    col->setContentsMargins(0, 0, 0, 0);
    m_caption = new QLabel(main);
    m_caption->setObjectName("label_caption");
    // Read by its text, the topic shown; the description says what it is.
    m_caption->setAccessibleDescription("Help topic");
    QFont big = m_caption->font();
    big.setBold(true);
    big.setPixelSize(16);
    m_caption->setFont(big);
    col->addWidget(m_caption);
    m_pages = new QStackedWidget(main);
    col->addWidget(m_pages, 1);
    for (const HelpTopic& t : helpTopics()) {
        auto* page = new QTextBrowser(m_pages);
        page->setObjectName(QString("memo%1").arg(t.tag));
        page->setAccessibleName(QString(t.caption) + " help page");
        page->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        page->setOpenLinks(false);
        page->setHtml(t.html);
        m_pages->addWidget(page);
    }
    return main;
}

void Thelp::showTopic(int tag, const QString& caption) {
    auto* page = m_pages->findChild<QWidget*>(QString("memo%1").arg(tag));
    if (!page) return;
    m_pages->setCurrentWidget(page);
    m_caption->setText(caption);
}
