// The main window sleeps when idle: Timer1 ticks only while messages wait behind the one
// handled at once, and stops again when they are done; the phrase gate needs no timer.

#include "protocol.h"
#include "tchat.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
constexpr int kWaitMs = 10000; // generous: only a hang would reach it
}

TEST(ClientIdle, FirstMessageGoesAtOnceTheRestOnePerTickThenTimer1Stops) {
    Tchat w;
    auto* timer1 = w.findChild<QTimer*>("Timer1");
    ASSERT_NE(timer1, nullptr);
    EXPECT_FALSE(timer1->isActive());
    w.sockRead(bg::frame("CMD_wrongversion+") + bg::frame("CMD_wrongversion+") +
               bg::frame("CMD_wrongversion+"));
    EXPECT_EQ(w.state().queued(), 3u);
    // The next turn of the event loop handles the first; a tick would be a millisecond later.
    QCoreApplication::sendPostedEvents(&w, QEvent::MetaCall);
    EXPECT_EQ(w.state().queued(), 2u);
    EXPECT_TRUE(timer1->isActive()) << "the rest wait for the timer";
    w.Timer1Timer();
    EXPECT_EQ(w.state().queued(), 1u) << "one per tick";
    EXPECT_TRUE(timer1->isActive());
    // More bytes while the timer runs join its queue: nothing goes out of turn.
    w.sockRead(bg::frame("CMD_wrongversion+"));
    QCoreApplication::sendPostedEvents(&w, QEvent::MetaCall);
    EXPECT_EQ(w.state().queued(), 2u);
    w.Timer1Timer();
    w.Timer1Timer();
    EXPECT_EQ(w.state().queued(), 0u);
    EXPECT_FALSE(timer1->isActive());
}

TEST(ClientIdle, OneMessageToAnIdleWindowNeedsNoTimerAtAll) {
    Tchat w;
    auto* timer1 = w.findChild<QTimer*>("Timer1");
    w.sockRead(bg::frame("CMD_wrongversion+"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.state().queued() == 0; }, kWaitMs));
    EXPECT_FALSE(timer1->isActive());
}

TEST(ClientIdle, ThePhraseGateKeepsNoTimerRunning) {
    Tchat w;
    auto* timer1 = w.findChild<QTimer*>("Timer1");
    auto now = bg::PhraseGate::Clock::now();
    w.setPhraseGateClock([&now] { return now; });
    w.closePhraseGate();
    EXPECT_FALSE(timer1->isActive()) << "the gate reads the clock when asked";
    now += bg::kPhraseGatePause;
    EXPECT_TRUE(w.phraseGateOpen());
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
