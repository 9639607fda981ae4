// The main window sleeps when idle: Timer1 ticks only while a message waits or the phrase
// gate counts, and stops again once both are done.

#include "protocol.h"
#include "tchat.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
constexpr int kWaitMs = 10000; // generous: only a hang would reach it
}

TEST(ClientIdle, Timer1RunsOnlyWhileAMessageWaits) {
    Tchat w;
    auto* timer1 = w.findChild<QTimer*>("Timer1");
    ASSERT_NE(timer1, nullptr);
    EXPECT_FALSE(timer1->isActive());
    w.sockRead(bg::frame("CMD_wrongversion+") + bg::frame("CMD_wrongversion+"));
    EXPECT_TRUE(timer1->isActive());
    w.Timer1Timer();
    EXPECT_TRUE(timer1->isActive()) << "one message still waits";
    w.Timer1Timer();
    EXPECT_FALSE(timer1->isActive());
}

TEST(ClientIdle, Timer1CountsThePhraseGateThenStops) {
    Tchat w;
    auto* timer1 = w.findChild<QTimer*>("Timer1");
    ASSERT_NE(timer1, nullptr);
    w.closePhraseGate();
    EXPECT_TRUE(timer1->isActive());
    // On the real event loop: the gate reopens after its hundred-odd ticks, and then the
    // timer has nothing left to do.
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.phraseGateOpen(); }, kWaitMs));
    EXPECT_FALSE(timer1->isActive());
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
