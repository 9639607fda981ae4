#pragma once
// Tchat: the main window. It owns the game connection `sock` (and `Sock11`, the courtesy
// connection to a local lobby), the client state and every control of the board, the chat
// and the menus. Start-up calls processparams when the window is first shown; from then on
// the socket's bytes go into the state's queue, Timer1 handles one message per tick, and
// syncView() copies the state's view onto the controls.
//
// The controls carry the names other code (and the tests) look them up by: `piece_1<n>`,
// `dice1`, `image_cup`, `label_status`, ... all children of `panel_board`.
//
// The window also answers the host's questions about the bot (BotSettings): the Bot Speed and
// Bot Abilities menus of the hosting copy pace and limit the bot.

#include "clientstate.h"
#include "lazywindow.h"
#include "phrasegate.h"
#include "playerinput.h"
#include "preferences.h"
#include "seams.h"
#include "soundplayer.h"
#include "windows/nextcopy.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QAction;
class QActionGroup;
class QLineEdit;
class QMenu;
class QPushButton;
class ChatControls;
class ChatView;
class QTimer;
class QToolButton;

namespace bg {
class Sock;
}

class Tspylist;
class Tgamestart;
class Thelp;
class Tphrases;
class Tdownload;
class Ttallylist;
class Tabout;
class Thostgame;
class Tjoingame;
class Tmovelist;
class LastPlayOutline;
class ReplayWindow;
class ReviewWindow;
class AnalysisWorker;
class PlayMarksOverlay;

// A picture that reports clicks; the board's checkers, dice, cup and targets are these.
class ImageControl : public QLabel {
    Q_OBJECT
  public:
    explicit ImageControl(QWidget* parent = nullptr) : QLabel(parent) {}
    // A press and a release, as a click or the accessibility bus's press action delivers them.
    void click();
    // Clickable pictures are buttons to a screen reader; the others are pictures.
    bool isClickable() const { return m_clickable; }
    void setClickable(bool on) { m_clickable = on; }
  signals:
    void pressed(Qt::MouseButton button);
    void released(Qt::MouseButton button);
    // The left button released over the picture: what the targets and choosers act on.
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    bool m_clickable = false;
};

class Tchat : public QMainWindow, public bg::BotSettings, private bg::ClientSink {
    Q_OBJECT
  public:
    explicit Tchat(QWidget* parent = nullptr);
    ~Tchat() override;

    // The other windows, created after this one; any may stay null (tests).
    struct Windows {
        LazyWindow<Tspylist> spylist{};
        LazyWindow<Tgamestart> gamestart{};
        LazyWindow<Thelp> help{};
        LazyWindow<Tphrases> phrases{};
        LazyWindow<Tdownload> download{}; // shown at start in a solo game
        Ttallylist* tally = nullptr;   // keeps the tally whether shown or not
        LazyWindow<Tabout> about{};
    };
    void setWindows(Windows w) { m_windows = std::move(w); }
    // Wires the other windows' requests (start a game, remove a spectator, ...) to this one.
    void connectWindows();
    // Makes this copy's host listen; returns false when it could not.
    void setHostStarter(std::function<bool(quint16 port)> starter) {
        m_hostStarter = std::move(starter);
    }
    // Why the last start failed, in the socket's own words ("Listen - Error Binding Socket").
    void setHostErrorText(std::function<QString()> text) { m_hostErrorText = std::move(text); }
    // Hosting or joining from a dialog hands the next copy's command line here, then this
    // window closes; the program starts that copy once this one has let go of everything.
    void setNextCopyStarter(NextCopyStarter starter) { m_nextCopyStarter = std::move(starter); }
    // The command line without the program name; read when the window is first shown.
    void setParams(const QStringList& params) { m_params = params; }
    // Message boxes go here when set (tests), otherwise to a modal box.
    void setMessageBoxHook(std::function<void(const QString&)> hook) {
        m_messageBoxHook = std::move(hook);
    }
    // The colour dialog: the chosen colour, or nothing when cancelled (tests answer it).
    void setColourDialogHook(std::function<std::optional<QColor>(const QColor&)> hook) {
        m_colourDialogHook = std::move(hook);
    }
    // The settings file; empty: "vesklobby.ini" in the program's file folder.
    void setSettingsPath(const QString& path) { m_settingsPath = path; }
    QString settingsPath() const;
    // Port of the game connection and of the host: 7772, or BG_PORT from the environment.
    static quint16 defaultGamePort();
    // The program's title, "Backgammon", for the whole application.
    static void setApplicationTitle();
    void setGamePort(quint16 port);
    quint16 gamePort() const { return m_port; }

