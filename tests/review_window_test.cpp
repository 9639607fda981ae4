// Hints and game review at the real main window, offscreen: a seeded bot game fed as the host
// sends it to the player in seat 1, whose opponent is the bot. The Hint button and the menu
// item mark the engine's play and write it in the chat; the review window lists the turns,
// follows the plot and the list, and stops; the winner's banner and the replay open it too.

#include "chatview.h"
#include "gamereview.h"
#include "plannedturn.h"
#include "playjudge.h"
#include "playmarksoverlay.h"
#include "protocol.h"
#include "replaywindow.h"
#include "reviewwindow.h"
#include "sim_games.h"
#include "tchat.h"
#include "teachingoffers.h"
#include "winningchancesplot.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace bg;

namespace {

QTemporaryDir* g_dataDir = nullptr;

std::vector<std::string> botGameMessages(unsigned seed) {
    sim::Sim s(seed, 500, true);
    std::vector<std::string> out;
    sim::playBotGame(s, false, false, [&](std::string_view m) { out.emplace_back(m); });
    return out;
}

void feed(Tchat& w, const std::string& message) {
    w.sockRead(frame(message));
    w.drainQueue();
}

template <typename T = QWidget> T* find(const QObject& w, const QString& name) {
    T* c = w.findChild<T*>(name);
    if (!c) ADD_FAILURE() << "no control " << name.toStdString();
    return c;
}

QString lastChatLine(Tchat& w) {
    const QStringList lines = w.chatView()->toPlainText().split('\n', Qt::SkipEmptyParts);
    // The chat lays a line out as a name part and a text: compare the words.
    return lines.isEmpty() ? QString() : lines.back().simplified();
}

struct Window {
    Tchat w;
    QStringList boxes;
    Window() {
        w.setSettingsPath(g_dataDir->filePath("window.ini"));
        w.setMessageBoxHook([this](const QString& t) { boxes << t; });
        w.resize(800, 600);
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    }
};

bool waitForReview(ReviewWindow* review) {
    return QTest::qWaitFor([&] { return !review->analysing() && !review->rows().empty(); },
                           60000);
}

} // namespace

TEST(HintWindow, TheButtonAndTheMenuItemMarkTheEnginesPlayAndSayIt) {
    const std::vector<std::string> messages = botGameMessages(11);
    Window win;
    Tchat& w = win.w;
    auto* button = find<QPushButton>(w, "button_hint");
    auto* item = w.findChild<QAction*>("Hint1");
    ASSERT_TRUE(button && item);
    EXPECT_EQ(button->text(), "Hint");
    EXPECT_EQ(item->text(), "Hint");
    EXPECT_EQ(item->shortcut(), QKeySequence("Ctrl+H"));
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(item->isEnabled());

    int hints = 0;
    bool byMenu = false;
    for (const std::string& m : messages) {
        feed(w, m);
        if (!m.starts_with("CMD_threwdice+1+") && !m.starts_with("CMD_firstroll+")) {
            EXPECT_TRUE(w.shownHint().isEmpty() || hintOnOffer(w.state())) << m;
            continue;
        }
        if (!hintOnOffer(w.state())) {
            EXPECT_FALSE(button->isEnabled()) << m;
            continue;
        }
        if (hints >= 4) continue; // enough turns; the rest of the game plays on
        ASSERT_TRUE(button->isEnabled()) << m;
        ASSERT_TRUE(item->isEnabled()) << m;
        const Board board = hintBoard(w.state());
        const rec::Turn expected = review::turnOfPlan(board, PlayJudge().preferred(board));
        const QString line = QString::fromStdString(review::hintLine(expected));
        byMenu = hints % 2 == 1;
        if (byMenu)
            item->trigger();
        else
            QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w.shownHint().isEmpty(); }, 20000)) << m;
        EXPECT_EQ(w.shownHint(), line);
        EXPECT_EQ(lastChatLine(w), line);
        EXPECT_EQ(button->accessibleName(), line);
        ASSERT_TRUE(w.hintMarks()->isVisible());
        EXPECT_EQ(w.hintMarks()->marks().size(), expected.steps.size());
        ++hints;
    }
    EXPECT_EQ(hints, 4);
    EXPECT_TRUE(byMenu);
    // The game is over: no hint, and the marks went with the first step after each hint.
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(w.hintMarks()->isVisible());
    EXPECT_EQ(button->accessibleName(), "Hint");
}

