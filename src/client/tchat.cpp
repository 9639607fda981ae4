#include "tchat.h"

#include "analysisworker.h"
#include "reviewwindow.h"

#include "artwork.h"
#include "boardgeometry.h"
#include "chatcontrols.h"
#include "chatlayout.h"
#include "chattersounds.h"
#include "chatview.h"
#include "download/tdownload.h"
#include "environment.h"
#include "lastplayoutline.h"
#include "lettering.h"
#include "protocol.h"
#include "qcolortext.h"
#include "singleinstance.h"
#include "sock.h"
#include "tally/ttallylist.h"
#include "windows/pictureclick.h"
#include "windows/tabout.h"
#include "windows/tgamestart.h"
#include "windows/thelp.h"
#include "windows/tphrases.h"
#include "windows/tspylist.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <initializer_list>

namespace geo = bg::geo;

namespace {

constexpr int kTimer1IntervalMs = 1;
constexpr int kTurnTimerMs = 1000;
const QColor kSystemColour(0, 0, 255);
constexpr int kFirstPaintWaitMs = 1000;
const QColor kTimerOrange(255, 141, 28);
const QColor kTimerOlive(47, 73, 2);
constexpr int kPhraseButtons = 9;
const char* const kDefaultPhrases[kPhraseButtons] = {
    "Way To Go!", "Good One!", "Nice Try!",         "Excellent!",         "Brilliant!",
    "Wow, WTG!",  "Thanks!",   "Way To Go Teamie!", "Good Game Everyone!"};

QString qs(std::string_view s) {
    return QString::fromStdString(std::string(s));
}

// The panel behind the board and the chat: the program's tiled background.
class TiledPanel : public QWidget {
  public:
    explicit TiledPanel(QWidget* parent) : QWidget(parent) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (m_tile.isNull() || m_tile.devicePixelRatio() != devicePixelRatioF())
            m_tile = art::backgroundTile(devicePixelRatioF());
        p.drawTiledPixmap(rect(), m_tile);
    }

  private:
    QPixmap m_tile;
};

} // namespace

void ImageControl::mousePressEvent(QMouseEvent* e) {
    emit pressed(e->button());
    QLabel::mousePressEvent(e);
}

void ImageControl::mouseReleaseEvent(QMouseEvent* e) {
    emit released(e->button());
    if (isPictureClick(*this, *e)) emit clicked();
    QLabel::mouseReleaseEvent(e);
}

// ---- creation
// ------------------------------------------------------------------------------------

Tchat::Tchat(QWidget* parent) : QMainWindow(parent), m_state(*static_cast<bg::ClientSink*>(this)) {
    setObjectName("Tchat");
    setWindowTitle("Backgammon");
    // The system-wide "backgammon" lock is held for the life of the process; nobody tests it.
    holdProcessMutex();

    auto* central = new TiledPanel(this);
    central->setObjectName("panel_main");
    central->setMinimumSize(geo::kMinClientWidth, geo::kMinClientHeight);
    setCentralWidget(central);
    m_panel = new QWidget(central);
    m_panel->setObjectName("panel_board");
    m_panel->setGeometry(geo::kPanelMargin / 2, geo::kPanelMargin / 2, geo::kPanelWidth,
                         geo::kPanelHeight);
    buildBoard();
    buildChat();
    buildMenus();
    connectBoardInput();
    loadPictures();
    resize(geo::kDefaultWidth, geo::kDefaultHeight);

    m_sock = std::make_unique<bg::Sock>();
    m_sock->setObjectName("sock");
    m_port = defaultGamePort();
    m_sock->setPortName(std::to_string(m_port));
    m_sock->setHostName(bg::kLoopback);
    m_sock->OnRead = [this](bg::Sock* s, int) {
        try {
            sockRead(s->Receive());
        } catch (const bg::ESockException&) {
        }
    };
    m_sock->OnInfo = [this](bg::Sock*, bg::Sock::SocketInfo kind, const std::string& text) {
        if (kind == bg::Sock::SocketInfo::Error) connectFailed(text);
        sockInfo(text);
    };
    m_sock11 = std::make_unique<bg::Sock>();
    m_sock11->setObjectName("Sock11");
    m_sock11->setHostName(bg::kLoopback);
    m_sock11->setPortName("9001");

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName("Timer1");
    m_timer1->setInterval(kTimer1IntervalMs);
    connect(m_timer1, &QTimer::timeout, this, &Tchat::Timer1Timer);
    m_cupTimer = new QTimer(this);
    m_cupTimer->setInterval(geo::kCupFrameMs);
    connect(m_cupTimer, &QTimer::timeout, this, &Tchat::cupTimerTimer);
    m_turntimer = new QTimer(this);
    m_turntimer->setObjectName("turntimer");
    m_turntimer->setInterval(kTurnTimerMs);
    connect(m_turntimer, &QTimer::timeout, this, &Tchat::turntimerTimer);

    const QString buttonStyle =
        "QPushButton { color: #fff3d0; font: bold 11px 'DejaVu Sans'; border: 1px solid #c8a058;"
        " border-radius: 4px; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #8a5a30,"
        " stop:1 #4a2810); padding: 0 4px; }"
        "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #a06a38,"
        " stop:1 #5a3418); }"
        "QPushButton:pressed { background: #3a200c; }";
    for (QPushButton* b : {m_start, m_undo, m_hint, m_reviewButton, m_concede[1], m_concede[2]})
        b->setStyleSheet(buttonStyle);

    m_state.clearall();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    syncView();
}

