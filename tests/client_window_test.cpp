// The real main window, offscreen: its controls, whole bot games replayed into it from the
// host engine message by message, the full-board rebuild, and start-up against a real host
// on loopback.

#include "boardgeometry.h"
#include "artwork.h"
#include "hostshell.h"
#include "programwindows.h"
#include "protocol.h"
#include "sim_games.h"
#include "singleinstance.h"
#include "tchat.h"
#include "download/tdownload.h"
#include "tally/ttallylist.h"
#include "windows/tabout.h"
#include "windows/tgamestart.h"
#include "windows/thelp.h"
#include "windows/tspylist.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace bg;
namespace geo = bg::geo;

namespace {

constexpr int kWaitMs = 10000; // generous: only a hang would reach it

QWidget* child(const Tchat& w, const QString& name) {
    QWidget* c = w.findChild<QWidget*>(name);
    if (!c) ADD_FAILURE() << "no control " << name.toStdString();
    return c;
}
QString text(const Tchat& w, const QString& name) {
    auto* l = qobject_cast<QLabel*>(child(w, name));
    return l ? l->text() : QString();
}
bool shown(const Tchat& w, const QString& name) {
    QWidget* c = child(w, name);
    return c && !c->isHidden();
}
QPoint at(const Tchat& w, int p, int id) {
    QWidget* c = child(w, QString("piece_%1%2").arg(p).arg(id));
    return c ? c->pos() : QPoint(-999, -999);
}
void deliver(Tchat& w, std::string_view m) {
    w.sockRead(frame(m));
    w.drainQueue();
}

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

struct Compare {
    bool barByRank = false;  // the full-board message numbers bar entries 1, 2, ... in order
    bool homeAtBase = false; // ... and gives borne-off checkers level 0
};

// Every checker picture of the window against the host's own board; empty when all agree.
std::string mismatch(const Tchat& w, const Board& b, Compare how = {}) {
    for (int p = 1; p <= 2; ++p) {
        std::set<int> homeTops, expectedHome;
        for (int k = 1; k <= b.side[p].homecount; ++k)
            expectedHome.insert(how.homeAtBase ? geo::bearOffPileTop(p, 0)
                                               : geo::bearOffPileTop(p, k));
        int rank = 0;
        std::array<int, kPieces + 1> barSlot{};
        for (int k = 1; k <= kPieces; ++k)
            if (b.side[p].bar[k] != 0) barSlot[b.side[p].bar[k]] = how.barByRank ? ++rank : k;
        for (int id = 1; id <= kPieces; ++id) {
            const Pawn pw = b.side[p].pawns[id];
            const QPoint got = at(w, p, id);
            QPoint want;
            std::string where;
            if (barSlot[id]) {
                want = {geo::kBarLeft, geo::barTop(p, barSlot[id])};
                where = "bar";
            } else if (isBoardPoint(pw.point)) {
                want = {geo::getleft(pw.point), geo::gettop(pw.point, pw.level)};
                where = "point " + std::to_string(pw.point);
                const Cell c = w.state().grid(pw.point, pw.level);
                if (c != Cell{p, id})
                    return "grid differs at " + where + " level " + std::to_string(pw.level) +
                           ": " + std::to_string(c.player) + "/" + std::to_string(c.piece) +
                           " instead of " + std::to_string(p) + "/" + std::to_string(id);
            } else if (pw.point == pilePoint(p)) {
                want = {geo::kPileLeft, geo::startPileTop(p, pw.level)};
                where = "start pile";
            } else if (pw.point == homePoint(p)) {
                if (got.x() != geo::kPileLeft) return "borne-off checker not on the pile";
                homeTops.insert(got.y());
                continue;
            } else {
                return "host piece in an unknown place";
            }
            if (got != want)
                return "player " + std::to_string(p) + " piece " + std::to_string(id) + " on " +
                       where + " at " + std::to_string(got.x()) + "," + std::to_string(got.y()) +
                       " instead of " + std::to_string(want.x()) + "," + std::to_string(want.y());
        }
        if (how.homeAtBase ? !(homeTops.size() <= 1 &&
                               (homeTops.empty() || *homeTops.begin() == *expectedHome.begin()))
                           : homeTops != expectedHome)
            return "borne-off pile of player " + std::to_string(p) + " differs";
    }
    // No checker of the window stands on a board point the host has empty.
    for (int t = 1; t <= 24; ++t)
        for (int l = 1; l <= kLevels; ++l)
            if (b.boardgrid[t][l].empty() && !w.state().grid(t, l).empty())
                return "stale cell at point " + std::to_string(t);
    return {};
}

// Replays one bot-against-bot game into `w`, which is seat 1 just watching. `probe` runs after
// every host step with the host's board; replay stops when it returns false.
struct Replay {
    long steps = 0;
    bool finished = false;
    std::string fault;
};
Replay replay(Tchat& w, sim::Sim& s, bool acey,
              const std::function<bool(const Board&)>& probe = {}) {
    Replay r;
    std::vector<std::string> pending;
    s.outbox.record = false;
    s.outbox.onSend = [&](int seat, std::string_view m) {
        if (seat == 1) pending.emplace_back(m);
        if (m.starts_with("CMD_winner+")) r.finished = true;
    };
    auto flush = [&] {
        for (const std::string& m : pending)
            w.sockRead(frame(m));
        pending.clear();
        w.drainQueue();
    };
    s.join("Watcher");
    s.send(1, msg::startgame("Watcher", "120", acey ? "1" : "0"));
    s.send(1, msg::justwatch(1, 1));
    s.settle();
    flush();
    bool go = true;
    while (s.host->gamerunning() && go && r.fault.empty() && r.steps < sim::kMaxEventsPerGame)
        s.run(60000, [&] {
            if (!go || !r.fault.empty()) return;
            ++r.steps;
            flush();
            r.fault = mismatch(w, s.host->board());
            if (probe && !probe(s.host->board())) go = false;
        });
    flush();
    s.outbox.onSend = nullptr;
    return r;
}

} // namespace