TEST(HintWindow, NoHintAgainstAPerson) {
    const std::vector<std::string> messages = botGameMessages(11);
    Window win;
    Tchat& w = win.w;
    auto* button = find<QPushButton>(w, "button_hint");
    bool offered = false;
    for (const std::string& m : messages) {
        feed(w, m);
        // A person takes the second seat as soon as the game is under way.
        if (m.starts_with("CMD_startgame+")) feed(w, "CMD_newplayerinfo+2+Bob+");
        if (m.starts_with("CMD_threwdice+1+")) {
            EXPECT_FALSE(button->isEnabled());
            EXPECT_FALSE(w.findChild<QAction*>("Hint1")->isEnabled());
            offered = offered || hintOnOffer(w.state());
            // Nor can the game be reviewed while it runs.
            EXPECT_FALSE(w.findChild<QAction*>("ReviewGame1")->isEnabled());
        }
    }
    EXPECT_FALSE(offered);
    w.Hint1Click();
    EXPECT_TRUE(w.shownHint().isEmpty());
    // Over, it can.
    EXPECT_TRUE(w.findChild<QAction*>("ReviewGame1")->isEnabled());
}

TEST(ReviewWindowTest, AGameAgainstTheBotIsReviewedWhileItRunsAndTheRowsFollowThePlot) {
    const std::vector<std::string> messages = botGameMessages(7);
    Window win;
    Tchat& w = win.w;
    auto* item = w.findChild<QAction*>("ReviewGame1");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->text(), "Review Game");
    EXPECT_FALSE(item->isEnabled());
    // Half the game, then the review.
    const std::size_t half = messages.size() / 2;
    for (std::size_t i = 0; i < half; ++i)
        feed(w, messages[i]);
    ASSERT_FALSE(w.state().recorder().record().finished());
    ASSERT_TRUE(item->isEnabled());
    item->trigger();
    QCoreApplication::processEvents();
    ReviewWindow* review = w.reviewWindow();
    ASSERT_TRUE(review);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(review));
    ASSERT_TRUE(waitForReview(review));
    // The game went on meanwhile; the review is of the game as it was when asked.
    const rec::GameRecord asked = w.state().recorder().record();
    for (std::size_t i = half; i < messages.size(); ++i)
        feed(w, messages[i]);
    const int turns = static_cast<int>(asked.turns.size());
    EXPECT_EQ(review->turns(), turns);
    ASSERT_EQ(static_cast<int>(review->rows().size()), turns);

    auto* list = find<QTreeWidget>(*review, "list_review");
    auto* plot = find<WinningChancesPlot>(*review, "plot_review");
    auto* progress = find<QProgressBar>(*review, "progress_review");
    auto* stop = find<QPushButton>(*review, "button_review_stop");
    EXPECT_EQ(list->topLevelItemCount(), turns);
    EXPECT_EQ(plot->count(), turns);
    EXPECT_EQ(progress->value(), progress->maximum());
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_EQ(find<QLabel>(*review, "label_review_progress")->text(),
              QString("All %1 turns reviewed").arg(turns));
    for (const char* name : {"list_review", "plot_review", "progress_review",
                             "button_review_stop", "image_review_board"})
        EXPECT_FALSE(find(*review, name)->accessibleName().isEmpty()) << name;
    for (int r = 0; r < turns; ++r) {
        const review::ReviewRow& row = review->rows()[static_cast<std::size_t>(r)];
        const QTreeWidgetItem* it = list->topLevelItem(r);
        EXPECT_EQ(it->text(0).toInt(), r + 1);
        EXPECT_EQ(it->text(1).toStdString(), asked.names[static_cast<std::size_t>(row.mover)]);
        EXPECT_EQ(it->text(3).toStdString(), row.played);
        EXPECT_EQ(it->text(6).toStdString(), row.mark);
        EXPECT_GE(row.loss, 0);
    }
    for (int p = 1; p <= 2; ++p) {
        const QString summary = find<QLabel>(*review, QString("label_review_summary%1").arg(p))->text();
        const review::Summary s = review::summaryOf(review->rows(), p);
        EXPECT_TRUE(summary.contains(QString("%1 decisions").arg(s.decisions))) << summary.toStdString();
        EXPECT_TRUE(summary.endsWith(QString::fromStdString(s.band()))) << summary.toStdString();
    }

    // Complete, it shows the costliest play first.
    double worst = 0;
    for (const review::ReviewRow& r : review->rows())
        worst = std::max(worst, r.loss);
    ASSERT_GT(worst, 0) << "the standard bot played the whole game as the engine would";
    ASSERT_GE(review->selected(), 0);
    EXPECT_EQ(review->rows()[static_cast<std::size_t>(review->selected())].loss, worst);

    // A click on the plot at a turn's point selects that turn, in the list and on the board.
    const int target = (review->selected() + turns / 3) % (turns - 2);
    const QImage before = review->boardPicture();
    QTest::mouseClick(plot, Qt::LeftButton, {}, plot->pointOf(target, 1).toPoint());
    EXPECT_EQ(review->selected(), target);
    EXPECT_EQ(list->indexOfTopLevelItem(list->currentItem()), target);
    EXPECT_NE(review->boardPicture(), before);
    EXPECT_TRUE(find(*review, "image_review_board")
                    ->accessibleName()
                    .contains(QString("Turn %1,").arg(target + 1)));
    // And a row picked in the list selects it on the plot.
    list->setCurrentItem(list->topLevelItem(target + 2));
    EXPECT_EQ(review->selected(), target + 2);
    EXPECT_EQ(plot->selected(), target + 2);
    // Closed, it goes; a new window may well be built where it stood.
    const QPointer<ReviewWindow> first = review;
    review->close();

    // The finished game: the banner offers the review.
    auto* banner = find<QPushButton>(w, "button_review");
    ASSERT_TRUE(banner->isVisible());
    EXPECT_EQ(banner->text(), "Review");
    QTest::mouseClick(banner, Qt::LeftButton);
    QCoreApplication::processEvents();
    ReviewWindow* again = w.reviewWindow();
    ASSERT_TRUE(again);
    ASSERT_TRUE(first.isNull() || first.data() != again);
    // Stopped at once, it keeps what it has and says so.
    find<QPushButton>(*again, "button_review_stop")->click();
    EXPECT_FALSE(again->analysing());
    EXPECT_LT(again->rows().size(), w.state().recorder().record().turns.size());
    EXPECT_TRUE(find<QLabel>(*again, "label_review_progress")->text().startsWith("Stopped"));
    again->close();
}