Tchat::~Tchat() {
    // A hint still being found must not come back to a window that is going.
    m_hintWorker->stop();
    // Sockets go first and silently, before the controls their callbacks touch.
    m_sock.reset();
    m_sock11.reset();
}

quint16 Tchat::defaultGamePort() {
    return static_cast<quint16>(bg::environment::gamePort());
}

void Tchat::setApplicationTitle() {
    // Only the application name: a display name would be appended by the window system to
    // every other window's caption ("Backgammon - Tally List — Backgammon").
    QApplication::setApplicationName("Backgammon");
}

ImageControl* Tchat::image(const QString& name, int left, int top, int w, int h) {
    auto* c = new ImageControl(m_panel);
    c->setObjectName(name);
    c->setGeometry(left, top, w, h);
    c->setAttribute(Qt::WA_TranslucentBackground);
    return c;
}

QLabel* Tchat::label(const QString& name, int left, int top, int w, int h) {
    auto* l = new QLabel(m_panel);
    l->setObjectName(name);
    l->setGeometry(left, top, w, h);
    return l;
}

void Tchat::buildBoard() {
    m_mainboard = image("image_mainboard", geo::kMainBoardLeft, geo::kMainBoardTop,
                        geo::kMainBoardWidth, geo::kMainBoardHeight);
    m_lastPlayOutline = new LastPlayOutline(m_panel);
    m_turn = image("image_turn", geo::kTurnBarLeft, geo::turnBarTop(1), geo::kTurnBarWidth,
                   geo::kTurnBarHeight);
    m_turn->hide();

    const Lettering nameLettering{art::nameColour(), 12, true};
    const Lettering pipsLettering{art::pipsColour(), 11};
    for (int p = 1; p <= 2; ++p) {
        m_playername[p] =
            label(QString("label_playername%1").arg(p), geo::kNameLeft, geo::nameTop(p), 94, 17);
        setLettering(m_playername[p], nameLettering);
        m_playername[p]->setProperty("hint", p == 2 ? QString(bg::kBotName) : QString());
        m_playername[p]->setContextMenuPolicy(Qt::CustomContextMenu);
        m_pipsLabel[p] =
            label(QString("label_pips%1").arg(p), geo::kPipsLeft, geo::nameTop(p), 90, 17);
        setLettering(m_pipsLabel[p], pipsLettering);
        m_eyes[p] =
            image(QString("image_eyes%1").arg(p), geo::eyesLeft(p), geo::eyesTop(p), 26, 14);
        m_eyes[p]->setToolTip("Just watching");
        m_concede[p] = new QPushButton(m_panel);
        m_concede[p]->setObjectName(QString("button_concede%1").arg(p));
        m_concede[p]->setGeometry(geo::kConcedeLeft, geo::concedeTop(p), 36, 20);
        m_concede[p]->setToolTip("Concede the game");
        m_concede[p]->setFocusPolicy(Qt::NoFocus);
        m_direction[p] = image(QString("image_direction%1").arg(p), geo::kDirectionLeft,
                               geo::kDirectionTop, geo::kDirectionWidth, geo::kDirectionHeight);
        m_direction[p]->setCursor(Qt::PointingHandCursor);
    }
    m_status = label("label_status", geo::kStatusLeft, geo::kStatusTop, geo::kStatusWidth, 17);
    m_status->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    setLettering(m_status, {QColor(0xff, 0xf3, 0xd0), 12, true});
    m_gt = label("label_gt", geo::kGameTypeLeft, geo::kGameTypeTop, 186, 16);
    m_gt->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    setLettering(m_gt, {QColor(0xf0, 0xcd, 0x78), 12, true, "DejaVu Sans", 1});
    m_timerLabel = label("label_timer", geo::kTimerLeft, geo::kTimerTop, 190, 16);
    m_timerLabel->setText("TIME IS RUNNING OUT");
    setLettering(m_timerLabel, {kTimerOlive, 12, true}); // blinks orange and olive
    m_timerLabel->hide();

    for (int p = 1; p <= 2; ++p)
        for (int id = 1; id <= bg::kPieces; ++id) {
            auto* c = image(QString("piece_%1%2").arg(p).arg(id), geo::kPileLeft, 0,
                            geo::kCheckerWidth, geo::kCheckerHeight);
            c->setProperty("hint", QString::number(p));
            c->setProperty("piece", id);
            m_pieces[p][id] = c;
        }
    for (int i = 1; i <= 2; ++i) {
        m_moveit[i] = image(QString("moveit_%1").arg(i), geo::kMoveTargetRestLeft,
                            geo::kMoveTargetRestTop, geo::kLittleDieWidth, geo::kLittleDieHeight);
        m_moveit[i]->setCursor(Qt::PointingHandCursor);
        for (int p = 1; p <= 2; ++p) {
            m_home[p][i] = image(QString("image_home%1%2").arg(p).arg(i),
                                 i == 1 ? geo::kHomeTarget1Left : geo::kHomeTarget2Left,
                                 geo::kHomeTargetTop, geo::kHomeDieWidth, geo::kHomeDieHeight);
            m_home[p][i]->setCursor(Qt::PointingHandCursor);
        }
    }
    m_double1 = image("image_double1", 0, geo::kDouble1Top, geo::kDieSize, geo::kDieSize);
    m_double2 = image("image_double2", 0, geo::kDouble2Top, geo::kDieSize, geo::kDieSize);
    m_dice1 = image("dice1", 0, 0, geo::kDieSize, geo::kDieSize);
    m_dice2 = image("dice2", 0, 0, geo::kDieSize, geo::kDieSize);
    m_cup = image("image_cup", 0, geo::kCupTop, geo::kCupWidth, geo::kCupHeight);
    m_cup->setCursor(Qt::PointingHandCursor);

    m_undo = new QPushButton("Undo", m_panel);
    m_undo->setObjectName("button_undo");
    m_undo->setGeometry(420, 342, 64, 20);
    m_undo->setFocusPolicy(Qt::NoFocus);
    m_start = new QPushButton("Start Game", m_panel);
    m_start->setObjectName("button_start");
    m_start->setGeometry(8, 0, 92, 20);
    m_start->setFocusPolicy(Qt::NoFocus);

    m_winnerPanel = new QLabel(m_panel);
    m_winnerPanel->setObjectName("panel_winner");
    m_winnerPanel->setGeometry(geo::kWinnerLeft, geo::kWinnerTop, geo::kWinnerWidth,
                               geo::kWinnerHeight);
    // Two labels make the banner's lettering: a dark shadow under the bright text.
    m_winner2 = new QLabel(m_winnerPanel);
    m_winner2->setObjectName("label_winner2");
    m_winner2->setGeometry(2, 2, geo::kWinnerWidth, geo::kWinnerHeight);
    m_winner1 = new QLabel(m_winnerPanel);
    m_winner1->setObjectName("label_winner1");
    m_winner1->setGeometry(0, 0, geo::kWinnerWidth, geo::kWinnerHeight);
    for (QLabel* l : {m_winner1, m_winner2})
        l->setAlignment(Qt::AlignCenter);
    setLettering(m_winner1, {QColor(0xff, 0xe9, 0xa8), 19, true, "DejaVu Serif"});
    setLettering(m_winner2, {QColor(0x2a, 0x04, 0x04), 19, true, "DejaVu Serif"});
    buildTeachingControls();

    m_choosePanel = new QLabel(m_panel);
    m_choosePanel->setObjectName("panel_choosedouble");
    m_choosePanel->setGeometry(geo::kChooseLeft, geo::kChooseTop, geo::kChooseWidth,
                               geo::kChooseHeight);
    auto* chooseCaption = new QLabel("CHOOSE YOUR DOUBLES", m_choosePanel);
    chooseCaption->setObjectName("label_choose");
    chooseCaption->setGeometry(0, 8, geo::kChooseWidth, 20);
    chooseCaption->setAlignment(Qt::AlignCenter);
    setLettering(chooseCaption, {QColor(0xff, 0xe9, 0xa8), 13, true});
    for (int v = 1; v <= 6; ++v) {
        auto* c = new ImageControl(m_choosePanel);
        c->setObjectName(QString("image_choose%1").arg(v));
        c->setGeometry(24 + (v - 1) * 54, 40, geo::kDieSize, geo::kDieSize);
        c->setProperty("value", v);
        c->setCursor(Qt::PointingHandCursor);
        m_choose[v] = c;
    }

    m_image3 = image("Image3", geo::kWebLinkLeft, geo::kWebLinkTop, 140, 20);
    m_image3->setCursor(Qt::PointingHandCursor);
}