TEST(ClientWindow, ControlsAreNamedAndStartHidden) {
    Tchat w;
    EXPECT_EQ(w.windowTitle(), "Backgammon");
    ASSERT_NE(w.boardPanel(), nullptr);
    EXPECT_EQ(w.boardPanel()->objectName(), "panel_board");
    EXPECT_EQ(w.boardPanel()->size(), QSize(763, 548));
    EXPECT_EQ(child(w, "image_mainboard")->geometry(), QRect(8, 19, 753, 322));
    for (int p = 1; p <= 2; ++p)
        for (int id = 1; id <= kPieces; ++id) {
            QWidget* c = child(w, QString("piece_%1%2").arg(p).arg(id));
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->size(), QSize(21, 20));
            EXPECT_EQ(c->property("hint").toString(), QString::number(p));
            // At creation every checker lies on its home pile at the level of its number.
            EXPECT_EQ(c->pos(), QPoint(708, 6 * id + (p == 1 ? 206 : 38)));
        }
    for (const char* hidden : {"dice1",
                               "dice2",
                               "image_double1",
                               "image_double2",
                               "image_cup",
                               "moveit_1",
                               "moveit_2",
                               "image_home11",
                               "image_home12",
                               "image_home21",
                               "image_home22",
                               "button_undo",
                               "image_turn",
                               "image_eyes1",
                               "image_eyes2",
                               "panel_winner",
                               "panel_choosedouble",
                               "label_timer",
                               "image_direction1",
                               "image_direction2",
                               "button_concede1",
                               "button_concede2"})
        EXPECT_FALSE(shown(w, hidden)) << hidden;
    EXPECT_EQ(text(w, "label_gt"), "GOOD LUCK!");
    EXPECT_EQ(text(w, "label_status"), "Welcome to Backgammon");
    EXPECT_EQ(text(w, "label_playername1"), "<Waiting>");
    EXPECT_EQ(text(w, "label_pips2"), "Pips: 167");
    EXPECT_EQ(child(w, "label_playername1")->pos(), QPoint(532, 343));
    EXPECT_EQ(child(w, "label_pips2")->pos(), QPoint(628, 1));
    EXPECT_EQ(child(w, "panel_choosedouble")->geometry(), QRect(184, 141, 361, 91));
    for (int v = 1; v <= 6; ++v)
        EXPECT_NE(w.findChild<QWidget*>(QString("image_choose%1").arg(v)), nullptr);
    EXPECT_NE(w.findChild<QAction*>("StartGame1"), nullptr);
    EXPECT_NE(w.findChild<QAction*>("ResetScreenLocation1"), nullptr);
    EXPECT_EQ(w.botDelayMs(), kDefaultBotDelayMs);
    w.findChild<QAction*>("Fast1")->trigger();
    EXPECT_EQ(w.botDelayMs(), 500);
    w.findChild<QAction*>("Limited1")->trigger();
    EXPECT_FALSE(w.botNotLimited());
    EXPECT_EQ(w.botAbility(), kAbilityLimited);
    QAction* strong = w.findChild<QAction*>("Strong1");
    ASSERT_NE(strong, nullptr);
    EXPECT_EQ(strong->text(), "Strong");
    strong->trigger();
    EXPECT_EQ(w.botAbility(), kAbilityStrong);
    EXPECT_TRUE(w.botNotLimited());
    EXPECT_FALSE(w.findChild<QAction*>("Limited1")->isChecked());
}

