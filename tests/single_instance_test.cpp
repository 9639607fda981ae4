// The single-instance guard across real processes: copies started at the same moment must
// still end up with exactly one first copy.

#include "singleinstance.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {
constexpr int kCopies = 8;
constexpr int kRounds = 3; // the race does not show every time
constexpr int kWaitMs = 20000;
// A first copy stays long enough for every later one to find it.
constexpr int kFirstCopyLifeMs = 1500;
} // namespace

TEST(SingleInstanceGuard, CopiesStartedTogetherLeaveExactlyOneFirst) {
    for (int round = 0; round < kRounds; ++round) {
        QTemporaryDir runtime;
        ASSERT_TRUE(runtime.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        std::vector<std::unique_ptr<QProcess>> copies;
        for (int i = 0; i < kCopies; ++i) {
            copies.push_back(std::make_unique<QProcess>());
            copies.back()->setProcessEnvironment(env);
        }
        for (auto& copy : copies)
            copy->start(QCoreApplication::applicationFilePath(), {"--claim"});
        int firsts = 0;
        for (auto& copy : copies) {
            ASSERT_TRUE(copy->waitForFinished(kWaitMs));
            const QList<QByteArray> said = copy->readAllStandardOutput().trimmed().split('\n');
            EXPECT_TRUE(said[0] == "first" || said[0] == "second") << said[0].constData();
            if (said[0] != "first") continue;
            ++firsts;
            // Every later copy asked the first to come forward.
            EXPECT_TRUE(said.contains("raised")) << "round " << round;
        }
        EXPECT_EQ(firsts, 1) << "round " << round;
    }
}

TEST(SingleInstanceGuard, ACopyThatDiedLeavesNothingInTheWay) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(QCoreApplication::applicationFilePath(), {"--claim"});
    ASSERT_TRUE(first.waitForReadyRead(kWaitMs));
    first.kill(); // no chance to tidy up
    ASSERT_TRUE(first.waitForFinished(kWaitMs));
    QProcess next;
    next.setProcessEnvironment(env);
    next.start(QCoreApplication::applicationFilePath(), {"--claim"});
    ASSERT_TRUE(next.waitForFinished(kWaitMs));
    EXPECT_EQ(next.readAllStandardOutput().trimmed().split('\n')[0], "first");
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 2 && QByteArray(argv[1]) == "--claim") {
        SingleInstance guard;
        const bool first = guard.claim();
        std::printf("%s\n", first ? "first" : "second");
        std::fflush(stdout);
        if (!first) return 0;
        bool raised = false;
        QObject::connect(&guard, &SingleInstance::raiseRequested, [&raised] { raised = true; });
        QTimer::singleShot(kFirstCopyLifeMs, &app, &QCoreApplication::quit);
        app.exec();
        std::printf("%s\n", raised ? "raised" : "alone");
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