    // --- BotSettings, read by the host of this copy ----------------------------------------
    int botDelayMs() const override;
    bool botNotLimited() const override { return m_botAbilitiesTag != 0; }
    int botAbility() const override { return m_botAbilitiesTag; }

    // --- start-up and connection ------------------------------------------------------------
    void processparams();
    void hostpress();
    void joinpress();
    // Bytes from the game connection, as the socket's read callback delivers them.
    void sockRead(std::string_view bytes);
    void Timer1Timer();
    // Handles every queued message now (tests, and the end of a burst).
    void drainQueue();
    void kicking(int number) { m_state.kicking(number); }
    // The phrase buttons' rate limit: a sent phrase closes the gate for 2 seconds.
    bool phraseGateOpen() const { return m_phraseGate.open(); }
    void closePhraseGate() { m_phraseGate.close(); }
    void setPhraseGateClock(bg::PhraseGate::Now now) { m_phraseGate.setClock(std::move(now)); }
    void sockInfo(const std::string& text);
    // A line for the chat view: style number, "+", text.
    void addlinetochat(const QString& line, const QColor& colour);
    // The colour of this user's chat lines (the colour dialog's choice), also `mychat`'s text.
    void setOwnChatColour(const QColor& colour);
    QColor ownChatColour() const { return m_ownchatcolour; }
    ChatView* chatView() const { return m_mainchat; }
    // Both "Clear Main Chat" items: empty the view, keyboard focus to the edit.
    void ClearMainChat1Click();
    void showMessageBox(const QString& text);
    void ResetScreenLocation1Click();
    // --- menus and settings (mainmenu.cpp, windowsettings.cpp) -----------------------------
    void button_startClick();
    void loadinifile();
    void saveinifile();
    void TextColor1Click();
    void N14Click(int size);
    void JustWatch1Click();
    // Before popup_kick opens over one of its labels.
    void label_playername1ContextPopup(QLabel* owner);
    QMenu* popupKick() const { return m_popupKick; }
    bool playSoundsOn() const;
    bool playChatterSoundsOn() const;
    int turnSoundTag() const { return m_turnSoundTag; }
    void Image3Click();
    void bringToFront();
    // --- playing others from the desktop (networkgames.cpp) --------------------------------
    void HostGame1Click();
    void JoinGame1Click();
    void CopyAddress1Click();
    Thostgame* hostGameWindow();
    Tjoingame* joinGameWindow();
    // Where others can join while this copy hosts a game with others; empty otherwise.
    const QStringList& joinAddresses() const { return m_joinAddresses; }
    // --- game records (gamerecords.cpp) -----------------------------------------------------
    void MoveList1Click();
    void SaveGameRecordAs1Click();
    void OpenGameRecord1Click();
    // File dialogs go here when set (tests): `save` says which one; the answer is a path or
    // empty for cancel.
    void setFileDialogHook(std::function<QString(bool save, const QString& suggested)> hook) {
        m_fileDialogHook = std::move(hook);
    }
    Tmovelist* moveList() const { return m_moveList; }
    // --- hints and game review (teaching.cpp) -----------------------------------------------
    void Hint1Click();
    void ReviewGame1Click();
    // Opens a review of `record` (a copy: the game may go on).
    ReviewWindow* openReview(const bg::rec::GameRecord& record);
    ReviewWindow* reviewWindow() const;
    // The hint's line while its marks are on the board; empty otherwise.
    const QString& shownHint() const { return m_hintText; }
    const PlayMarksOverlay* hintMarks() const { return m_hintMarks; }
    // Where the last finished game was saved by itself; empty when none was or it failed.
    QString lastSavedRecord() const { return m_lastSavedRecord; }
    // The board points outlined and the checkers marked for the last play.
    const std::vector<int>& lastPlayPoints() const;
    bool checkerMarked(int player, int piece) const { return m_shownMark[player][piece]; }

