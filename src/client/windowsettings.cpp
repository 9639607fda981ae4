// The main window's side of the settings file: reading every key into the menus, the chat
// view, the game start dialog and the window's bounds (loadinifile), writing them back
// (saveinifile), and the rule at closing that saves only when the window was moved or resized.

#include "appfiles.h"
#include "boardgeometry.h"
#include "chatview.h"
#include "preferences.h"
#include "qcolortext.h"
#include "settingsfile.h"
#include "tchat.h"
#include "windows/tgamestart.h"

#include <QActionGroup>
#include <QScreen>

namespace {

void checkTag(QActionGroup* group, int tag) {
    for (QAction* a : group->actions())
        a->setChecked(a->data().toInt() == tag);
}

} // namespace

QString Tchat::settingsPath() const {
    return m_settingsPath.isEmpty() ? bg::appFilePath(bg::kSettingsFileName) : m_settingsPath;
}

bg::Bounds Tchat::bounds() const {
    return {x(), y(), width(), height()};
}

void Tchat::setBounds(const bg::Bounds& b) {
    move(b.left, b.top);
    resize(b.width, b.height);
}

void Tchat::loadinifile() {
    bg::SettingsFile file(settingsPath().toStdString());
    file.load(); // a missing or unreadable file reads as empty: every key its default
    const bg::Preferences p = bg::readPreferences(file);

    m_mainchat->setTextSize(p.textSize);
    m_mainchat->reformat();
    m_remembered = p.bounds;
    setBounds(p.bounds);
    markTextSize(p.textSize);
    setOwnChatColour(bg::qcolorFromText(QString::fromStdString(p.textColor)).value_or(Qt::black));
    if (m_windows.gamestart) {
        if (p.timePerTurn) m_windows.gamestart->setTimePerTurn(*p.timePerTurn);
        m_windows.gamestart->changebox(p.gameType);
    }
    m_botSpeedTag = p.botSpeed;
    checkTag(m_botSpeedGroup, p.botSpeed);
    m_botAbilitiesTag = p.botAbilities;
    checkTag(m_botAbilitiesGroup, p.botAbilities);
    m_turnSoundTag = p.turnSound;
    checkTag(m_turnSoundGroup, p.turnSound);
    for (int n = 1; n <= bg::kPhraseCount; ++n) {
        const std::string& phrase = p.phrases[static_cast<std::size_t>(n)];
        if (!phrase.empty()) setPhrase(n, QString::fromStdString(phrase));
    }
    m_playSounds->setChecked(p.playSounds);
    m_playChatterSounds->setChecked(p.chatterSounds);
    m_markLastPlay->setChecked(p.markLastPlay);
    syncPreferenceEffects();
}

void Tchat::saveinifile() {
    bg::Preferences p;
    p.textSize = m_mainchat->textSize();
    p.bounds = bounds();
    p.textColor = bg::qcolorToText(ownChatColour()).toStdString();
    if (m_windows.gamestart) {
        p.timePerTurn = m_windows.gamestart->timePerTurn();
        p.gameType = m_windows.gamestart->aceyTag();
    }
    p.botSpeed = m_botSpeedTag;
    p.botAbilities = m_botAbilitiesTag;
    p.turnSound = m_turnSoundTag;
    p.playSounds = m_playSounds->isChecked();
    p.chatterSounds = m_playChatterSounds->isChecked();
    p.markLastPlay = m_markLastPlay->isChecked();
    // Read first: the phrases and whatever other programs keep in the file stay as they are.
    bg::SettingsFile file(settingsPath().toStdString());
    file.load();
    bg::writePreferences(file, p);
    file.save(); // a file that cannot be written is not reported
}

void Tchat::saveBoundsAtClose() {
    bg::Bounds b = bounds();
    if (b == m_remembered) return;
    if (const QScreen* s = screen()) {
        const QRect work = s->availableGeometry();
        if (b.width > work.width()) b.width -= kWorkAreaTrim;
        if (b.height > work.height()) b.height -= kWorkAreaTrim;
    }
    setBounds(b);
    m_remembered = b;
    saveinifile();
}

void Tchat::syncPreferenceEffects() {
    m_state.setNewTurnSound(m_turnSoundTag == 1);
}