void Tchat::buildChat() {
    constexpr int chatTop = 368;
    for (int n = 1; n <= kPhraseButtons; ++n) {
        auto* b = new QToolButton(m_panel);
        b->setObjectName(QString("b_phrase%1").arg(n));
        b->setGeometry(8, chatTop + (n - 1) * 17, 118, 17);
        b->setText(kDefaultPhrases[n - 1]);
        b->setToolTip(kDefaultPhrases[n - 1]);
        b->setAutoRaise(true);
        setLettering(b, {QColor(0xf0, 0xe0, 0xc0), 10});
        m_phrase[n] = b;
    }
    m_mainchat = new ChatView(m_panel);
    m_mainchat->setGeometry(132, chatTop, 625, 152);
    m_mainchat->setStyleSheet("QTextBrowser { background: #e2d5c0; border: 1px solid #000; }");
    m_mychat = new QLineEdit("<Enter Chat Here>", m_panel);
    m_mychat->setObjectName("mychat");
    m_mychat->setGeometry(132, 523, 452, 22);
    setOwnChatColour(m_ownchatcolour);
    m_smilies = new QToolButton(m_panel);
    m_smilies->setObjectName("button_smilies");
    m_smilies->setGeometry(588, 523, 24, 22);
    m_smilies->setText(":)");
    m_chatControls = new ChatControls(
        m_panel, m_mainchat, m_mychat, m_smilies, m_phrase,
        {.loggedin = [this] { return m_state.loggedin(); },
         .myplayer = [this] { return m_state.myplayer(); },
         .seatPlayer = [this] { return m_state.isSeat(m_state.myplayer()); },
         .send = [this](const std::string& message) { sendBytes(bg::frame(message)); },
         .ownColour = [this] { return m_ownchatcolour; },
         .phraseGateOpen = [this] { return phraseGateOpen(); },
         .closePhraseGate = [this] { closePhraseGate(); },
         .clearChat = [this] { ClearMainChat1Click(); },
         .messageBox = [this](const QString& text) { showMessageBox(text); }});
    m_phrase[10] = m_chatControls->soundButton();
    m_phrase[10]->setGeometry(8, chatTop + kPhraseButtons * 17 + 2, 24, 22);
}

