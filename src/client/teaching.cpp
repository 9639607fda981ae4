// The main window's part in the program's teaching: the hint (Options "Hint", the button beside
// Undo), which marks the engine's play on the board and writes it in the chat, and the game
// review (View "Review Game", the "Review" button on the winner's banner). When each is on
// offer is the client core's decision (teachingoffers.h); the engine runs on a worker thread
// (analysisworker.h), so the game's timers never wait for it.

#include "analysisworker.h"
#include "boardgeometry.h"
#include "plannedturn.h"
#include "playjudge.h"
#include "playmarksoverlay.h"
#include "reviewwindow.h"
#include "tchat.h"
#include "teachingoffers.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

namespace {

constexpr const char* kHintName = "Hint";

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

void Tchat::buildTeachingControls() {
    m_hint = new QPushButton(kHintName, m_panel);
    m_hint->setObjectName("button_hint");
    m_hint->setAccessibleName(kHintName);
    m_hint->setToolTip("Mark the play the engine prefers (Ctrl+H)");
    m_hint->setGeometry(352, 342, 64, 20);
    m_hint->setFocusPolicy(Qt::NoFocus);
    connect(m_hint, &QPushButton::clicked, this, &Tchat::Hint1Click);

    m_reviewButton = new QPushButton("Review", m_winnerPanel);
    m_reviewButton->setObjectName("button_review");
    m_reviewButton->setAccessibleName("Review the game");
    m_reviewButton->setToolTip("Review the game with the engine");
    m_reviewButton->setGeometry(bg::geo::kWinnerWidth - 66, 10, 60, 21);
    m_reviewButton->setFocusPolicy(Qt::NoFocus);
    // Queued: the review window opens from the event loop, so a screen reader's press returns.
    connect(m_reviewButton, &QPushButton::clicked, this, &Tchat::ReviewGame1Click,
            Qt::QueuedConnection);

    m_hintMarks = new PlayMarksOverlay(m_panel);
    m_hintMarks->setObjectName("image_hint");
    m_hintMarks->setAccessibleName("Hint marks");
    m_hintWorker = new AnalysisWorker(this);
    connect(m_hintWorker, &AnalysisWorker::finished, this, &Tchat::syncTeaching);
}

void Tchat::addTeachingItems(QMenu* options, QMenu* view) {
    m_hintItem = menuItem(options, "Hint1", kHintName);
    m_hintItem->setShortcut(QKeySequence("Ctrl+H"));
    m_hintItem->setEnabled(false);
    connect(m_hintItem, &QAction::triggered, this, &Tchat::Hint1Click);
    m_reviewItem = menuItem(view, "ReviewGame1", "Review Game");
    m_reviewItem->setEnabled(false);
    connect(m_reviewItem, &QAction::triggered, this, &Tchat::ReviewGame1Click,
            Qt::QueuedConnection);
}

void Tchat::Hint1Click() {
    if (!bg::hintOnOffer(m_state) || m_hintWorker->running()) return;
    const bg::Board board = bg::hintBoard(m_state);
    const unsigned revision = m_state.recorder().revision();
    m_hint->setEnabled(false);
    m_hintWorker->start([this, board, revision](AnalysisWorker& w) {
        bg::PlayJudge judge;
        const bg::rec::Turn turn = bg::review::turnOfPlan(board, judge.preferred(board));
        w.post([this, turn, revision] { showHint(turn, revision); });
    });
}

void Tchat::showHint(const bg::rec::Turn& turn, unsigned revision) {
    // The position moved on while the engine thought: that hint is for a board long gone.
    if (revision != m_state.recorder().revision() || !bg::hintOnOffer(m_state)) return;
    const QString line = qs(bg::review::hintLine(turn));
    addSystemLine(line.toStdString());
    m_hintRevision = revision;
    m_hintText = line;
    m_hint->setAccessibleName(line);
    m_hint->setToolTip(line);
    m_hintMarks->setMarks(playMarks(m_state.recorder().position(), turn));
}

void Tchat::syncTeaching() {
    const bool hint = bg::hintOnOffer(m_state);
    m_hint->setEnabled(hint && !m_hintWorker->running());
    m_hintItem->setEnabled(hint);
    if (!m_hintText.isEmpty() && m_state.recorder().revision() != m_hintRevision) {
        // A step was made: the marks would point at checkers that moved.
        m_hintText.clear();
        m_hint->setAccessibleName(kHintName);
        m_hint->setToolTip("Mark the play the engine prefers (Ctrl+H)");
        m_hintMarks->setMarks({});
    }
    m_hintMarks->raise();
    const bool review = bg::reviewOnOffer(m_state);
    m_reviewItem->setEnabled(review);
    m_reviewButton->setVisible(review);
}

void Tchat::ReviewGame1Click() {
    if (!bg::reviewOnOffer(m_state)) {
        showMessageBox(m_state.recorder().hasGame()
                           ? "A game between people can be reviewed once it is over."
                           : "There is no game to review yet.");
        return;
    }
    openReview(m_state.recorder().record());
}

ReviewWindow* Tchat::openReview(const bg::rec::GameRecord& record) {
    const QString title = qs(record.names[1]) + " vs " + qs(record.names[2]);
    auto* review = new ReviewWindow(record, title, this);
    m_reviewWindow = review;
    review->show();
    review->raise();
    review->activateWindow();
    return review;
}

ReviewWindow* Tchat::reviewWindow() const {
    return m_reviewWindow;
}
