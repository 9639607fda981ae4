// The main menu `MainMenu1` and the seat labels' pop-up menu `popup_kick`.
//
// The stored preferences live in the menu items themselves: check marks, and for the radio
// choices the parent item's tag (here the window's m_*Tag values), which the host's bot, the
// turn sound and the sounds read at the moment they need them. Every change of a stored
// preference is saved at once.

#include "chatview.h"
#include "preferences.h"
#include "protocol.h"
#include "qcolortext.h"
#include "tally/ttallylist.h"
#include "tchat.h"
#include "windows/tabout.h"
#include "windows/tgamestart.h"
#include "windows/thelp.h"
#include "windows/tphrases.h"
#include "windows/tspylist.h"

#include <QActionGroup>
#include <QColorDialog>
#include <QMenu>
#include <QMenuBar>

namespace {

template <typename Parent> QMenu* submenu(Parent* into, const QString& name, const QString& title) {
    QMenu* m = into->addMenu(title);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    return m;
}

} // namespace

QAction* Tchat::menuItem(QMenu* m, const QString& name, const QString& text) {
    QAction* a = m->addAction(text);
    a->setObjectName(name);
    a->setParent(this); // found by name from the window
    return a;
}

QActionGroup* Tchat::radioMenu(QMenu* m, std::span<const bg::RadioChoice> choices, int chosen,
                               int* tag) {
    auto* group = new QActionGroup(this);
    for (const bg::RadioChoice& c : choices) {
        QAction* a = menuItem(m, c.name, c.caption);
        a->setCheckable(true);
        a->setChecked(c.tag == chosen);
        a->setData(c.tag);
        group->addAction(a);
    }
    connect(group, &QActionGroup::triggered, this, [this, tag](QAction* a) {
        *tag = a->data().toInt();
        syncPreferenceEffects();
        saveinifile();
    });
    return group;
}

void Tchat::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    QMenu* file = submenu(bar, "File1", "File");
    m_startGame = menuItem(file, "StartGame1", "Start Game");
    m_startGame->setEnabled(false);
    connect(m_startGame, &QAction::triggered, this, &Tchat::button_startClick);
    file->addSeparator();
    // Queued: the file dialogs are modal, and a screen reader's press must not wait for them.
    connect(menuItem(file, "SaveGameRecordAs1", "Save Game Record As..."), &QAction::triggered,
            this, &Tchat::SaveGameRecordAs1Click, Qt::QueuedConnection);
    connect(menuItem(file, "OpenGameRecord1", "Open Game Record..."), &QAction::triggered, this,
            &Tchat::OpenGameRecord1Click, Qt::QueuedConnection);
    file->addSeparator();
    addNetworkGameItems(file);
    connect(menuItem(file, "Exit1", "Exit"), &QAction::triggered, this, &QWidget::close);

    QMenu* options = submenu(bar, "Options1", "Options");
    m_playSounds = menuItem(options, "PlaySounds1", "Play Sounds");
    m_playSounds->setCheckable(true);
    m_playSounds->setChecked(true);
    m_playChatterSounds = menuItem(options, "PlayChatterSounds1", "Play Chatter Sounds");
    m_playChatterSounds->setCheckable(true);
    // A check item toggles its own mark before this runs.
    for (QAction* a : {m_playSounds, m_playChatterSounds})
        connect(a, &QAction::triggered, this, &Tchat::saveinifile);

    m_turnSoundGroup = radioMenu(submenu(options, "TurnSound1", "Turn Sound"),
                                 bg::kTurnSoundChoices, bg::kTurnSoundDefault, &m_turnSoundTag);
    m_botSpeedGroup = radioMenu(submenu(options, "BotSpeed1", "Bot Speed"), bg::kBotSpeedChoices,
                                bg::kBotSpeedDefault, &m_botSpeedTag);
    m_botAbilitiesGroup =
        radioMenu(submenu(options, "BotAbilities1", "Bot Abilities"), bg::kBotAbilityChoices,
                  bg::kBotAbilityDefault, &m_botAbilitiesTag);
    options->addSeparator();
    connect(menuItem(options, "TextColor1", "Text Color"), &QAction::triggered, this,
            &Tchat::TextColor1Click);
    QMenu* size = submenu(options, "TextSize1", "Text Size");
    for (int s : kTextSizes) {
        QAction* a = menuItem(size, QString("N%1").arg(s), QString::number(s));
        a->setCheckable(true);
        a->setData(s);
        connect(a, &QAction::triggered, this, [this, s] { N14Click(s); });
        m_textSizeItems.push_back(a);
    }
    m_scrollChatOff = menuItem(options, "ScrollChatOff2", "Scroll Chat Off");
    m_scrollChatOff->setShortcut(QKeySequence("Ctrl+S"));
    m_scrollChatOff->setCheckable(true);
    connect(m_scrollChatOff, &QAction::triggered, this,
            [this](bool on) { m_mainchat->setScrollOff(on); });
    connect(m_mainchat, &ChatView::scrollOffChanged, m_scrollChatOff, &QAction::setChecked);
    connect(menuItem(options, "ClearMainChat1", "Clear Main Chat"), &QAction::triggered, this,
            &Tchat::ClearMainChat1Click);
    connect(menuItem(options, "ResetScreenLocation1", "Reset Screen Location"), &QAction::triggered,
            this, &Tchat::ResetScreenLocation1Click);
    options->addSeparator();
    m_justWatch = menuItem(options, "JustWatch1", "Just Watch");
    m_justWatch->setCheckable(true);
    connect(m_justWatch, &QAction::triggered, this, &Tchat::JustWatch1Click);

    m_markLastPlay = menuItem(options, "MarkLastPlay1", "Mark Last Play");
    m_markLastPlay->setCheckable(true);
    m_markLastPlay->setChecked(true);
    connect(m_markLastPlay, &QAction::triggered, this, [this] {
        syncLastPlay();
        saveinifile();
    });

    QMenu* view = submenu(bar, "View1", "View");
    // Asked for again while open, a window shows what is true now and comes forward.
    const auto toFront = [](QWidget* w) {
        w->show();
        w->raise();
        w->activateWindow();
    };
    connect(menuItem(view, "ViewTally1", "View Tally"), &QAction::triggered, this, [this, toFront] {
        Ttallylist* tally = m_windows.tally;
        if (!tally) return;
        if (tally->isVisible()) tally->loadchecklist();
        toFront(tally);
    });
    connect(menuItem(view, "MoveList1", "Move List"), &QAction::triggered, this,
            &Tchat::MoveList1Click);
    addTeachingItems(options, view);
    connect(menuItem(view, "SpyList1", "Spy List"), &QAction::triggered, this, [this] {
        if (m_windows.spylist) m_windows.spylist->show();
    });
    // The editor takes the buttons' phrases as it opens.
    connect(menuItem(view, "PrhaseList1", "Phrase List"), &QAction::triggered, this,
            [this, toFront] {
                Tphrases* editor = m_windows.phrases.get();
                if (!editor) return;
                if (editor->isVisible()) editor->reload();
                toFront(editor);
            });

    QMenu* help = submenu(bar, "Help1", "Help");
    QAction* content = menuItem(help, "Help2", "Content");
    content->setShortcut(QKeySequence(Qt::Key_F1));
    connect(content, &QAction::triggered, this, [this] {
        if (m_windows.help) m_windows.help->show();
    });
    help->addSeparator();
    connect(menuItem(help, "About1", "About"), &QAction::triggered, this, [this] {
        if (m_windows.about) m_windows.about->show();
    });

    buildPopupKick();
}