    const bg::ClientState& state() const { return m_state; }
    bg::ClientState& state() { return m_state; }
    const SoundPlayer& sounds() const { return m_sounds; }
    SoundPlayer& sounds() { return m_sounds; }
    ChatControls* chatControls() const { return m_chatControls; }
    // The nine phrases of the phrase buttons (their hints), button 1 first.
    QStringList phrases() const;
    void setPhrase(int n, const QString& phrase);
    QWidget* boardPanel() const { return m_panel; }
    bool isConnected() const;
    // Copies the state's view onto the controls.
    void syncView();

  signals:
    // The window closed; the program ends.
    void closedForGood();
    // A game has ended and this seat player's result is to be recorded.
    void gameForTally(const QString& text);

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;

  private:
    // ClientSink
    void sendBytes(std::string_view bytes) override;
    void playSound(std::string_view name) override;
    void addSystemLine(std::string_view text) override;
    void chatReceived(std::string_view body) override;
    void playasound(std::string_view body) override;
    void gameIsFull() override;
    void loadSettings() override;
    void addGame(std::string_view text) override;

    void buildBoard();
    void buildChat();
    void buildMenus();
    QAction* menuItem(QMenu* m, const QString& name, const QString& text);
    // Radio items whose chosen value goes into *tag; `chosen` is the item checked at first.
    QActionGroup* radioMenu(QMenu* m, std::span<const bg::RadioChoice> choices, int chosen,
                            int* tag);
    void buildPopupKick();
    void addNetworkGameItems(QMenu* file);
    void connectNetworkGames();
    void startNextCopy(const NextCopy& copy);
    void announceJoinAddresses();
    void setJustWatchOf(int mode);
    void markTextSize(int size);
    void syncPreferenceEffects();
    bg::Bounds bounds() const;
    void setBounds(const bg::Bounds& b);
    void saveBoundsAtClose();
    void connectBoardInput();
    void syncAccessibleNames();
    void syncTargetFaces();
    void connectFailed(const std::string& text);
    void loadPictures();
    ImageControl* image(const QString& name, int left, int top, int w, int h);
    QLabel* label(const QString& name, int left, int top, int w, int h);
    void openSock();
    void syncSpies();
    void cupTimerTimer();
    void turntimerTimer();
    void syncRecord();
    void syncLastPlay();
    QString askFile(bool save, const QString& suggested);
    void buildTeachingControls();
    void addTeachingItems(QMenu* options, QMenu* view);
    void showHint(const bg::rec::Turn& turn, unsigned revision);
    void syncTeaching();

    bg::ClientState m_state;
    bg::PlayerInput m_input{m_state, *this};
    SoundPlayer m_sounds;
    Windows m_windows;
    std::function<bool(quint16)> m_hostStarter;
    std::function<void(const QString&)> m_messageBoxHook;
    std::function<QString()> m_hostErrorText;
    std::function<std::optional<QColor>(const QColor&)> m_colourDialogHook;
    QString m_settingsPath;
    QStringList m_params;
    NextCopyStarter m_nextCopyStarter;
    LazyWindow<Thostgame> m_hostGame;
    LazyWindow<Tjoingame> m_joinGame;
    QStringList m_joinAddresses;
    QAction* m_copyAddress = nullptr;
    quint16 m_port = 0;
    bool m_shownOnce = false;
    // Runs once the window has first been painted: the board comes before other windows.
    void afterFirstPaint(std::function<void()> work);
    void runAfterFirstPaint();
    bool m_painted = false;
    std::vector<std::function<void()>> m_afterFirstPaint;
    bool m_closing = false;
    // Message boxes on screen, and a lost connection waiting for them to be read.
    int m_boxesOpen = 0;
    bool m_closeAfterBoxes = false;

    std::unique_ptr<bg::Sock> m_sock;
    std::unique_ptr<bg::Sock> m_sock11;

    QTimer* m_timer1 = nullptr;
    // Timer1 ticks only while messages wait; an idle window sleeps. A message that finds the
    // queue idle is handled at the next turn of the event loop, not a tick later.
    void wakeTimer1();
    void handleFirstMessage();
    bool m_firstMessagePosted = false;
    QTimer* m_cupTimer = nullptr;
    QTimer* m_turntimer = nullptr;
    bg::PhraseGate m_phraseGate;
    int m_cupFrame = 0;
    int m_turnTicks = 0;
    // The bounds last loaded or saved; closing saves only when the window differs from them.
    bg::Bounds m_remembered;
    // A window wider or taller than the work area is made this much smaller at closing.
    static constexpr int kWorkAreaTrim = 15;
    static constexpr int kTextSizes[] = {8, 10, 12, 14};

