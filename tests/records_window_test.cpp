// Game records at the real main window, offscreen: a seeded bot game fed to the window as the
// host sends it fills the move list, marks the bot's last play until the next throw, and is
// saved by itself when it ends; the saved file opens from the File menu in the replay window,
// which steps by its buttons, the arrow keys, Home and End; a damaged file gets a message box
// with its line and no window.

#include "matchfile.h"
#include "notation.h"
#include "protocol.h"
#include "replaywindow.h"
#include "sim_games.h"
#include "tchat.h"
#include "windows/tmovelist.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

using namespace bg;

namespace {

QTemporaryDir* g_dataDir = nullptr;

// Every message the host sends the watcher in seat 1 during a seeded bot game.
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

void trigger(Tchat& w, const QString& name) {
    auto* a = w.findChild<QAction*>(name);
    ASSERT_TRUE(a) << name.toStdString();
    a->trigger();
    QCoreApplication::processEvents(); // the file items answer from the event loop
}

// The checkers' spoken names, sorted: the position as a screen reader hears it.
QStringList spokenPosition(const QWidget& replay) {
    QStringList names;
    for (const QLabel* c : replay.findChildren<QLabel*>())
        if (c->objectName().startsWith("replay_piece_") && !c->isHidden())
            names << c->accessibleName();
    names.sort();
    return names;
}
QStringList spokenMainBoard(const Tchat& w) {
    QStringList names;
    for (int p = 1; p <= 2; ++p)
        for (int id = 1; id <= kPieces; ++id)
            names << find(w, QString("piece_%1%2").arg(p).arg(id))->accessibleName();
    names.sort();
    return names;
}

struct Window {
    QString settings = g_dataDir->filePath("window.ini");
    Tchat w;
    QStringList boxes;
    Window() {
        QFile::remove(settings);
        w.setSettingsPath(settings);
        w.setMessageBoxHook([this](const QString& t) { boxes << t; });
        w.resize(800, 600);
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    }
};

} // namespace

TEST(RecordsWindow, MoveListMarksAndTheGameSavedByItself) {
    const std::vector<std::string> messages = botGameMessages(11);
    Window win;
    Tchat& w = win.w;
    trigger(w, "MoveList1");
    Tmovelist* list = w.moveList();
    ASSERT_TRUE(list && list->isVisible());
    EXPECT_EQ(list->list()->accessibleName(), "Move List");

    bool sawMarks = false, sawCleared = false;
    for (const std::string& m : messages) {
        feed(w, m);
        const rec::Turn* play = w.state().recorder().lastPlay();
        // The bot (seat 2) plays against this seat: its last play is marked until a throw.
        if (m.starts_with("CMD_nextplayer+1") && play && play->mover == 2 && !play->steps.empty()) {
            for (const rec::Step& s : play->steps)
                ASSERT_TRUE(w.checkerMarked(2, s.piece)) << m;
            // Every point a checker left, and did not land on again, is outlined.
            const std::vector<int>& left = w.lastPlayPoints();
            for (const rec::Step& s : play->steps) {
                const bool landedOn =
                    std::any_of(play->steps.begin(), play->steps.end(),
                                [&](const rec::Step& o) { return o.to == s.from; });
                if (s.origin == rec::Origin::Point && !landedOn) {
                    EXPECT_NE(std::find(left.begin(), left.end(), s.from), left.end()) << m;
                }
            }
            sawMarks = true;
        }
        if (m.starts_with("CMD_threwdice+1+") && sawMarks) {
            for (int id = 1; id <= kPieces; ++id)
                ASSERT_FALSE(w.checkerMarked(2, id));
            EXPECT_TRUE(w.lastPlayPoints().empty());
            sawCleared = true;
        }
        // The list follows every message, its last line in view.
        if (list->list()->count() > 0 && m.starts_with("CMD_nextplayer")) {
            QListWidget* l = list->list();
            const QRect last = l->visualItemRect(l->item(l->count() - 1));
            ASSERT_TRUE(l->viewport()->rect().intersects(last)) << l->count();
        }
    }
    EXPECT_TRUE(sawMarks);
    EXPECT_TRUE(sawCleared);
    const rec::GameRecord& record = w.state().recorder().record();
    ASSERT_TRUE(record.finished());
    QStringList expected;
    for (const std::string& l : rec::moveList(record))
        expected << QString::fromStdString(l);
    EXPECT_EQ(list->lines(), expected);
    EXPECT_TRUE(expected.back().endsWith("wins the game"));

    // Saved by itself, in the data folder of this run, named by date, time and players.
    const QString saved = w.lastSavedRecord();
    ASSERT_FALSE(saved.isEmpty());
    EXPECT_TRUE(saved.startsWith(g_dataDir->path())) << saved.toStdString();
    EXPECT_TRUE(saved.contains("/games/")) << saved.toStdString();
    EXPECT_TRUE(saved.endsWith(" Watcher vs Zobo.mat")) << saved.toStdString();
    EXPECT_FALSE(QFile::exists(saved + ".part"));
    QFile f(saved);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const rec::ReadResult back = rec::readMatch(f.readAll().toStdString());
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(rec::positionsOf(back.record).back(), rec::positionsOf(record).back());

    // Mark Last Play: on by default, off takes the marks away and is kept in the settings.
    auto* mark = w.findChild<QAction*>("MarkLastPlay1");
    ASSERT_TRUE(mark && mark->isCheckable());
    EXPECT_TRUE(mark->isChecked());
    mark->trigger();
    EXPECT_FALSE(mark->isChecked());
    QFile ini(win.settings);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("MarkLastPlay=false"));
    for (int p = 1; p <= 2; ++p)
        for (int id = 1; id <= kPieces; ++id)
            EXPECT_FALSE(w.checkerMarked(p, id));
}