void Tchat::loadPictures() {
    const qreal dpr = devicePixelRatioF();
    m_mainboard->setPixmap(art::board(dpr));
    m_turn->setPixmap(art::turnBar(dpr));
    for (int p = 1; p <= 2; ++p) {
        m_checkerPix[p] = art::checker(p, dpr);
        m_markedCheckerPix[p] = art::markedChecker(p, dpr);
        for (int id = 1; id <= bg::kPieces; ++id)
            m_pieces[p][id]->setPixmap(m_checkerPix[p]);
        m_eyes[p]->setPixmap(art::eyes(dpr));
        m_concede[p]->setIcon(QIcon(art::flag(dpr)));
    }
    for (int v = 0; v <= 6; ++v)
        m_diePix[v] = art::dieFace(v, dpr);
    for (int f = 0; f < geo::kCupFrames; ++f)
        m_cupPix[f] = art::cup(f, dpr);
    for (int v = 1; v <= 6; ++v)
        m_choose[v]->setPixmap(m_diePix[v]);
    static_cast<QLabel*>(m_winnerPanel)->setPixmap(art::winnerBanner(dpr));
    static_cast<QLabel*>(m_choosePanel)->setPixmap(art::chooserPanel(dpr));
    m_image3->setPixmap(art::webLink(dpr));
    // Move and bear-off targets get their faces when they are first set up (syncTargetFaces):
    // they are hidden until then.
    m_shownCupFrame = -1;
    m_shownDie = {-1, -1, -1, -1};
    m_shownMoveFace = {-1, -1, -1};
    m_shownHomeFace = {{{-1, -1, -1}, {-1, -1, -1}, {-1, -1, -1}}};
}