    // Preferences held by the menus until the settings file takes them over.
    int m_botSpeedTag = bg::kDefaultBotDelayMs;
    int m_botAbilitiesTag = 1;
    int m_turnSoundTag = 0;

    // Controls.
    QWidget* m_panel = nullptr;
    ImageControl* m_mainboard = nullptr;
    std::array<std::array<ImageControl*, bg::kPieces + 1>, 3> m_pieces{};
    ImageControl* m_dice1 = nullptr;
    ImageControl* m_dice2 = nullptr;
    ImageControl* m_double1 = nullptr;
    ImageControl* m_double2 = nullptr;
    ImageControl* m_cup = nullptr;
    std::array<ImageControl*, 3> m_moveit{};
    std::array<std::array<ImageControl*, 3>, 3> m_home{};
    std::array<QLabel*, 3> m_playername{};
    std::array<QLabel*, 3> m_pipsLabel{};
    std::array<ImageControl*, 3> m_eyes{};
    std::array<ImageControl*, 3> m_direction{};
    std::array<QPushButton*, 3> m_concede{};
    ImageControl* m_turn = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_gt = nullptr;
    QLabel* m_timerLabel = nullptr;
    QWidget* m_winnerPanel = nullptr;
    QLabel* m_winner1 = nullptr;
    QLabel* m_winner2 = nullptr;
    QWidget* m_choosePanel = nullptr;
    std::array<ImageControl*, 7> m_choose{};
    QPushButton* m_undo = nullptr;
    QPushButton* m_start = nullptr;
    ImageControl* m_image3 = nullptr;

    ChatView* m_mainchat = nullptr;
    ChatControls* m_chatControls = nullptr;
    QColor m_ownchatcolour = Qt::black;
    QLineEdit* m_mychat = nullptr;
    std::array<QToolButton*, 10> m_phrase{};
    QToolButton* m_smilies = nullptr;

    QAction* m_startGame = nullptr;
    QAction* m_justWatch = nullptr;
    QAction* m_playSounds = nullptr;
    QAction* m_playChatterSounds = nullptr;
    QAction* m_scrollChatOff = nullptr;
    QActionGroup* m_turnSoundGroup = nullptr;
    QActionGroup* m_botSpeedGroup = nullptr;
    QActionGroup* m_botAbilitiesGroup = nullptr;
    std::vector<QAction*> m_textSizeItems;
    QAction* m_markLastPlay = nullptr;
    QMenu* m_popupKick = nullptr;
    QAction* m_removeFromGame = nullptr;
    QAction* m_setToJustWatch = nullptr;
    QAction* m_unsetJustWatch = nullptr;
    int m_kickNumber = 0; // the seat of the label popup_kick was opened over

    // Game records: the move list window, the last play's marks, the saved file.
    Tmovelist* m_moveList = nullptr; // made when first shown, a child of this window
    LastPlayOutline* m_lastPlayOutline = nullptr;
    std::array<std::array<bool, bg::kPieces + 1>, 3> m_shownMark{};
    unsigned m_seenRecordRevision = ~0u;
    bool m_recordSaved = false;
    QString m_lastSavedRecord;
    std::function<QString(bool, const QString&)> m_fileDialogHook;

    // Hints and review: the engine's thread, the marks, the hint shown and its record revision.
    QPushButton* m_hint = nullptr;
    QPushButton* m_reviewButton = nullptr;
    QAction* m_hintItem = nullptr;
    QAction* m_reviewItem = nullptr;
    PlayMarksOverlay* m_hintMarks = nullptr;
    AnalysisWorker* m_hintWorker = nullptr;
    QString m_hintText;
    unsigned m_hintRevision = 0;
    QPointer<ReviewWindow> m_reviewWindow;

    // Pictures, painted once.
    std::array<QPixmap, 3> m_checkerPix;
    std::array<QPixmap, 3> m_markedCheckerPix;
    std::array<QPixmap, 7> m_diePix;
    std::array<QPixmap, 4> m_cupPix;
    int m_shownCupFrame = -1;
    std::array<int, 4> m_shownDie{-1, -1, -1, -1};
    std::array<int, 3> m_shownMoveFace{-1, -1, -1};
    std::array<std::array<int, 3>, 3> m_shownHomeFace{{{-1, -1, -1}, {-1, -1, -1}, {-1, -1, -1}}};
};
