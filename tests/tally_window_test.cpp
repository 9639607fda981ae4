// The tally window, offscreen: loading and saving the tally file, choosing and removing
// opponents with their questions, counting games, reset, and a damaged file kept aside.

#include "lzrw1.h"
#include "tally/ttallylist.h"
#include "tallyrecords.h"
#include "tlzrw1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TallyWindow : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("Backgammontally.tld"); }

    void writeTally(const std::string& text) {
        const auto packed = bg::lzrw1::pack(
            std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(packed.data()), qint64(packed.size()));
    }
    std::string readTally() const {
        Tlzrw1 codec;
        codec.InputFile = QFile::encodeName(path()).toStdString();
        const auto bytes = codec.decompressToMemory();
        return std::string(bytes.begin(), bytes.end());
    }
    std::unique_ptr<Ttallylist> open(QStringList seats = {"Me", "Ann"}, int me = 1) {
        auto w = std::make_unique<Ttallylist>(nullptr, path());
        w->setSeatSource([seats, me] { return Ttallylist::Seats{seats, me}; });
        w->setConfirmHook([this](const QString& q) {
            questions << q;
            return answer;
        });
        EXPECT_TRUE(w->ensureControls());
        EXPECT_FALSE(w->ensureControls());
        return w;
    }
    static QString text(const Ttallylist& w, const char* name) {
        auto* l = w.findChild<QLabel*>(name);
        return l ? l->text() : "<missing " + QString(name) + ">";
    }
    static QListWidget* list(const Ttallylist& w, const char* name) {
        return w.findChild<QListWidget*>(name);
    }
    static QStringList labels(const Ttallylist& w) {
        QStringList out;
        for (int i = 1; i <= 8; ++i)
            out << text(w, qPrintable(QString("label_%1").arg(i)));
        return out;
    }

    QStringList questions;
    bool answer = true;
};

std::string crlf(std::initializer_list<const char*> lines) {
    std::string s;
    for (const char* l : lines)
        s += std::string(l) + "\r\n";
    return s;
}

} // namespace