TEST(ClientWindow, PhraseGateReopensAfterTwoSecondsOfTimeNotTicks) {
    Tchat w;
    auto now = bg::PhraseGate::Clock::now();
    w.setPhraseGateClock([&now] { return now; });
    EXPECT_TRUE(w.phraseGateOpen());
    w.closePhraseGate();
    for (int tick = 1; tick <= 1000; ++tick)
        w.Timer1Timer();
    EXPECT_FALSE(w.phraseGateOpen());
    now += std::chrono::milliseconds(1999);
    EXPECT_FALSE(w.phraseGateOpen());
    now += std::chrono::milliseconds(1);
    EXPECT_TRUE(w.phraseGateOpen());
}

// "View Tally" on a tally window that is open already: the players of the game as they are
// now, and the window in front.
TEST(ClientWindow, ViewTallyAgainRefreshesTheOpenWindowAndBringsItForward) {
    QTemporaryDir dir;
    Tchat w;
    Ttallylist tally(&w, dir.filePath("Backgammontally.tld"));
    QStringList seats{"Me", "Ann"};
    tally.setSeatSource([&seats] { return Ttallylist::Seats{seats, 1}; });
    w.setWindows({.tally = &tally});
    w.connectWindows();
    w.show();
    QAction* view = w.findChild<QAction*>("ViewTally1");
    ASSERT_NE(view, nullptr);
    view->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tally));
    auto* current = tally.findChild<QListWidget*>("checklist");
    ASSERT_NE(current, nullptr);
    ASSERT_EQ(current->count(), 1);
    EXPECT_EQ(current->item(0)->text(), "Ann");

    seats = {"Me", "Bob"};
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    view->trigger();
    ASSERT_EQ(current->count(), 1);
    EXPECT_EQ(current->item(0)->text(), "Bob");
    EXPECT_TRUE(QTest::qWaitForWindowActive(&tally));
    tally.close();
}

// The windows as the program makes them: the game start dialog wears the main window's tile
// like help and about; the spectator list keeps its size.
TEST(ClientWindow, GameStartIsTiledAndTheSpyListIsAFixedDialog) {
    Tchat w;
    Tchat::Windows windows = programWindows(w, nullptr);
    const QImage tile = art::backgroundTile(w.devicePixelRatioF()).toImage();
    for (QWidget* made : std::initializer_list<QWidget*>{windows.gamestart.get(),
                                                         windows.help.get(), windows.about.get()}) {
        ASSERT_NE(made, nullptr);
        const QBrush brush = made->palette().brush(QPalette::Window);
        EXPECT_EQ(brush.style(), Qt::TexturePattern) << made->objectName().toStdString();
        EXPECT_EQ(brush.texture().toImage(), tile) << made->objectName().toStdString();
        EXPECT_TRUE(made->autoFillBackground());
    }
    Tspylist* spies = windows.spylist.get();
    ASSERT_NE(spies, nullptr);
    EXPECT_EQ(spies->minimumSize(), spies->maximumSize());
    spies->show();
    const QSize shown = spies->size();
    spies->resize(shown + QSize(100, 100));
    EXPECT_EQ(spies->size(), shown);
    spies->hide();
}

TEST(ClientWindow, WindowNeverShrinksBelowTheBoardAndResets) {
    Tchat w;
    w.show();
    w.resize(300, 200);
    QApplication::processEvents();
    EXPECT_GE(w.centralWidget()->width(), geo::kMinClientWidth);
    EXPECT_GE(w.centralWidget()->height(), geo::kMinClientHeight);
    w.findChild<QAction*>("ResetScreenLocation1")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(w.size(), QSize(774, 595));
    w.close();
}