void Tchat::setGamePort(quint16 port) {
    m_port = port;
    m_sock->setPortName(std::to_string(port));
}

void Tchat::connectWindows() {
    connectNetworkGames();
    m_windows.gamestart.onMade([this](Tgamestart& dialog) {
        connect(&dialog, &Tgamestart::startRequested, this,
                [this](const QString& seconds, const QString& acey) {
                    sendBytes(bg::frame(bg::msg::startgame(
                        m_state.playername(), seconds.toStdString(), acey.toStdString())));
                    saveinifile();
                });
    });
    m_windows.spylist.onMade([this](Tspylist& list) {
        connect(&list, &Tspylist::kickRequested, this, &Tchat::kicking);
        syncSpies();
    });
    m_windows.phrases.onMade([this](Tphrases& editor) {
        connect(&editor, &Tphrases::aboutToOpen, this,
                [this, &editor] { editor.setPhrases(phrases()); });
        connect(&editor, &Tphrases::phrasesDone, this, [this](const QStringList& list) {
            for (int n = 1; n <= list.size(); ++n)
                setPhrase(n, list[n - 1]);
        });
        QPalette tiled = editor.palette();
        tiled.setBrush(QPalette::Window, QBrush(art::backgroundTile(editor.devicePixelRatioF())));
        // Light lettering, as the phrase buttons have, reads on the dark wood.
        tiled.setColor(QPalette::WindowText, QColor(0xf0, 0xe0, 0xc0));
        editor.setPalette(tiled);
        editor.setAutoFillBackground(true);
    });
    m_windows.help.onMade([this](Thelp& help) {
        connect(&help, &Thelp::aboutRequested, this, [this] {
            if (m_windows.about) m_windows.about->show();
        });
    });
}

// ---- start-up and connection
// ---------------------------------------------------------------------

void Tchat::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (m_shownOnce) return;
    m_shownOnce = true;
    processparams();
}

bool Tchat::event(QEvent* e) {
    const bool handled = QMainWindow::event(e);
    // A top-level widget paints when it handles its update request.
    if (e->type() == QEvent::UpdateRequest) runAfterFirstPaint();
    return handled;
}

void Tchat::runAfterFirstPaint() {
    if (m_painted) return;
    m_painted = true;
    for (auto& work : std::exchange(m_afterFirstPaint, {}))
        QTimer::singleShot(0, this, std::move(work));
}

void Tchat::afterFirstPaint(std::function<void()> work) {
    if (m_painted) {
        QTimer::singleShot(0, this, std::move(work));
        return;
    }
    // A window that is not painted soon (started minimised, say) does not hold the work back.
    if (m_afterFirstPaint.empty())
        QTimer::singleShot(kFirstPaintWaitMs, this, &Tchat::runAfterFirstPaint);
    m_afterFirstPaint.push_back(std::move(work));
}

