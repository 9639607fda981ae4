// The game review's cost: whole seeded games analysed, and the main window's event loop while
// a review runs on its worker thread.
//
//  - analysis: games between the standard bot and the strong one (the strong bot playing each
//    seat in turn), each reviewed in full by the engine with one throw of look-ahead (the best
//    four plays within the look-ahead's margin, each followed through all 21 throws and the
//    reply the judgement likes best; a race by the judgement alone) and no time limit. It
//    prints the CPU time of the reviewing thread per game (mean and worst), the turns per game
//    and how many of the turns were judged with the look-ahead.
//  - event loop: the review window (offscreen) reviews a game while a 10 ms timer, as the
//    host's tick, measures how late each of its firings comes; the same timer alone first.
// Usage: review_bench [games, default 40]

#include "gamerecorder.h"
#include "gamereview.h"
#include "race.h"
#include "reviewwindow.h"
#include "strong_duel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

using namespace bg;

namespace {

constexpr int kHostTickMs = 10;

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

rec::GameRecord duelRecord(unsigned seed) {
    rec::GameRecorder recorder;
    sim::Sim s(seed, sim::DuelSettings::kDuelBotDelayMs, true);
    sim::DuelSettings settings;
    settings.strongSeat = seed % 2 ? 1 : 2;
    s.host = std::make_unique<TServer>(s.outbox, s.clock, s.random, settings);
    settings.host = s.host.get();
    sim::playBotGame(s, false, false, [&](std::string_view m) { recorder.feed(m); });
    return recorder.record();
}

// The longest lateness of a timer's firings (every `everyMs`) while `busy` is true, in ms. With
// a 1 ms timer, the interval plus its lateness is the event loop's longest gap.
double longestLateness(QApplication& app, const std::function<bool()>& busy, double minMs,
                       int everyMs) {
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(everyMs);
    QElapsedTimer clock;
    double last = -1, worst = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        if (last >= 0) worst = std::max(worst, now - last - everyMs);
        last = now;
        // exit, not quit: quit would close the window under review.
        if (!busy() && now >= minMs) app.exit(0);
    });
    clock.start();
    tick.start();
    app.exec();
    return worst;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    prepareRaceTables();
    waitForRaceTables();

    double total = 0, worst = 0;
    long turns = 0, aheadTurns = 0;
    std::vector<rec::GameRecord> records;
    for (int g = 0; g < games; ++g) {
        records.push_back(duelRecord(static_cast<unsigned>(g + 1)));
        const double start = cpuMs();
        review::GameReviewer reviewer(records.back());
        while (!reviewer.done()) {
            if (reviewer.next().lookedAhead) ++aheadTurns;
        }
        const double ms = cpuMs() - start;
        total += ms;
        worst = std::max(worst, ms);
        turns += reviewer.turns();
    }
    std::printf("analysis: %d games, %.1f turns per game, %.0f%% of the turns judged with one "
                "throw of look-ahead\n",
                games, double(turns) / games, 100.0 * double(aheadTurns) / double(turns));
    std::printf("analysis: %.0f ms per game on one core on average, %.0f ms at worst "
                "(%.2f ms per turn)\n",
                total / games, worst, total / double(turns));

    QApplication app(argc, argv);
    const double idle = longestLateness(app, [] { return false; }, 1000, kHostTickMs);
    const double idleGap = longestLateness(app, [] { return false; }, 1000, 1) + 1;
    // The longest game of the set, reviewed by the window as the program reviews it.
    const auto longest = std::max_element(records.begin(), records.end(), [](auto& a, auto& b) {
        return a.turns.size() < b.turns.size();
    });
    double reviewMs = 0;
    auto reviewed = [&](int everyMs) {
        QPointer<ReviewWindow> window = new ReviewWindow(*longest, "bench");
        window->show();
        QElapsedTimer wall;
        wall.start();
        const double late =
            longestLateness(app, [&] { return window->analysing(); }, 0, everyMs);
        reviewMs = double(wall.elapsed());
        delete window.data();
        return late;
    };
    const double busy = reviewed(kHostTickMs);
    const double gap = reviewed(1) + 1;
    std::printf("event loop: the host's 10 ms tick comes at most %.1f ms late alone, %.1f ms late "
                "while the window reviews a game of %zu turns (%.0f ms on the clock)\n",
                idle, busy, longest->turns.size(), reviewMs);
    std::printf("event loop: longest gap between two turns of the loop %.1f ms alone, %.1f ms "
                "while the window reviews that game\n",
                idleGap, gap);
    return 0;
}