TEST(ClientWindow, GameEventsDriveTheControls) {
    Tchat w;
    deliver(w, msg::sendlogininfo(1));
    deliver(w, msg::newplayerinfo(1, "You"));
    deliver(w, msg::startgame("You", "120", "0"));
    EXPECT_EQ(text(w, "label_playername2"), "Zobo");
    EXPECT_TRUE(shown(w, "image_direction1"));
    EXPECT_TRUE(shown(w, "button_concede1"));
    EXPECT_FALSE(shown(w, "button_concede2"));
    EXPECT_EQ(at(w, 2, 15), QPoint(geo::getleft(24), geo::gettop(24, 2)));
    deliver(w, msg::firstroll(6, 2, 1, true));
    EXPECT_EQ(text(w, "label_status"), "You play first - Your Turn Now");
    EXPECT_FALSE(shown(w, "image_direction1"));
    EXPECT_EQ(child(w, "dice1")->pos(), QPoint(291, 149));
    EXPECT_EQ(child(w, "image_turn")->pos(), QPoint(496, 341));
    EXPECT_EQ(w.sounds().last(), "turn");
    deliver(w, msg::nextplayer(1));
    EXPECT_TRUE(shown(w, "image_cup"));
    EXPECT_EQ(child(w, "image_cup")->pos(), QPoint(262, 146));
    deliver(w, msg::threwdice(1, Dice{5, 5, 5, 5}, true));
    EXPECT_FALSE(shown(w, "image_cup"));
    EXPECT_TRUE(shown(w, "image_double1") && shown(w, "image_double2"));
    EXPECT_EQ(child(w, "image_double2")->pos(), QPoint(275, 148));
    deliver(w, msg::movehispiece({1, 1, 2, 162, 5, 12, 5, 17, 4}, Dice{5, 5, 5, 0}, true));
    EXPECT_TRUE(shown(w, "button_undo"));
    EXPECT_EQ(text(w, "label_pips1"), "Pips: 162");
    EXPECT_EQ(at(w, 1, 5), QPoint(geo::getleft(17), geo::gettop(17, 4)));
    deliver(w, msg::thetime(1));
    EXPECT_TRUE(shown(w, "label_timer"));
    deliver(w, msg::choosedouble(1));
    EXPECT_TRUE(shown(w, "panel_choosedouble"));
    deliver(w, msg::winner("Zobo"));
    EXPECT_TRUE(shown(w, "panel_winner"));
    EXPECT_EQ(text(w, "label_winner1"), "Zobo has Won the Game!");
    EXPECT_EQ(text(w, "label_winner2"), "Zobo has Won the Game!");
    EXPECT_FALSE(shown(w, "label_timer") || shown(w, "button_concede1") || shown(w, "dice1"));
}

TEST(ClientWindow, FixedTextsFitTheirLabels) {
    Tchat w;
    w.show();
    auto fits = [&](const QString& name, const QString& t) {
        auto* l = qobject_cast<QLabel*>(child(w, name));
        if (!l) return false;
        l->ensurePolished();
        return QFontMetrics(l->font()).horizontalAdvance(t) <= l->width();
    };
    for (const char* t :
         {"Welcome to Backgammon", "You play first - Your Turn Now",
          "You play first - No Valid Moves", "Cannot move off the bar - Turn Over.",
          "Cannot place your pieces into home yet.", "You must move exactly into home if able.",
          "You must move home from the highest point.", "Out of Time - Bot will play for you."})
        EXPECT_TRUE(fits("label_status", t)) << t;
    EXPECT_TRUE(fits("label_gt", "ACEY DEUCY"));
    EXPECT_TRUE(fits("label_gt", "GOOD LUCK!"));
    EXPECT_TRUE(fits("label_timer", "TIME IS RUNNING OUT"));
    EXPECT_TRUE(fits("label_pips1", "Pips: 375"));
    EXPECT_TRUE(fits("label_winner1", "Good Game Everyone has Won the Game!"));
    w.close();
}