void Tchat::processparams() {
    m_state.beginParams();
    if (m_params.isEmpty()) {
        addSystemLine(std::string_view("Loading Solo Game..Please wait."));
        if (m_windows.download) afterFirstPaint([this] { m_windows.download->show(); });
        m_state.setSolo();
        hostpress();
    } else {
        addSystemLine(std::string_view("Loading Multi-player Game.. Please Wait."));
        if (m_params.size() >= 3) {
            m_state.setMultiplayer(m_params[0].toStdString(), m_params[1].toStdString());
            if (m_params[2] == "true")
                hostpress();
            else
                joinpress();
            try {
                m_sock11->Open();
            } catch (const bg::ESockException&) {
                // Nobody needs the lobby's port; its absence changes nothing.
            }
        }
    }
    syncView();
}

void Tchat::hostpress() {
    if (m_hostStarter && !m_hostStarter(gamePort())) {
        const QString why = m_hostErrorText ? m_hostErrorText() : QString();
        showMessageBox(why.isEmpty() ? QString("Listen - Error Binding Socket") : why);
        return;
    }
    m_state.hostpress();
    // A solo game listens on the loopback address only: nobody else could join it.
    if (!m_params.isEmpty()) announceJoinAddresses();
    m_sock->setHostName(bg::kLoopback);
    openSock();
    syncView();
}

void Tchat::joinpress() {
    m_state.joinpress();
    m_sock->setHostName(m_state.hostaddress());
    openSock();
    syncView();
}

void Tchat::openSock() {
    try {
        m_sock->Open();
    } catch (const bg::ESockException& e) {
        // An address that does not resolve leaves the window open and unconnected.
        connectFailed(e.what());
    }
}

void Tchat::connectFailed(const std::string& text) {
    // Only a connection that never came about: the user must not be left waiting for ever.
    if (m_sock->connected() || m_state.loggedin()) return;
    addSystemLine("Could not connect to " + m_sock->hostName() + ": " + text);
}

bool Tchat::isConnected() const {
    return m_sock && m_sock->connected();
}

void Tchat::sockInfo(const std::string& text) {
    if (text != "Socket Closed") return;
    // A refused connection is dropped right after "CMD_full": closing at once would take the
    // "Game is full" box away before anybody could read it.
    if (m_boxesOpen > 0)
        m_closeAfterBoxes = true;
    else
        close();
}

void Tchat::sockRead(std::string_view bytes) {
    m_state.sockRead(bytes);
    if (m_state.queued() == 0 || m_closing || m_timer1->isActive() || m_firstMessagePosted)
        return;
    // The queue was idle: its first message goes at once, the ones behind it one per tick.
    m_firstMessagePosted = true;
    QMetaObject::invokeMethod(this, &Tchat::handleFirstMessage, Qt::QueuedConnection);
}

void Tchat::handleFirstMessage() {
    m_firstMessagePosted = false;
    if (m_closing || m_timer1->isActive()) return; // a drain or a tick came first
    if (m_state.processsocktimer()) syncView();
    if (m_state.queued() > 0) wakeTimer1();
}

void Tchat::Timer1Timer() {
    if (m_state.processsocktimer()) syncView();
    if (m_state.queued() == 0) m_timer1->stop();
}

void Tchat::wakeTimer1() {
    if (!m_closing && !m_timer1->isActive()) m_timer1->start();
}

void Tchat::drainQueue() {
    while (m_state.processsocktimer()) {
    }
    syncView();
}

void Tchat::showMessageBox(const QString& text) {
    ++m_boxesOpen;
    if (m_messageBoxHook)
        m_messageBoxHook(text);
    else
        QMessageBox::information(this, windowTitle(), text);
    if (--m_boxesOpen == 0 && m_closeAfterBoxes) {
        m_closeAfterBoxes = false;
        close();
    }
}

void Tchat::ResetScreenLocation1Click() {
    move(geo::kResetLeft, geo::kResetTop);
    resize(geo::kDefaultWidth, geo::kDefaultHeight);
}

void Tchat::bringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void Tchat::closeEvent(QCloseEvent* e) {
    QMainWindow::closeEvent(e);
    if (!e->isAccepted() || m_closing) return;
    m_closing = true;
    m_timer1->stop();
    saveBoundsAtClose();
    emit closedForGood();
}

