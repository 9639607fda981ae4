#include "reviewwindow.h"

#include "analysisworker.h"
#include "boardgeometry.h"
#include "reviewmarks.h"
#include "winningchancesplot.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QTimer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace geo = bg::geo;
using bg::review::ReviewRow;

namespace {

const QColor kPlayedColour(255, 176, 60);
const QColor kPreferredColour(120, 230, 255);
constexpr double kBoardScale = 0.56;
constexpr int kFlushMs = 100;

enum Column { Turn, Player, Throw, Played, Preferred, Loss, Mark, Columns };

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QString lossText(double loss) {
    return QString::number(loss, 'f', 1);
}

} // namespace

ReviewWindow::ReviewWindow(const bg::rec::GameRecord& record, const QString& title,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), m_record(record) {
    setObjectName("ReviewWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Backgammon - Review - " + title);
    setAccessibleName("Review of " + title);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName("progress_review");
    m_progress->setAccessibleName("Review progress");
    m_progressText = new QLabel(this);
    m_progressText->setObjectName("label_review_progress");
    m_stop = new QPushButton("Stop", this);
    m_stop->setObjectName("button_review_stop");
    m_stop->setAccessibleName("Stop the review");
    connect(m_stop, &QPushButton::clicked, this, &ReviewWindow::stop);

    m_plot = new WinningChancesPlot(this);
    connect(m_plot, &WinningChancesPlot::turnClicked, this, [this](int row) {
        m_userSelected = true;
        select(row);
    });

    m_list = new QTreeWidget(this);
    m_list->setObjectName("list_review");
    m_list->setAccessibleName("Turns reviewed");
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setColumnCount(Columns);
    m_list->setHeaderLabels({"#", "Player", "Throw", "Play", "Preferred", "Loss %", "Mark"});
    // Widths fixed from the font, wide enough for the longest plays: fitting the columns to
    // their contents walks every row, and rows come while the game goes on.
    const int digit = m_list->fontMetrics().horizontalAdvance('0');
    const int widths[Columns] = {3, 7, 4, 16, 16, 6, 3};
    for (int c = 0; c < Columns; ++c)
        m_list->setColumnWidth(c, widths[c] * digit + 12);
    m_list->setMinimumWidth(540);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!item) return;
        m_userSelected = true;
        select(m_list->indexOfTopLevelItem(item));
    });

    m_pictures = std::make_unique<BoardPictures>(devicePixelRatioF());
    m_board = new QLabel(this);
    m_board->setObjectName("image_review_board");
    m_board->setAccessibleName("Board of the selected turn");
    m_board->setFixedSize(int((geo::kMainBoardLeft + geo::kMainBoardWidth + 2) * kBoardScale),
                          int((geo::kMainBoardTop + geo::kMainBoardHeight + 4) * kBoardScale));
    m_legend = new QLabel(this);
    m_legend->setObjectName("label_review_legend");
    m_legend->setWordWrap(true);
    m_legend->setMaximumWidth(m_board->width());

    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_progressText);
    progressRow->addWidget(m_stop);
    auto* right = new QVBoxLayout;
    right->addWidget(m_board);
    right->addWidget(m_legend);
    for (int p = 1; p <= 2; ++p) {
        m_summary[p] = new QLabel(this);
        m_summary[p]->setObjectName(QString("label_review_summary%1").arg(p));
        m_summary[p]->setWordWrap(true);
        right->addWidget(m_summary[p]);
    }
    right->addStretch(1);
    auto* lower = new QHBoxLayout;
    lower->addWidget(m_list, 1);
    lower->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(progressRow);
    layout->addWidget(m_plot);
    layout->addLayout(lower, 1);
    resize(1000, 640);

    // The review's own copy of the record: the game in the main window may go on.
    auto reviewer = std::make_shared<bg::review::GameReviewer>(m_record);
    m_turns = reviewer->turns();
    m_progress->setRange(0, std::max(m_turns, 1));
    m_progress->setValue(0);
    m_progressText->setText(QString("0 of %1 turns").arg(m_turns));
    showSummary();
    paintBoard();
    m_flush = new QTimer(this);
    m_flush->setSingleShot(true);
    m_flush->setInterval(kFlushMs);
    connect(m_flush, &QTimer::timeout, this, &ReviewWindow::flushRows);
    m_worker = new AnalysisWorker(this);
    connect(m_worker, &AnalysisWorker::finished, this, &ReviewWindow::ended);
    // The rows are added on this window's thread; the worker stops before the window goes.
    m_worker->start([this, reviewer](AnalysisWorker& w) {
        while (!reviewer->done() && !w.stopRequested()) {
            ReviewRow row = reviewer->next();
            w.post([this, row = std::move(row)] { queueRow(row); });
        }
    });
}

ReviewWindow::~ReviewWindow() {
    // The worker's results come to this window: they must stop before it goes.
    if (m_worker) m_worker->stop();
}

bool ReviewWindow::analysing() const {
    // Until the last row the worker posted has been shown, not only until the worker ends.
    return m_stop->isEnabled();
}

void ReviewWindow::stop() {
    if (!m_stop->isEnabled()) return;
    m_worker->stop();
    ended();
}