TEST(ClientWindow, TurnSoundFollowsTheMenuChoiceAtOnce) {
    Tchat w;
    deliver(w, msg::sendlogininfo(1));
    deliver(w, msg::startgame("You", "120", "0"));
    // The choice made between two host messages counts for the very next turn.
    w.findChild<QAction*>("New1")->trigger();
    deliver(w, msg::nextplayer(1));
    EXPECT_EQ(w.sounds().last(), "turnnew");
    w.findChild<QAction*>("Classic1")->trigger();
    deliver(w, msg::nextplayer(1));
    EXPECT_EQ(w.sounds().last(), "turn");
}

// With BG_SHOT_DIR set, a picture of the window in the middle of the game is saved there.
void snapshot(Tchat& w, const QString& name) {
    const QString dir = qEnvironmentVariable("BG_SHOT_DIR");
    if (dir.isEmpty()) return;
    w.setParams({"Watcher", "127.0.0.1"}); // showing it must not connect anywhere
    w.show();
    QApplication::processEvents();
    w.grab().save(dir + "/" + name);
}

TEST(ClientWindow, WholeNormalGameReplaysWithoutDrift) {
    for (unsigned seed : {3u, 11u}) {
        Tchat w;
        sim::Sim s(seed, 500);
        int steps = 0;
        const Replay r = replay(w, s, false, [&](const Board&) {
            if (++steps == 170) snapshot(w, QString("midgame-%1.png").arg(seed));
            return true;
        });
        EXPECT_EQ(r.fault, "") << "seed " << seed;
        EXPECT_TRUE(r.finished) << "seed " << seed;
        EXPECT_GT(r.steps, 50);
        EXPECT_TRUE(shown(w, "panel_winner"));
    }
}

TEST(ClientWindow, WholeAceyGameReplaysWithoutDrift) {
    for (unsigned seed : {5u, 8u}) {
        Tchat w;
        sim::Sim s(seed, 500);
        int steps = 0;
        const Replay r = replay(w, s, true, [&](const Board&) {
            if (++steps == 170) snapshot(w, QString("acey-%1.png").arg(seed));
            return true;
        });
        EXPECT_EQ(r.fault, "") << "seed " << seed;
        EXPECT_TRUE(r.finished) << "seed " << seed;
        EXPECT_EQ(text(w, "label_gt"), "ACEY DEUCY");
    }
}

TEST(ClientWindow, FullBoardMidGameRestoresThePositionExactly) {
    for (bool acey : {false, true}) {
        // A window that has seen a different game, then gets the full board of this one.
        Tchat spy;
        deliver(spy, msg::sendlogininfo(3));
        {
            Tchat scratch;
            sim::Sim other(99, 500);
            int n = 0;
            replay(scratch, other, !acey, [&](const Board& b) {
                if (++n == 60) {
                    Board copy = b;
                    deliver(spy, msg::loadboard(3, copy));
                }
                return n < 60;
            });
        }
        Tchat seat;
        deliver(seat, msg::sendlogininfo(1));
        sim::Sim s(21, 500);
        bool sawBar = false;
        int steps = 0;
        std::string fault;
        replay(seat, s, acey, [&](const Board& b) {
            ++steps;
            const bool bar = !b.side[1].barEmpty() || !b.side[2].barEmpty();
            if (steps < 80 && !bar) return true;
            sawBar = bar;
            deliver(spy, msg::loadboard(3, b));
            fault = mismatch(spy, b, {true, true});

            return false;
        });
        EXPECT_EQ(fault, "") << (acey ? "acey" : "normal");
        EXPECT_FALSE(shown(spy, "button_concede1") || shown(spy, "button_concede2"));
        EXPECT_EQ(text(spy, "label_gt"), acey ? "ACEY DEUCY" : "");
        if (!sawBar) GTEST_LOG_(INFO) << "no checker on the bar at the probe";
    }
}