TEST(ReviewWindowTest, TheReplayOfASavedGameHasAnAnalyseButton) {
    const std::vector<std::string> messages = botGameMessages(5);
    Window win;
    Tchat& w = win.w;
    for (const std::string& m : messages)
        feed(w, m);
    ASSERT_FALSE(w.lastSavedRecord().isEmpty());
    w.setFileDialogHook([&](bool, const QString&) { return w.lastSavedRecord(); });
    w.findChild<QAction*>("OpenGameRecord1")->trigger();
    QCoreApplication::processEvents();
    auto* replay = w.findChild<ReplayWindow*>();
    ASSERT_TRUE(replay);
    auto* analyse = find<QPushButton>(*replay, "button_replay_analyse");
    EXPECT_EQ(analyse->text(), "Analyse");
    EXPECT_FALSE(analyse->accessibleName().isEmpty());
    QTest::mouseClick(analyse, Qt::LeftButton);
    QCoreApplication::processEvents();
    auto* review = replay->findChild<ReviewWindow*>();
    ASSERT_TRUE(review);
    ASSERT_TRUE(waitForReview(review));
    EXPECT_EQ(review->rows().size(), w.state().recorder().record().turns.size());
    // The saved file's review is the live record's review.
    const std::vector<review::ReviewRow> live = review::reviewGame(w.state().recorder().record());
    for (std::size_t i = 0; i < live.size(); ++i) {
        EXPECT_EQ(review->rows()[i].played, live[i].played);
        EXPECT_EQ(review->rows()[i].loss, live[i].loss);
    }
    replay->close();
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    g_dataDir = &data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    qputenv("BG_CONFIG_DIR", data.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setApplicationName("Backgammon");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
