// The settings file and the preferences read from it: defaults, case, other programs' keys,
// comments and sections kept, and files that are missing, unreadable or garbage.

#include "preferences.h"
#include "scratch_dir.h"
#include "settingsfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace bg;
namespace fs = std::filesystem;

namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(m_dir.path().empty());
        m_path = m_dir.filePath("vesklobby.ini");
    }

    void write(const std::string& text) { std::ofstream(m_path, std::ios::binary) << text; }
    std::string contents() const {
        std::ifstream in(m_path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    Preferences read() {
        SettingsFile f(m_path);
        f.load();
        return readPreferences(f);
    }

    const ScratchDir m_dir{"bg-settings-"};
    std::string m_path;
};

} // namespace

TEST_F(SettingsTest, MissingKeysTakeTheirDefaults) {
    write("[Backgammon]\nTextsize=9\n");
    const Preferences p = read();
    EXPECT_EQ(p.textSize, 9);
    EXPECT_EQ(p.botSpeed, 1000);
    EXPECT_EQ(p.botAbilities, 1);
    EXPECT_EQ(p.turnSound, 0);
    EXPECT_TRUE(p.playSounds);
    EXPECT_TRUE(p.chatterSounds);
    EXPECT_EQ(p.bounds, (Bounds{3, 3, 774, 595}));
    EXPECT_EQ(p.textColor, "clblack");
    EXPECT_EQ(p.timePerTurn, 120);
    EXPECT_EQ(p.gameType, 0);
    EXPECT_EQ(p.phrases[1], "");
}

TEST_F(SettingsTest, ValuesFollowTheirRulesAndNamesIgnoreCase) {
    write("[backgammon]\nTEXTSIZE=twelve\nbotspeed=500\nBotAbilities=0\nturnSOUND=1\n"
          "Playsounds=false\nChatterSounds=no\nTimeperturn=abc\nGametype=1\nLEFT=40\n"
          "Phrase3=Well played!\nTextcolor=$00FF8000\n");
    Preferences p = read();
    EXPECT_EQ(p.textSize, 8); // not a number
    EXPECT_EQ(p.botSpeed, 500);
    EXPECT_EQ(p.botAbilities, 0);
    EXPECT_EQ(p.turnSound, 1);
    EXPECT_FALSE(p.playSounds);
    EXPECT_TRUE(p.chatterSounds); // only "false" turns it off
    EXPECT_EQ(p.timePerTurn, std::nullopt);
    EXPECT_EQ(p.gameType, 1);
    EXPECT_EQ(p.bounds.left, 40);
    EXPECT_EQ(p.phrases[3], "Well played!");
    EXPECT_EQ(p.textColor, "$00FF8000");

    write("[Backgammon]\nBotspeed=1500\nBotabilities=7\nTurnsound=2\nGametype=01\n");
    p = read();
    EXPECT_EQ(p.botSpeed, 1000); // the built-in 1500 reads back as Normal
    EXPECT_EQ(p.botAbilities, 1);
    EXPECT_EQ(p.turnSound, 0);
    EXPECT_EQ(p.gameType, 0);
    EXPECT_EQ(choiceFromText(kBotSpeedChoices, "2000", kBotSpeedDefault), 2000);
}

TEST_F(SettingsTest, SavingKeepsOtherSectionsKeysAndComments) {
    write("; written by the lobby\n[Lobby]\nServer = lobby.example.com\n\n"
          "[Backgammon]\n; the user's own phrase\nPhrase1=Hi all\ntextsize=12\n");
    SettingsFile f(m_path);
    ASSERT_TRUE(f.load());
    Preferences p = readPreferences(f);
    p.textSize = 14;
    p.botSpeed = 2000;
    writePreferences(f, p);
    ASSERT_TRUE(f.save());
    const std::string after = contents();
    EXPECT_NE(after.find("; written by the lobby"), std::string::npos) << after;
    EXPECT_NE(after.find("[Lobby]"), std::string::npos) << after;
    EXPECT_NE(after.find("lobby.example.com"), std::string::npos) << after;
    EXPECT_NE(after.find("; the user's own phrase"), std::string::npos) << after;
    EXPECT_NE(after.find("Phrase1=Hi all"), std::string::npos) << after;
    EXPECT_NE(after.find("textsize=14"), std::string::npos) << after; // the key keeps its case
    EXPECT_NE(after.find("Botspeed=2000"), std::string::npos) << after;
    EXPECT_EQ(after.find("Botspeed = "), std::string::npos) << after;
    // The keys of this program come in their order.
    EXPECT_LT(after.find("Top=3"), after.find("Left=3"));
    EXPECT_LT(after.find("Botspeed="), after.find("ChatterSounds="));

    const Preferences back = read();
    EXPECT_EQ(back.textSize, 14);
    EXPECT_EQ(back.botSpeed, 2000);
    EXPECT_EQ(back.phrases[1], "Hi all");
}

TEST_F(SettingsTest, BuiltInStateWritesAsItStands) {
    SettingsFile f(m_path);
    EXPECT_FALSE(f.load()); // no file yet
    writePreferences(f, Preferences{});
    ASSERT_TRUE(f.save());
    const std::string after = contents();
    for (const char* line : {"Textsize=10", "Botspeed=1500", "ChatterSounds=false",
                             "Playsounds=true", "Botabilities=1", "Turnsound=0"})
        EXPECT_NE(after.find(line), std::string::npos) << line << "\n" << after;
}

TEST_F(SettingsTest, UnreadableOrGarbageFilesGiveTheDefaults) {
    const char garbage[] = "\xff\xfe\x00\x01garbage[[[\n=\n===\n\x00\x00[Backgammon\nTextsize";
    write(std::string(garbage, sizeof garbage - 1));
    Preferences p = read();
    EXPECT_EQ(p.textSize, 8);
    EXPECT_EQ(p.botSpeed, 1000);

    fs::remove(m_path);
    fs::create_directory(m_path); // a folder where the file should be: neither read nor written
    SettingsFile f(m_path);
    EXPECT_FALSE(f.load());
    p = readPreferences(f);
    EXPECT_EQ(p.textSize, 8);
    EXPECT_TRUE(p.chatterSounds);
    writePreferences(f, p);
    EXPECT_FALSE(f.save());
}