TEST(ClientWindow, ConnectionLossAndFullGameCloseTheWindow) {
    Tchat w;
    QSignalSpy closed(&w, &Tchat::closedForGood);
    QStringList boxes;
    w.setMessageBoxHook([&](const QString& t) { boxes << t; });
    w.show();
    deliver(w, msg::full());
    EXPECT_EQ(boxes, QStringList{"Game is full"});
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(w.isVisible());

    Tchat v;
    QSignalSpy closed2(&v, &Tchat::closedForGood);
    v.show();
    v.sockInfo("Non-Blocking Incoming Data");
    EXPECT_TRUE(v.isVisible());
    v.sockInfo("Socket Closed");
    EXPECT_EQ(closed2.count(), 1);
    EXPECT_FALSE(v.isVisible());

    // The host drops a refused connection right behind "CMD_full": the box stays readable and
    // the window closes once it has been dismissed.
    Tchat u;
    QSignalSpy closed3(&u, &Tchat::closedForGood);
    bool openWhileBoxShown = false;
    u.setMessageBoxHook([&](const QString&) {
        u.sockInfo("Socket Closed");
        openWhileBoxShown = u.isVisible() && closed3.count() == 0;
    });
    u.show();
    deliver(u, msg::full());
    EXPECT_TRUE(openWhileBoxShown);
    EXPECT_EQ(closed3.count(), 1);
    EXPECT_FALSE(u.isVisible());
}

TEST(ClientStartup, SecondaryWindowsAreMadeOnceWhenFirstNeeded) {
    Tchat w;
    int helps = 0, abouts = 0, lists = 0;
    w.setWindows({
        .spylist = LazyWindow<Tspylist>::madeBy([&] { ++lists; return new Tspylist(&w); }),
        .help = LazyWindow<Thelp>::madeBy([&] { ++helps; return new Thelp(&w); }),
        .about = LazyWindow<Tabout>::madeBy([&] { ++abouts; return new Tabout(&w); }),
    });
    w.connectWindows();
    EXPECT_EQ(helps + abouts + lists, 0);
    EXPECT_EQ(w.findChild<Thelp*>(), nullptr);

    w.findChild<QAction*>("Help2")->trigger();
    auto* help = w.findChild<Thelp*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(abouts, 0);
    // The help window's own link to the about window reaches one made on the spot.
    emit help->aboutRequested();
    ASSERT_NE(w.findChild<Tabout*>(), nullptr);
    EXPECT_TRUE(w.findChild<Tabout*>()->isVisible());
    w.findChild<QAction*>("Help2")->trigger();
    w.findChild<QAction*>("About1")->trigger();
    EXPECT_EQ(helps, 1);
    EXPECT_EQ(abouts, 1);

    w.findChild<QAction*>("SpyList1")->trigger();
    EXPECT_EQ(lists, 1);
    ASSERT_NE(w.findChild<Tspylist*>(), nullptr);
    EXPECT_TRUE(w.findChild<Tspylist*>()->isVisible());
}

TEST(ClientStartup, SoloStartHostsAndLogsInAsYou) {
    const quint16 port = freePort();
    Tchat w;
    FixedBotSettings fast(100);
    HostShell host(fast);
    Tgamestart start(&w);
    Tspylist spies(&w);
    struct PaintSeen : QObject {
        bool seen = false;
        bool eventFilter(QObject*, QEvent* e) override {
            seen = seen || e->type() == QEvent::Paint;
            return false;
        }
    } painted;
    w.installEventFilter(&painted);
    bool paintedBeforeLobbyWindow = false;
    w.setWindows({.spylist = &spies,
                  .gamestart = &start,
                  .download = LazyWindow<Tdownload>::madeBy([&] {
                      paintedBeforeLobbyWindow = painted.seen;
                      return new Tdownload(&w);
                  })});
    w.connectWindows();
    w.setGamePort(port);
    w.setHostStarter([&](quint16 p) { return host.listen(p); });
    w.setParams({});
    w.show(); // processparams runs on the first show
    EXPECT_EQ(w.findChild<Tdownload*>(), nullptr); // the board paints first
    ASSERT_TRUE(QTest::qWaitFor([&] { return text(w, "label_playername1") == "You"; }, kWaitMs));
    // A solo start offers the lobby download, in a window of its own, once the board is up.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return w.findChild<Tdownload*>() && w.findChild<Tdownload*>()->isVisible(); },
        kWaitMs));
    EXPECT_TRUE(paintedBeforeLobbyWindow);
    EXPECT_TRUE(w.state().hosting());
    EXPECT_EQ(w.state().myplayer(), 1);
    EXPECT_TRUE(shown(w, "button_start"));
    const QString chat = w.findChild<QTextBrowser*>("mainchat")->toPlainText();
    EXPECT_TRUE(chat.contains("Loading Solo Game..Please wait.")) << chat.toStdString();
    EXPECT_TRUE(chat.contains("You are Connected."));
    EXPECT_TRUE(w.findChild<QAction*>("StartGame1")->isEnabled());
    start.button_startClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return text(w, "label_playername2") == "Zobo"; }, kWaitMs));
    EXPECT_TRUE(shown(w, "image_direction1"));
    EXPECT_TRUE(
        w.findChild<QTextBrowser*>("mainchat")->toPlainText().contains("You has started a game."));
    w.close();
}