// ---- what the state sends out -------------------------------------------------------------------

void Tchat::sendBytes(std::string_view bytes) {
    try {
        if (m_sock->handle() != -1) m_sock->Send(bytes);
    } catch (const bg::ESockException&) {
    }
}

void Tchat::playSound(std::string_view name) {
    const auto* on = findChild<QAction*>("PlaySounds1");
    if (on && on->isChecked()) m_sounds.play(qs(name));
}

void Tchat::addSystemLine(std::string_view text) {
    addlinetochat("0+" + qs(text), kSystemColour);
}

void Tchat::addlinetochat(const QString& line, const QColor& colour) {
    m_mainchat->addLine(line, colour);
}

void Tchat::chatReceived(std::string_view body) {
    const bg::ReceivedChat chat = bg::splitReceivedChat(body);
    addlinetochat(qs(chat.line), bg::toQColor(chat.colour));
}

void Tchat::setOwnChatColour(const QColor& colour) {
    m_ownchatcolour = colour;
    m_mychat->setStyleSheet(QString("QLineEdit { background: #e2d5c0; border: 1px solid #000;"
                                    " font: 13px Arial; color: %1; }")
                                .arg(colour.name()));
}

void Tchat::ClearMainChat1Click() {
    m_mainchat->clear();
    m_mychat->setFocus();
}

void Tchat::playasound(std::string_view body) {
    const auto* on = findChild<QAction*>("PlayChatterSounds1");
    const bg::ChatterReceipt r = bg::receiveChatter(
        body, on && on->isChecked(), [this](int seat) -> std::optional<std::string> {
            if (!m_state.isSeat(seat)) return std::nullopt;
            return m_state.view().playerName[static_cast<std::size_t>(seat)];
        });
    if (!r.play.empty()) m_sounds.play(qs(r.play));
    if (!r.line.empty()) addlinetochat(qs(r.line), kSystemColour);
}

QStringList Tchat::phrases() const {
    QStringList out;
    for (int n = 1; n <= kPhraseButtons; ++n)
        out << m_phrase[static_cast<std::size_t>(n)]->toolTip();
    return out;
}

void Tchat::setPhrase(int n, const QString& phrase) {
    if (n >= 1 && n <= kPhraseButtons) m_phrase[static_cast<std::size_t>(n)]->setToolTip(phrase);
}

void Tchat::gameIsFull() {
    showMessageBox("Game is full");
    close();
}

void Tchat::loadSettings() {
    loadinifile();
}

int Tchat::botDelayMs() const {
    // Test runs may speed the bot up beyond the menu's choices.
    return bg::environment::botDelayMs().value_or(m_botSpeedTag);
}

bool Tchat::playSoundsOn() const {
    return m_playSounds->isChecked();
}

bool Tchat::playChatterSoundsOn() const {
    return m_playChatterSounds->isChecked();
}

void Tchat::addGame(std::string_view text) {
    emit gameForTally(qs(text));
}

// ---- view --------------------------------------------------------------------------------------