TEST_F(TallyWindow, ChoosesAnOpponentCountsAndKeepsTheTotalsAcrossRuns) {
    {
        auto w = open();
        EXPECT_EQ(w->windowTitle(), "Backgammon - Tally List");
        w->loadchecklist();
        QListWidget* current = list(*w, "checklist");
        ASSERT_EQ(current->count(), 1);
        EXPECT_EQ(current->item(0)->text(), "Ann");
        EXPECT_EQ(current->item(0)->checkState(), Qt::Unchecked);
        current->item(0)->setCheckState(Qt::Checked); // the user ticks Ann
        QListWidget* tallied = list(*w, "listbox_tally");
        ASSERT_EQ(tallied->count(), 1);
        EXPECT_EQ(tallied->item(0)->checkState(), Qt::Checked);

        w->addgame("Ann");
        w->addgame("addtomine");
        tallied->setCurrentRow(0);
        EXPECT_EQ(labels(*w), (QStringList{"2", "1", "1", "0", "2", "1", "1", "0"}));
        EXPECT_EQ(text(*w, "label_hisname"), "Ann Wins:");
        EXPECT_EQ(text(*w, "label_hisnametop"), "Ann's Tally");
        EXPECT_EQ(text(*w, "mylabel_1"), "2");
        EXPECT_EQ(text(*w, "mylabel_2"), "1");
        // A game without Ann counts only in the player's own totals.
        w->setSeatSource([] { return Ttallylist::Seats{{"Me", "<Waiting>"}, 1}; });
        w->addgame("addtomine");
        EXPECT_EQ(text(*w, "label_1"), "2");
        EXPECT_EQ(text(*w, "mylabel_1"), "3");
    } // the end of the program saves
    EXPECT_EQ(readTally(), crlf({"9", "2", "0", "Ann", "3", "2", "2", "1", "0", "1",
                                 "0", "0", "0", "2",   "0", "1", "0", "1", "0", "0"}));

    auto again = open();
    ASSERT_EQ(list(*again, "listbox_tally")->count(), 1);
    EXPECT_EQ(list(*again, "listbox_tally")->item(0)->checkState(), Qt::Checked);
    list(*again, "listbox_tally")->setCurrentRow(0);
    EXPECT_EQ(labels(*again), (QStringList{"2", "1", "1", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(text(*again, "mylabel_1"), "3");
    // Names are looked up without regard to case: "ann" at the table is Ann.
    again->setSeatSource([] { return Ttallylist::Seats{{"Me", "ann"}, 1}; });
    again->loadchecklist();
    EXPECT_EQ(list(*again, "checklist")->item(0)->checkState(), Qt::Checked);
}

TEST_F(TallyWindow, GamesCountedBeforeTheWindowWasEverBuiltShowWhenItOpens) {
    {
        auto w = open({"Me", "Ann"});
        w->loadchecklist();
        list(*w, "checklist")->item(0)->setCheckState(Qt::Checked); // Ann is tallied
    }
    {
        Ttallylist w(nullptr, path()); // as the program makes it: never shown so far
        w.setSeatSource([] { return Ttallylist::Seats{{"Me", "ann"}, 1}; });
        EXPECT_EQ(list(w, "listbox_tally"), nullptr);
        w.addgame("addtomine");
        w.addgame("ann");
        w.setSeatSource([] { return Ttallylist::Seats{{"Me", "Bob"}, 1}; });
        w.addgame("Bob");
        EXPECT_EQ(w.records().cell(bg::tallycol::games, 1), "2"); // Ann's games only
        w.setSeatSource([] { return Ttallylist::Seats{{"Me", "ann"}, 1}; });
        w.show();
        EXPECT_EQ(text(w, "mylabel_1"), "3");
        QListWidget* tallied = list(w, "listbox_tally");
        ASSERT_NE(tallied, nullptr);
        ASSERT_EQ(tallied->count(), 1);
        tallied->setCurrentRow(0);
        EXPECT_EQ(labels(w).mid(0, 4), (QStringList{"2", "1", "1", "0"}));
        ASSERT_EQ(list(w, "checklist")->count(), 1);
        EXPECT_EQ(list(w, "checklist")->item(0)->checkState(), Qt::Checked);
    }
    auto again = open();
    EXPECT_EQ(text(*again, "mylabel_1"), "3"); // and the end of that run saved them
}

TEST_F(TallyWindow, UncheckingAsksFirstAndRemovesOnlyThatRow) {
    writeTally(crlf({"9", "4", "0", "Ann", "Bob", "Cy", "5", "1", "2", "3", "0", "1", "1",
                     "1", "0", "0", "0",   "0",   "0",  "0", "1", "2", "0", "0", "0", "0",
                     "0", "0", "0", "0",   "0",   "0",  "0", "0", "0", "0", "0", "0"}));
    auto w = open();
    QListWidget* tallied = list(*w, "listbox_tally");
    ASSERT_EQ(tallied->count(), 3);

    answer = false;
    tallied->item(1)->setCheckState(Qt::Unchecked);
    ASSERT_EQ(questions, QStringList{"This will delete Bob's Tally, Are you want to delete it?"});
    EXPECT_EQ(tallied->count(), 3);
    EXPECT_EQ(tallied->item(1)->checkState(), Qt::Checked);

    answer = true;
    tallied->item(1)->setCheckState(Qt::Unchecked);
    ASSERT_EQ(tallied->count(), 2);
    EXPECT_EQ(tallied->item(1)->text(), "Cy");
    EXPECT_EQ(w->records().cell(0, 2), "Cy");
    EXPECT_EQ(w->records().cell(1, 2), "3");
    EXPECT_EQ(w->records().cell(1, 1), "1");
    tallied->item(1)->setCheckState(Qt::Unchecked); // the last one
    tallied->item(0)->setCheckState(Qt::Unchecked); // and the only one
    EXPECT_EQ(tallied->count(), 0);
    EXPECT_EQ(w->records().opponentCount(), 0);
    EXPECT_EQ(w->records().cell(1, 0), "5");
}

TEST_F(TallyWindow, ResetAsksThenZerosEverythingAndTheFileHoldsOneRow) {
    writeTally(crlf({"9", "2", "0", "Ann", "4", "4", "1", "2", "0", "1", "0",
                     "1", "0", "0", "0",   "0", "0", "0", "0", "0", "0", "0"}));
    {
        auto w = open();
        answer = false;
        w->findChild<QPushButton*>("button_reset")->click();
        EXPECT_EQ(questions, QStringList{"Are you sure you want to reset the Tally?"});
        EXPECT_EQ(list(*w, "listbox_tally")->count(), 1);
        answer = true;
        w->findChild<QPushButton*>("button_reset")->click();
        EXPECT_EQ(list(*w, "listbox_tally")->count(), 0);
        EXPECT_EQ(text(*w, "mylabel_1"), "0");
        EXPECT_EQ(labels(*w), (QStringList{"0", "0", "0", "0", "0", "0", "0", "0"}));
    }
    EXPECT_EQ(readTally(), crlf({"9", "1", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
}

TEST_F(TallyWindow, ADamagedFileIsKeptAsideAndSaid) {
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("WRZL\x10\0\0\0garbage", 15);
    }
    {
        auto w = open();
        QMessageBox* box = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "tally_loaderror") box = qobject_cast<QMessageBox*>(top);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->text().startsWith("Lzrw1 : Error reading from input file : "));
        EXPECT_TRUE(box->text().contains("Backgammontally.tld.damaged"));
        box->close();
        EXPECT_EQ(list(*w, "listbox_tally")->count(), 0);
        QFile aside(path() + ".damaged");
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
        EXPECT_EQ(aside.readAll(), QByteArray("WRZL\x10\0\0\0garbage", 15));
    }
    EXPECT_TRUE(QFile::exists(path() + ".damaged"));
    EXPECT_EQ(readTally(), crlf({"9", "1", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));

    // A second damaged file does not push the first one out.
    QFile(path()).remove();
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("9\r\n1\r\n");
    }
    open().reset();
    EXPECT_TRUE(QFile::exists(path() + ".damaged"));
    EXPECT_TRUE(QFile::exists(path() + ".1.damaged"));
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "tally_loaderror") top->close();
}

TEST_F(TallyWindow, AFailedSaveLeavesThePreviousFile) {
    const std::string before = crlf({"9", "1", "0", "7", "3", "0", "0", "0", "0", "0", "0"});
    writeTally(before);
    {
        auto w = open();
        w->addgame("addtomine");
        // The new file cannot be written beside the old one.
        ASSERT_TRUE(QDir(dir.path()).mkdir("Backgammontally.tld.new"));
    }
    EXPECT_EQ(readTally(), before);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