TEST(ClientStartup, HostAndJoinerSeeEachOtherAndTheJoinerEndsWithTheHost) {
    const quint16 port = freePort();
    Tchat joiner;
    QSignalSpy joinerClosed(&joiner, &Tchat::closedForGood);
    {
        Tchat alice;
        FixedBotSettings settings;
        HostShell host(settings);
        alice.setGamePort(port);
        alice.setHostStarter([&](quint16 p) { return host.listen(p); });
        alice.setParams({"Alice", "127.0.0.1", "true"});
        alice.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return alice.state().loggedin(); }, kWaitMs));
        joiner.setGamePort(port);
        joiner.setParams({"Bob", "127.0.0.1", "false"});
        joiner.show();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return text(alice, "label_playername2") == "Bob" &&
                       text(joiner, "label_playername1") == "Alice";
            },
            kWaitMs));
        EXPECT_EQ(text(joiner, "label_playername2"), "Bob");
        EXPECT_EQ(joiner.state().myplayer(), 2);
        EXPECT_FALSE(joiner.state().hosting());
        EXPECT_FALSE(shown(joiner, "button_start"));
        EXPECT_TRUE(shown(alice, "button_start"));
        EXPECT_TRUE(joiner.findChild<QTextBrowser*>("mainchat")
                        ->toPlainText()
                        .contains("Alice is Connected."));
        // The host goes away with its window.
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return joinerClosed.count() == 1; }, kWaitMs));
    EXPECT_FALSE(joiner.isVisible());
}

TEST(ClientStartup, CommandLineRoles) {
    struct Case {
        QStringList params;
        bool hosts;
        bool connects;
    };
    for (const Case& c : {Case{{"Bob", "127.0.0.1", "True"}, false, true},
                          Case{{"Bob", "127.0.0.1", "true", "extra"}, true, true},
                          Case{{"Bob", "127.0.0.1"}, false, false}}) {
        Tchat w;
        bool listened = false;
        w.setGamePort(freePort());
        w.setHostStarter([&](quint16) { return listened = true; });
        w.setParams(c.params);
        w.show();
        EXPECT_EQ(w.state().hosting(), c.hosts) << c.params.join(' ').toStdString();
        EXPECT_EQ(listened, c.hosts);
        EXPECT_EQ(w.state().loginstring().empty(), !c.connects);
        EXPECT_TRUE(w.findChild<QTextBrowser*>("mainchat")
                        ->toPlainText()
                        .contains("Loading Multi-player Game.. Please Wait."));
        w.close();
    }
}

TEST(ClientStartup, ApplicationTitleLeavesTheOtherCaptionsExact) {
    const QString before = QCoreApplication::applicationName();
    Tchat::setApplicationTitle();
    EXPECT_EQ(QCoreApplication::applicationName(), "Backgammon");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Backgammon");
    // A display name of its own would be appended to every window's caption on X11; an unset
    // one follows the application name.
    QCoreApplication::setApplicationName("Probe");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Probe");
    QCoreApplication::setApplicationName(before);
}

TEST(ClientStartup, SecondCopyAsksTheFirstToComeForwardAndExits) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("BG_PORT", QString::number(freePort()));
    QProcess first, second;
    for (QProcess* p : {&first, &second})
        p->setProcessEnvironment(env);
    first.start(BG_BINARY, {"Alice", "127.0.0.1", "false"});
    ASSERT_TRUE(first.waitForStarted(kWaitMs));
    // The first copy is ready once its guard answers.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QFile::exists(runtime.path() + "/roksev"); }, kWaitMs));
    second.start(BG_BINARY, {"Bob", "127.0.0.1", "false"});
    ASSERT_TRUE(second.waitForFinished(kWaitMs));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(kWaitMs);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Windows save their settings at closing: into a folder of this run, not beside the binary.
    QTemporaryDir config;
    qputenv("BG_CONFIG_DIR", config.path().toUtf8());
    qputenv("XDG_DATA_HOME", config.path().toUtf8()); // the games saved by themselves
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