void Tchat::button_startClick() {
    if (!m_state.loggedin())
        showMessageBox("You are not connected");
    else if (Tgamestart* dialog = m_windows.gamestart.get()) {
        dialog->adjustSize();
        dialog->move(geometry().center() - dialog->rect().center()); // centred on this window
        dialog->show();
    }
}

void Tchat::TextColor1Click() {
    const std::optional<QColor> chosen = m_colourDialogHook ? m_colourDialogHook(ownChatColour())
                                                            : [this]() -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(ownChatColour(), this);
        if (!c.isValid()) return std::nullopt;
        return c;
    }();
    if (!chosen) return;
    setOwnChatColour(*chosen);
    saveinifile();
}

void Tchat::N14Click(int size) {
    // The new size shows with the next line that is added.
    m_mainchat->setTextSize(size);
    markTextSize(size);
    saveinifile();
}

void Tchat::markTextSize(int size) {
    for (QAction* a : m_textSizeItems)
        a->setChecked(a->data().toInt() == size);
}

void Tchat::JustWatch1Click() {
    // The mark follows the host's answer, not the click.
    m_justWatch->setChecked(m_state.view().justWatchChecked);
    if (!m_state.loggedin() || !m_state.isSeat(m_state.myplayer())) return;
    const int mode = m_state.view().justWatchChecked ? 2 : 1;
    sendBytes(bg::frame(bg::msg::justwatch(m_state.myplayer(), mode)));
}

// ---- popup_kick --------------------------------------------------------------------------------

void Tchat::buildPopupKick() {
    m_popupKick = new QMenu(this);
    m_popupKick->setObjectName("popup_kick");
    m_removeFromGame = menuItem(m_popupKick, "RemoveFromGame1", "Remove From Game");
    m_setToJustWatch = menuItem(m_popupKick, "SettoJustWatch1", "Set to Just Watch");
    m_unsetJustWatch = menuItem(m_popupKick, "UnsetJustWatch1", "Unset Just Watch");
    connect(m_removeFromGame, &QAction::triggered, this, [this] { kicking(m_kickNumber); });
    connect(m_setToJustWatch, &QAction::triggered, this, [this] { setJustWatchOf(1); });
    connect(m_unsetJustWatch, &QAction::triggered, this, [this] { setJustWatchOf(2); });

    QLabel* choose = m_choosePanel->findChild<QLabel*>("label_choose");
    const std::pair<QLabel*, int> owners[] = {
        {m_playername[1], 1}, {m_playername[2], 2}, {m_gt, 2}, {m_timerLabel, 0}, {choose, 2}};
    for (const auto& [labelControl, tag] : owners) {
        if (!labelControl) continue;
        labelControl->setProperty("tag", tag);
        labelControl->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(labelControl, &QWidget::customContextMenuRequested, this,
                [this, l = labelControl](const QPoint& pos) {
                    label_playername1ContextPopup(l);
                    m_popupKick->popup(l->mapToGlobal(pos));
                });
    }
}

void Tchat::label_playername1ContextPopup(QLabel* owner) {
    const bool host = m_state.hosting();
    for (QAction* a : {m_removeFromGame, m_setToJustWatch, m_unsetJustWatch})
        a->setEnabled(host);
    if (owner->text() == bg::kWaiting) m_removeFromGame->setEnabled(false);
    m_kickNumber = owner->property("tag").toInt();
}

void Tchat::setJustWatchOf(int mode) {
    if (!m_state.loggedin() || !m_state.isSeat(m_kickNumber)) return;
    sendBytes(bg::frame(bg::msg::justwatch(m_kickNumber, mode)));
}