TEST(RecordsWindow, ReplayStepsByButtonsKeysHomeAndEnd) {
    const std::vector<std::string> messages = botGameMessages(5);
    Window win;
    Tchat& w = win.w;
    for (const std::string& m : messages)
        feed(w, m);
    ASSERT_FALSE(w.lastSavedRecord().isEmpty());
    const QStringList finalBoard = spokenMainBoard(w);

    // Save As writes the same game where the user says.
    const QString chosen = g_dataDir->filePath("chosen.mat");
    QString suggested;
    w.setFileDialogHook([&](bool save, const QString& s) {
        suggested = s;
        return save ? chosen : w.lastSavedRecord();
    });
    trigger(w, "SaveGameRecordAs1");
    EXPECT_TRUE(suggested.endsWith("Watcher vs Zobo.mat"));
    ASSERT_TRUE(QFile::exists(chosen));

    trigger(w, "OpenGameRecord1");
    EXPECT_TRUE(win.boxes.isEmpty()) << win.boxes.join("|").toStdString();
    auto* replay = w.findChild<ReplayWindow*>();
    ASSERT_TRUE(replay);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(replay));
    const int turns = static_cast<int>(w.state().recorder().record().turns.size());
    EXPECT_EQ(replay->steps(), turns);
    auto* where = find<QLabel>(*replay, "label_replay_step");
    auto* forward = find<QPushButton>(*replay, "button_replay_forward");
    auto* back = find<QPushButton>(*replay, "button_replay_back");
    auto* moves = find<QListWidget>(*replay, "list_replay_moves");
    for (const char* name : {"button_replay_first", "button_replay_back", "button_replay_forward",
                             "button_replay_last", "list_replay_moves"})
        EXPECT_FALSE(find(*replay, name)->accessibleName().isEmpty()) << name;

    EXPECT_EQ(where->text(), "The first position");
    EXPECT_EQ(spokenPosition(*replay).count("White checker on point 12"), 5);
    EXPECT_FALSE(back->isEnabled());
    QTest::mouseClick(forward, Qt::LeftButton);
    QTest::mouseClick(forward, Qt::LeftButton);
    EXPECT_EQ(replay->step(), 2);
    EXPECT_EQ(where->text(), QString("After turn 2 of %1").arg(turns));
    EXPECT_EQ(moves->currentRow(), 2) << "row 0 is the first position";
    EXPECT_EQ(moves->currentItem()->text().toStdString(),
              rec::moveList(w.state().recorder().record())[1]);
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(replay->step(), 1);
    // The keys work wherever the focus is, in the list too.
    moves->setFocus();
    QTest::keyClick(moves, Qt::Key_Right);
    EXPECT_EQ(replay->step(), 2);
    QTest::keyClick(moves, Qt::Key_Left);
    EXPECT_EQ(replay->step(), 1);
    QTest::keyClick(replay, Qt::Key_End);
    EXPECT_EQ(replay->step(), turns);
    EXPECT_FALSE(forward->isEnabled());
    EXPECT_EQ(spokenPosition(*replay), finalBoard);
    QTest::keyClick(forward->isEnabled() ? forward : static_cast<QWidget*>(replay), Qt::Key_Home);
    EXPECT_EQ(replay->step(), 0);
    // A line picked in the move list shows the position after that turn.
    moves->setCurrentRow(5);
    EXPECT_EQ(replay->step(), 5);
    replay->close();
}

TEST(RecordsWindow, ADamagedFileGetsItsLineInAMessageBoxAndNothingElse) {
    Window win;
    Tchat& w = win.w;
    const QString path = g_dataDir->filePath("damaged.mat");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(" 1 point match\n\n Game 1\n Ann : 0                      Bob : 0\n"
            "  1) 31: 8/5 6/5                  52: 13/8 14/11\n");
    f.close();
    w.setFileDialogHook([&](bool, const QString&) { return path; });
    trigger(w, "OpenGameRecord1");
    ASSERT_EQ(win.boxes.size(), 1);
    EXPECT_TRUE(win.boxes[0].contains("damaged.mat")) << win.boxes[0].toStdString();
    EXPECT_TRUE(win.boxes[0].contains("line 5")) << win.boxes[0].toStdString();
    EXPECT_TRUE(win.boxes[0].contains("14/11")) << win.boxes[0].toStdString();
    EXPECT_EQ(w.findChild<ReplayWindow*>(), nullptr);
    // Not a file at all, and no game to save yet.
    w.setFileDialogHook([&](bool, const QString&) { return g_dataDir->filePath("missing.mat"); });
    trigger(w, "OpenGameRecord1");
    ASSERT_EQ(win.boxes.size(), 2);
    EXPECT_TRUE(win.boxes[1].contains("cannot be opened"));
    trigger(w, "SaveGameRecordAs1");
    ASSERT_EQ(win.boxes.size(), 3);
    EXPECT_EQ(win.boxes[2], "There is no game to save yet.");
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The saved games and the settings go to a folder of this run only.
    QTemporaryDir data;
    g_dataDir = &data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    qputenv("BG_CONFIG_DIR", data.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setApplicationName("Backgammon");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