void Tchat::syncView() {
    const bg::ClientView& v = m_state.view();

    // Checkers: in front of the board, the higher a stack level the further in front.
    struct Z {
        int layer, player, piece;
    };
    std::array<Z, 2 * bg::kPieces> order{};
    int n = 0;
    for (int p = 1; p <= 2; ++p)
        for (int id = 1; id <= bg::kPieces; ++id) {
            const bg::CheckerSprite& s = v.checkers[p][id];
            ImageControl* c = m_pieces[p][id];
            if (c->pos() != QPoint(s.left, s.top)) c->move(s.left, s.top);
            c->setVisible(true);
            const bool mine = m_state.loggedin() && p == m_state.myplayer();
            c->setCursor(mine ? Qt::PointingHandCursor : Qt::ArrowCursor);
            order[n++] = {s.layer, p, id};
        }
    std::stable_sort(order.begin(), order.end(),
                     [](const Z& a, const Z& b) { return a.layer < b.layer; });
    m_turn->move(v.turnBar.left, v.turnBar.top);
    m_turn->setVisible(v.turnBar.visible);
    m_turn->lower();
    m_lastPlayOutline->lower();
    m_mainboard->lower();
    for (const Z& z : order)
        m_pieces[z.player][z.piece]->raise();

    // Dice.
    auto die = [this](ImageControl* c, const bg::DieSprite& s, int slot) {
        c->move(s.left, s.top);
        if (m_shownDie[slot] != s.value) {
            m_shownDie[slot] = s.value;
            if (s.value >= 0 && s.value <= 6)
                c->setPixmap(m_diePix[s.value]);
            else
                c->clear();
        }
        c->setVisible(s.visible);
        c->raise();
    };
    die(m_double1, v.double1, 2);
    die(m_double2, v.double2, 3);
    die(m_dice1, v.dice1, 0);
    die(m_dice2, v.dice2, 1);
    for (int i = 1; i <= 2; ++i) {
        m_moveit[i]->move(v.moveTargets[i].left, v.moveTargets[i].top);
        m_moveit[i]->setVisible(v.moveTargets[i].visible);
        m_moveit[i]->raise();
        for (int p = 1; p <= 2; ++p) {
            m_home[p][i]->setVisible(v.homeTargets[p][i].visible);
            m_home[p][i]->raise();
        }
    }
    m_cup->move(v.cup.left, v.cup.top);
    m_cup->setVisible(v.cup.visible);
    if (v.cupAnimating && !m_cupTimer->isActive()) m_cupTimer->start();
    if (!v.cupAnimating) m_cupTimer->stop();
    if (m_shownCupFrame != m_cupFrame) {
        m_shownCupFrame = m_cupFrame;
        m_cup->setPixmap(m_cupPix[m_cupFrame]);
    }
    m_cup->raise();

    // Labels and marks.
    m_status->setText(qs(v.status));
    m_gt->setText(qs(v.gameType));
    for (int p = 1; p <= 2; ++p) {
        m_playername[p]->setText(qs(v.playerName[p]));
        m_playername[p]->setVisible(v.playerNameVisible[p]);
        m_pipsLabel[p]->setText(qs(v.pips[p]));
        m_eyes[p]->setVisible(v.eyesVisible[p]);
        m_concede[p]->setVisible(v.concedeVisible[p]);
        // Painted the first time it is shown: most sessions never show both.
        if (v.directionVisible[p] && m_direction[p]->pixmap().isNull())
            m_direction[p]->setPixmap(art::direction(p, devicePixelRatioF()));
        m_direction[p]->setVisible(v.directionVisible[p]);
        m_direction[p]->raise();
    }
    m_undo->setVisible(v.undoVisible);
    m_start->setVisible(v.startButtonVisible);
    m_startGame->setEnabled(v.startGameEnabled);
    m_justWatch->setChecked(v.justWatchChecked);
    m_timerLabel->setVisible(v.timerVisible);
    if (v.turntimerRunning && !m_turntimer->isActive()) {
        m_turnTicks = 0;
        m_turntimer->start();
    }
    if (!v.turntimerRunning) m_turntimer->stop();
    m_winner1->setText(qs(v.winnerText));
    m_winner2->setText(qs(v.winnerText));
    m_winnerPanel->setVisible(v.winnerVisible);
    m_winnerPanel->raise();
    m_choosePanel->setVisible(v.chooseVisible);
    m_choosePanel->raise();
    syncSpies();
    syncTargetFaces();
    syncAccessibleNames();
    syncRecord();
    syncTeaching();
}

void Tchat::syncSpies() {
    // An unmade list is filled when it is made.
    Tspylist* list = m_windows.spylist.made();
    if (!list) return;
    QStringList entries;
    for (const std::string& s : m_state.view().spies)
        entries << qs(s);
    list->setEntries(entries);
    list->setKickEnabled(m_state.view().spyKickEnabled);
}

void Tchat::cupTimerTimer() {
    m_cupFrame = (m_cupFrame + 1) % geo::kCupFrames;
    m_shownCupFrame = m_cupFrame;
    m_cup->setPixmap(m_cupPix[m_cupFrame]);
}

void Tchat::turntimerTimer() {
    ++m_turnTicks;
    const bool odd = m_turnTicks % 2 == 1;
    setLetteringColour(m_timerLabel, odd ? kTimerOrange : kTimerOlive);
    if (odd) playSound("tick");
}
