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
#include "seams.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLineEdit;
class QMenu;
class QPushButton;
class QTextBrowser;
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

// A picture that reports clicks; the board's checkers, dice, cup and targets are these.
class ImageControl : public QLabel {
    Q_OBJECT
  public:
    explicit ImageControl(QWidget* parent = nullptr) : QLabel(parent) {}
  signals:
    void pressed(Qt::MouseButton button);
    void released(Qt::MouseButton button);

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// Plays the program's named sounds. Until the sound files arrive this only remembers the last
// name asked for, which is enough for the game handlers to name their sounds.
class SoundPlayer {
  public:
    void play(const QString& name) { m_last = name; }
    const QString& last() const { return m_last; }

  private:
    QString m_last;
};

class Tchat : public QMainWindow, public bg::BotSettings, private bg::ClientSink {
    Q_OBJECT
  public:
    explicit Tchat(QWidget* parent = nullptr);
    ~Tchat() override;

    // The other windows, created after this one; any may stay null (tests).
    struct Windows {
        Tspylist* spylist = nullptr;
        Tgamestart* gamestart = nullptr;
        Thelp* help = nullptr;
        Tphrases* phrases = nullptr;
        Tdownload* download = nullptr;
        Ttallylist* tally = nullptr;
        Tabout* about = nullptr;
    };
    void setWindows(const Windows& w) { m_windows = w; }
    // Wires the other windows' requests (start a game, remove a spectator, ...) to this one.
    void connectWindows();
    // Makes this copy's host listen; returns false when it could not.
    void setHostStarter(std::function<bool(quint16 port)> starter) {
        m_hostStarter = std::move(starter);
    }
    // The command line without the program name; read when the window is first shown.
    void setParams(const QStringList& params) { m_params = params; }
    // Message boxes go here when set (tests), otherwise to a modal box.
    void setMessageBoxHook(std::function<void(const QString&)> hook) {
        m_messageBoxHook = std::move(hook);
    }
    // Port of the game connection and of the host: 7772, or BG_PORT from the environment.
    static quint16 defaultGamePort();
    // The program's title, "Backgammon", for the whole application.
    static void setApplicationTitle();
    void setGamePort(quint16 port);
    quint16 gamePort() const { return m_port; }

    // --- BotSettings, read by the host of this copy ----------------------------------------
    int botDelayMs() const override { return m_botSpeedTag; }
    bool botNotLimited() const override { return m_botAbilitiesTag != 0; }

    // --- start-up and connection ------------------------------------------------------------
    void processparams();
    void hostpress();
    void joinpress();
    // Bytes from the game connection, as the socket's read callback delivers them.
    void sockRead(std::string_view bytes) {
        m_state.sockRead(bytes);
        wakeTimer1();
    }
    void Timer1Timer();
    // Handles every queued message now (tests, and the end of a burst).
    void drainQueue();
    void kicking(int number) { m_state.kicking(number); }
    // The phrase buttons' rate limit: a sent phrase closes the gate, Timer1 reopens it.
    bool phraseGateOpen() const { return m_phrasegate; }
    void closePhraseGate() {
        m_phrasegate = false;
        wakeTimer1();
    }
    void sockInfo(const std::string& text);
    // A line for the chat view: style number, "+", text.
    void addlinetochat(const QString& line, const QColor& colour);
    void showMessageBox(const QString& text);
    void ResetScreenLocation1Click();
    void bringToFront();

    const bg::ClientState& state() const { return m_state; }
    bg::ClientState& state() { return m_state; }
    const SoundPlayer& sounds() const { return m_sounds; }
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
    void loadPictures();
    ImageControl* image(const QString& name, int left, int top, int w, int h);
    QLabel* label(const QString& name, int left, int top, int w, int h);
    void openSock();
    void syncSpies();
    void cupTimerTimer();
    void turntimerTimer();

    bg::ClientState m_state;
    SoundPlayer m_sounds;
    Windows m_windows;
    std::function<bool(quint16)> m_hostStarter;
    std::function<void(const QString&)> m_messageBoxHook;
    QStringList m_params;
    quint16 m_port = 0;
    bool m_shownOnce = false;
    bool m_closing = false;
    // Message boxes on screen, and a lost connection waiting for them to be read.
    int m_boxesOpen = 0;
    bool m_closeAfterBoxes = false;

    std::unique_ptr<bg::Sock> m_sock;
    std::unique_ptr<bg::Sock> m_sock11;

    QTimer* m_timer1 = nullptr;
    // Timer1 ticks only while a message waits or the phrase gate counts; an idle window sleeps.
    void wakeTimer1();
    QTimer* m_cupTimer = nullptr;
    QTimer* m_turntimer = nullptr;
    bool m_phrasegate = true;
    int m_phrasegatecount = 0;
    int m_cupFrame = 0;
    int m_turnTicks = 0;
    // Remembered bounds for "Reset Screen Location" and for deciding to save at closing.
    QRect m_remembered;

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

    QTextBrowser* m_mainchat = nullptr;
    QLineEdit* m_mychat = nullptr;
    std::array<QToolButton*, 10> m_phrase{};
    QToolButton* m_smilies = nullptr;

    QAction* m_startGame = nullptr;
    QAction* m_justWatch = nullptr;

    // Pictures, painted once.
    std::array<QPixmap, 3> m_checkerPix;
    std::array<QPixmap, 7> m_diePix;
    std::array<QPixmap, 4> m_cupPix;
    int m_shownCupFrame = -1;
    std::array<int, 4> m_shownDie{-1, -1, -1, -1};
};