void ReviewWindow::ended() {
    if (!m_stop->isEnabled()) return;
    flushRows();
    const bool complete = static_cast<int>(m_rows.size()) == m_turns;
    m_stop->setEnabled(false);
    // Nobody has picked a turn yet: the costliest play of the game is the one to look at first.
    if (!m_userSelected && !m_rows.empty()) {
        const auto worst = std::max_element(
            m_rows.begin(), m_rows.end(),
            [](const ReviewRow& a, const ReviewRow& b) { return a.loss < b.loss; });
        if (worst->loss > 0) select(static_cast<int>(worst - m_rows.begin()));
    }
    m_progressText->setText(complete ? QString("All %1 turns reviewed").arg(m_turns)
                                     : QString("Stopped after %1 of %2 turns")
                                           .arg(m_rows.size())
                                           .arg(m_turns));
    m_progressText->setAccessibleName(m_progressText->text());
    emit reviewEnded();
}

void ReviewWindow::queueRow(const ReviewRow& row) {
    m_pending.push_back(row);
    // Rows come every few milliseconds; the widgets take them a batch at a time, so the
    // window's own work stays a small share of each frame.
    if (!m_flush->isActive()) m_flush->start();
}

void ReviewWindow::flushRows() {
    m_flush->stop();
    if (m_pending.empty()) return;
    for (const ReviewRow& row : m_pending)
        addRow(row);
    m_pending.clear();
    std::vector<double> chances;
    for (const ReviewRow& r : m_rows)
        chances.push_back(r.chances[1]);
    m_plot->setChances(std::move(chances));
    m_progress->setValue(static_cast<int>(m_rows.size()));
    m_progressText->setText(QString("%1 of %2 turns").arg(m_rows.size()).arg(m_turns));
    showSummary();
    if (m_selected < 0) select(0);
}

void ReviewWindow::addRow(const ReviewRow& row) {
    m_rows.push_back(row);
    const std::string& name = m_record.names[static_cast<std::size_t>(row.mover)];
    auto* item = new QTreeWidgetItem(m_list);
    item->setText(Turn, QString::number(row.turn));
    item->setText(Player, qs(name));
    item->setText(Throw, qs(row.throwText));
    item->setText(Played, qs(row.played));
    item->setText(Preferred, row.preferred == row.played ? QString("=") : qs(row.preferred));
    item->setText(Loss, row.decision ? lossText(row.loss) : QString("forced"));
    item->setText(Mark, qs(row.mark));
    item->setTextAlignment(Loss, Qt::AlignRight | Qt::AlignVCenter);
    if (!row.mark.empty())
        for (int c = 0; c < Columns; ++c)
            item->setForeground(c, row.mark == "??" ? QColor(190, 20, 20) : QColor(170, 90, 0));
}

void ReviewWindow::showSummary() {
    for (int p = 1; p <= 2; ++p) {
        const bg::review::Summary s = bg::review::summaryOf(m_rows, p);
        const QString text = QString("%1: %2 decisions, average loss %3% per decision, %4 "
                                     "blunder%5: %6")
                                 .arg(qs(m_record.names[static_cast<std::size_t>(p)]))
                                 .arg(s.decisions)
                                 .arg(QString::number(s.averageLoss(), 'f', 2))
                                 .arg(s.blunders)
                                 .arg(s.blunders == 1 ? "" : "s")
                                 .arg(qs(s.band()));
        m_summary[p]->setText(text);
        m_summary[p]->setAccessibleName(text);
    }
}

void ReviewWindow::select(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    m_selected = row;
    m_plot->setSelected(row);
    {
        const QSignalBlocker quiet(m_list);
        m_list->setCurrentItem(m_list->topLevelItem(row));
    }
    m_list->scrollToItem(m_list->topLevelItem(row));
    paintBoard();
}

QImage ReviewWindow::boardPicture() const {
    return m_board->pixmap().toImage();
}

void ReviewWindow::paintBoard() {
    const qreal dpr = devicePixelRatioF();
    QPixmap pix(m_board->size() * dpr);
    pix.setDevicePixelRatio(dpr);
    pix.fill(QColor(58, 36, 20));
    QPainter p(&pix);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(kBoardScale, kBoardScale);
    if (m_selected < 0) {
        paintPosition(p, m_record.start, *m_pictures);
        p.end();
        m_board->setPixmap(pix);
        m_legend->setText(m_turns ? "Reviewing..." : "The record holds no turn to review.");
        return;
    }
    const ReviewRow& r = m_rows[static_cast<std::size_t>(m_selected)];
    paintPosition(p, r.before, *m_pictures);
    const bool same = r.preferred == r.played;
    if (!same) paintPlayMarks(p, playMarks(r.before, r.preferredTurn), kPreferredColour, false, dpr);
    paintPlayMarks(p, playMarks(r.before, r.playedTurn), kPlayedColour, false, dpr);
    p.end();
    m_board->setPixmap(pix);
    const QString who = qs(m_record.names[static_cast<std::size_t>(r.mover)]);
    QString legend = QString("Turn %1, %2 threw %3 and played %4")
                         .arg(r.turn)
                         .arg(who, qs(r.throwText), qs(r.played));
    if (same)
        legend += r.decision ? ", the engine's choice too." : " (forced).";
    else
        legend += QString(" (amber); the engine prefers %1 (blue), %2% better.")
                      .arg(qs(r.preferred), lossText(r.loss));
    m_legend->setText(legend);
    m_board->setAccessibleName("Board of turn " + QString::number(r.turn) + ": " + legend);
}
