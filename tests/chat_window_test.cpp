// The chat of the real main window, offscreen: sending through a stand-in host on loopback,
// the phrase gate, chatter sounds through a recording sound output, the view's lines, links,
// smileys and menus, the phrase editor and the spy list; and two windows with a real host and
// a raw spectator exchanging chat.

#include "chatcontrols.h"
#include "chatlayout.h"
#include "chattersounds.h"
#include "chatview.h"
#include "hostshell.h"
#include "protocol.h"
#include "qcolortext.h"
#include "settingsfile.h"
#include "smileys.h"
#include "soundplayer.h"
#include "tchat.h"
#include "windows/tphrases.h"
#include "windows/tspylist.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSoundEffect>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QtEndian>

#include <gtest/gtest.h>

#include <memory>

using namespace bg;

namespace {

constexpr int kWaitMs = 10000; // generous: only a hang would reach it
constexpr char kTerminator = '\xFF';

void deliver(Tchat& w, std::string_view m) {
    w.sockRead(frame(m));
    w.drainQueue();
}

QString chatText(const Tchat& w) {
    return w.chatView()->toPlainText();
}

// Complete messages read from a socket, split at the terminator.
class MessageReader {
  public:
    void read(QTcpSocket& s) {
        m_rest += s.readAll().toStdString();
        for (std::size_t end = m_rest.find(kTerminator); end != std::string::npos;
             end = m_rest.find(kTerminator)) {
            if (end > 0) m_messages.push_back(m_rest.substr(0, end));
            m_rest.erase(0, end + 1);
        }
    }
    const std::vector<std::string>& messages() const { return m_messages; }
    bool has(std::string_view m) const {
        return std::find(m_messages.begin(), m_messages.end(), m) != m_messages.end();
    }
    int count(std::string_view prefix) const {
        return static_cast<int>(
            std::count_if(m_messages.begin(), m_messages.end(),
                          [&](const std::string& s) { return s.starts_with(prefix); }));
    }

  private:
    std::string m_rest;
    std::vector<std::string> m_messages;
};

// A stand-in host on a free loopback port: takes the window's connection, gives it seat 1 and
// records what the window sends.
class StandInHost {
  public:
    StandInHost() { m_server.listen(QHostAddress::LocalHost, 0); }
    quint16 port() const { return m_server.serverPort(); }
    // Waits for the window's connection and logs it in as `seat` named `name`.
    bool logIn(Tchat& w, int seat, const std::string& name) {
        if (!QTest::qWaitFor([&] { return m_server.hasPendingConnections(); }, kWaitMs))
            return false;
        m_peer.reset(m_server.nextPendingConnection());
        QObject::connect(m_peer.get(), &QTcpSocket::readyRead, [this] { m_reader.read(*m_peer); });
        send(msg::sendlogininfo(seat));
        if (!QTest::qWaitFor([&] { return w.state().loggedin(); }, kWaitMs)) return false;
        send(msg::newplayerinfo(seat, name));
        return QTest::qWaitFor([&] { return chatText(w).contains("You are Connected."); }, kWaitMs);
    }
    void send(const std::string& m) {
        m_peer->write(QByteArray::fromStdString(frame(m)));
        m_peer->flush();
    }
    const MessageReader& received() const { return m_reader; }
    // Waits until `n` messages starting with `prefix` have come, and a little longer for any
    // that should not come; returns how many came.
    int awaitCount(std::string_view prefix, int n) {
        (void)QTest::qWaitFor([&] { return m_reader.count(prefix) >= n; }, kWaitMs);
        QTest::qWait(150);
        return m_reader.count(prefix);
    }

  private:
    QTcpServer m_server;
    std::unique_ptr<QTcpSocket> m_peer;
    MessageReader m_reader;
};

struct Joined {
    std::unique_ptr<Tchat> window;
    StandInHost host;
};

// A window joined to a stand-in host as seat 1 "Ann".
std::unique_ptr<Joined> joinedWindow() {
    auto j = std::make_unique<Joined>();
    j->window = std::make_unique<Tchat>();
    j->window->setGamePort(j->host.port());
    j->window->setParams({"Ann", "127.0.0.1", "false"});
    j->window->show();
    if (!j->host.logIn(*j->window, 1, "Ann")) ADD_FAILURE() << "no log-in";
    return j;
}

QLineEdit* edit(const Tchat& w) {
    return w.findChild<QLineEdit*>("mychat");
}

// The character format at the first place the text stands in the view's document.
QTextCharFormat formatOf(const ChatView& view, const QString& text) {
    QTextCursor c = view.document()->find(text);
    if (c.isNull()) ADD_FAILURE() << "no " << text.toStdString() << " in the chat";
    return c.charFormat();
}

// The mouse pointer moves over the list to `at` (viewport coordinates).
void pointAt(QListWidget* list, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
}

// Sounds of `w` go to a recorder; then the host logs it in as seat 1 "Ann".
RecordingSoundOutput* loggedInAsAnnRecordingSounds(Tchat& w) {
    auto out = std::make_unique<RecordingSoundOutput>();
    RecordingSoundOutput* played = out.get();
    w.sounds().setOutput(std::move(out));
    deliver(w, msg::sendlogininfo(1));
    deliver(w, msg::newplayerinfo(1, "Ann"));
    return played;
}

} // namespace

TEST(ChatSend, EnterOnThePromptSendsNothingTypedLinesGoOut) {
    auto j = joinedWindow();
    Tchat& w = *j->window;
    QLineEdit* e = edit(w);
    ASSERT_EQ(e->text(), "<Enter Chat Here>");
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(e->text(), "");
    w.setOwnChatColour(QColor(0, 255, 0));
    QTest::keyClicks(e, "hi + there");
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(e->text(), "");
    QTest::keyClicks(e, "/me waves");
    QTest::keyClick(e, Qt::Key_Enter);
    QTest::keyClicks(e, "/nick Bob");
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(e->text(), "");
    EXPECT_EQ(j->host.awaitCount("CMD_action", 1), 1);
    EXPECT_EQ(j->host.received().count("CMD_chat"), 1);
    EXPECT_TRUE(j->host.received().has("CMD_chat+1+hi + there|clLime"));
    EXPECT_TRUE(j->host.received().has("CMD_action+1+waves|clLime"));
}

TEST(ChatSend, NotLoggedInKeepsTheText) {
    Tchat w;
    QLineEdit* e = edit(w);
    QTest::keyClicks(e, "hello");
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(e->text(), "hello");
}

TEST(ChatSend, TwoQuickPhraseClicksSendOneAndTheGateReopensAfterTwoSeconds) {
    auto j = joinedWindow();
    Tchat& w = *j->window;
    auto now = bg::PhraseGate::Clock::now();
    w.setPhraseGateClock([&now] { return now; });
    auto* b1 = w.findChild<QToolButton*>("b_phrase1");
    auto* b9 = w.findChild<QToolButton*>("b_phrase9");
    ASSERT_TRUE(b1 && b9);
    EXPECT_EQ(b1->toolTip(), "Way To Go!");
    QTest::mouseClick(b1, Qt::LeftButton);
    QTest::mouseClick(b9, Qt::LeftButton); // the gate is closed: nothing
    // Ticks of the 1 ms timer count for nothing, however many run.
    for (int tick = 1; tick <= 500; ++tick)
        w.Timer1Timer();
    now += std::chrono::milliseconds(1999);
    QTest::mouseClick(b9, Qt::LeftButton); // still closed just short of 2 seconds
    now += std::chrono::milliseconds(1);
    // Open after 2 seconds; a phrase that starts with "/me " is an action of its own.
    w.setPhrase(9, "/me bows");
    EXPECT_EQ(b9->text(), "/me bows");
    QTest::mouseClick(b9, Qt::LeftButton);
    EXPECT_EQ(j->host.awaitCount("CMD_action", 2), 2);
    const std::vector<std::string> sent(j->host.received().messages().end() - 2,
                                        j->host.received().messages().end());
    EXPECT_EQ(sent, (std::vector<std::string>{"CMD_action+1+says: Way To Go!|clBlack",
                                              "CMD_action+1+bows|clBlack"}));
    // That send closed the gate again, for another 2 seconds from then.
    EXPECT_FALSE(w.phraseGateOpen());
}

TEST(ChatSend, ChatterMenuSendsForSeatsOnlyAndCancelSendsNothing) {
    auto j = joinedWindow();
    Tchat& w = *j->window;
    auto* menu = w.findChild<QMenu*>("popup_sounds");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 21);
    EXPECT_EQ(menu->actions()[0]->text(), "<Cancel>");
    EXPECT_EQ(menu->actions()[13]->objectName(), "wave13");
    EXPECT_EQ(menu->actions()[13]->text(), "Applause");
    EXPECT_EQ(menu->actions()[13]->toolTip(), "Applause");
    menu->actions()[0]->trigger();
    menu->actions()[13]->trigger();
    menu->actions()[13]->trigger(); // no rate limit
    EXPECT_EQ(j->host.awaitCount("CMD_playasound", 2), 2);
    EXPECT_TRUE(j->host.received().has("CMD_playasound+1+wave13+"));
    EXPECT_EQ(w.findChild<QToolButton*>("b_phrase10")->toolTip(), "Play Chatter Sounds");
}

TEST(ChatSend, SmileyMenuAndPasteEditTheLine) {
    Tchat w;
    QLineEdit* e = edit(w);
    auto* smilies = w.findChild<QMenu*>("popup_smilies");
    ASSERT_NE(smilies, nullptr);
    ASSERT_EQ(smilies->actions().size(), 18);
    EXPECT_EQ(smilies->actions()[0]->objectName(), "MenuItem1");
    EXPECT_EQ(smilies->actions()[17]->objectName(), "N271");
    EXPECT_EQ(smilies->actions()[17]->text(), ":)#27");
    // Every face is on its item by the time the menu shows.
    emit smilies->aboutToShow();
    for (QAction* a : smilies->actions())
        EXPECT_FALSE(a->icon().isNull()) << a->objectName().toStdString();
    EXPECT_EQ(smilies->actions()[5]->icon().pixmap(QSize(17, 16)).toImage(),
              art::smiley(5, w.devicePixelRatioF()).toImage());
    smilies->actions()[2]->trigger();
    EXPECT_EQ(e->text(), ":)#12");
    EXPECT_EQ(e->cursorPosition(), 5);
    QTest::keyClicks(e, "hi");
    smilies->actions()[17]->trigger();
    EXPECT_EQ(e->text(), ":)#12hi:)#27");
    QApplication::clipboard()->setText("pasted");
    w.findChild<QAction*>("Paste1")->trigger();
    EXPECT_EQ(e->text(), "pasted");
    e->setCursorPosition(2);
    QTest::keySequence(e, QKeySequence::Paste);
    EXPECT_EQ(e->text(), "pasted");
}

TEST(ChatView, RelayedLineHasItsColourBoldNameLinkAndSmiley) {
    Tchat w;
    deliver(w, "CMD_chat+7+Bob chats: see www.example.com :)#12 ok|clLime");
    ChatView& v = *w.chatView();
    EXPECT_EQ(v.toPlainText().count(QChar::ObjectReplacementCharacter), 1);
    EXPECT_TRUE(v.toPlainText().contains("Bob chats:  see www.example.com "));
    EXPECT_EQ(v.textStyle(7).colour, QColor(0, 255, 0));
    EXPECT_TRUE(v.textStyle(7).bold);
    const QTextCharFormat name = formatOf(v, "Bob chats:");
    EXPECT_EQ(name.foreground().color(), QColor(0, 255, 0));
    EXPECT_EQ(name.fontWeight(), QFont::Bold);
    const QTextCharFormat link = formatOf(v, "www.example.com");
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.foreground().color(), QColor(0, 128, 0));
    EXPECT_TRUE(link.fontUnderline());
    ASSERT_EQ(v.linkCount(), 1);
    EXPECT_EQ(v.linkWord(0), "www.example.com ");
    // A "|" inside the line cuts it and the line is red.
    deliver(w, "CMD_chat+6+Cy chats: a|b|clLime");
    EXPECT_EQ(formatOf(v, "Cy chats:").foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(v.toPlainText().contains("b|clLime"));
    // A sender's new colour recolours that sender's earlier lines.
    deliver(w, "CMD_chat+7+Bob chats: again|clNavy");
    EXPECT_EQ(formatOf(v, "see").foreground().color(), QColor(0, 0, 128));
}

TEST(ChatView, CopyPutsPlainTextOnlyWithTheSmileysAsTheirCodes) {
    Tchat w;
    deliver(w, "CMD_chat+7+Bob chats: see www.example.com :)#12 ok|clLime");
    w.addlinetochat("0+second line", Qt::blue);
    ChatView& v = *w.chatView();
    w.findChild<QAction*>("SelectAll1")->trigger();
    QApplication::clipboard()->clear();
    w.findChild<QAction*>("Copy1")->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(), QStringList{"text/plain"});
    EXPECT_FALSE(data->hasHtml());
    const QString text = data->text();
    EXPECT_EQ(text.count('\n'), 1) << text.toStdString();
    EXPECT_TRUE(text.contains("www.example.com")) << text.toStdString();
    EXPECT_TRUE(text.contains(":)#12")) << text.toStdString();
    EXPECT_TRUE(text.trimmed().endsWith("second line")) << text.toStdString();
    EXPECT_FALSE(text.contains(QChar::ObjectReplacementCharacter));
    // Part of a line: just those characters.
    QTextCursor part(v.document());
    part.setPosition(v.toPlainText().indexOf("second"));
    part.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, 6);
    v.setTextCursor(part);
    w.findChild<QAction*>("Copy1")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "second");
}

TEST(ChatView, ClickingALinkOpensOnlyThatWebAddress) {
    Tchat w;
    w.show();
    QStringList opened, boxes;
    w.setMessageBoxHook([&](const QString& t) { boxes << t; });
    w.chatControls()->setUrlOpener([&](const QUrl& u) {
        opened << u.toString();
        return true;
    });
    ChatView& v = *w.chatView();
    deliver(w, "CMD_chat+1+Ann chats: www.one.example|clBlack");
    // A real click on the word.
    QTextCursor c = v.document()->find("www.one.example");
    ASSERT_FALSE(c.isNull());
    c.setPosition(c.selectionStart() + 2);
    const QPoint at = v.cursorRect(c).center();
    QTest::mouseClick(v.viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(opened, QStringList{"http://www.one.example"});
    // After a clear the document's first link is the new word, and that is what opens.
    w.ClearMainChat1Click();
    EXPECT_EQ(v.toPlainText(), "");
    deliver(w, "CMD_chat+1+Ann chats: go http://two.example/x now|clBlack");
    emit v.anchorClicked(QUrl("link:0"));
    EXPECT_EQ(opened.last(), "http://two.example/x");
    // A peer cannot make this machine open a file or another program.
    deliver(w, "CMD_chat+1+Ann chats: http:///etc/passwd xwww.evil|clBlack");
    emit v.anchorClicked(QUrl("link:1"));
    emit v.anchorClicked(QUrl("link:2"));
    emit v.anchorClicked(QUrl("link:99"));
    EXPECT_EQ(opened.size(), 2);
    EXPECT_EQ(boxes, QStringList({"Cannot open Webpage", "Cannot open Webpage"}));
    // The desktop refusing is reported the same way.
    w.chatControls()->setUrlOpener([](const QUrl&) { return false; });
    emit v.anchorClicked(QUrl("link:0"));
    EXPECT_EQ(boxes.size(), 3);
}

TEST(ChatView, ScrollOffKeepsThePlaceAndBothItemsShowIt) {
    Tchat w;
    w.show();
    ChatView& v = *w.chatView();
    for (int n = 0; n < 40; ++n)
        w.addlinetochat(QString("0+line %1").arg(n), Qt::blue);
    QApplication::processEvents();
    QScrollBar* bar = v.verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_GT(bar->maximum(), 0);
    auto* item1 = w.findChild<QAction*>("ScrollChatOff1");
    ASSERT_NE(item1, nullptr);
    item1->trigger();
    EXPECT_TRUE(v.scrollOff());
    EXPECT_TRUE(item1->isChecked());
    EXPECT_TRUE(w.findChild<QAction*>("ScrollChatOff2")->isChecked());
    bar->setValue(0);
    for (int n = 0; n < 5; ++n)
        w.addlinetochat(QString("0+more %1").arg(n), Qt::blue);
    deliver(w, "CMD_chat+2+Bo chats: new colour|clRed"); // a full redraw keeps the place too
    EXPECT_EQ(bar->value(), 0);
    item1->trigger();
    EXPECT_FALSE(v.scrollOff());
    EXPECT_FALSE(w.findChild<QAction*>("ScrollChatOff2")->isChecked());
    w.addlinetochat("0+last", Qt::blue);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST(ChatView, TextSizeShowsOnTheNextLineAndMenusAreNamed) {
    Tchat w;
    ChatView& v = *w.chatView();
    EXPECT_EQ(v.textSize(), 10);
    w.addlinetochat("0+first", Qt::blue);
    v.setTextSize(14);
    EXPECT_EQ(v.textSize(), 14);
    EXPECT_EQ(formatOf(v, "first").fontPointSize(), 10);
    w.addlinetochat("0+second", Qt::blue); // style 0 is redrawn with the new size
    EXPECT_EQ(formatOf(v, "first").fontPointSize(), 14);
    EXPECT_EQ(formatOf(v, "second").fontPointSize(), 14);
    auto* menu = w.findChild<QMenu*>("popup_mainchat");
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(texts,
              QStringList({"Select All", "Copy", "Clear Main Chat", "-", "Scroll Chat Off"}));
    w.findChild<QAction*>("SelectAll1")->trigger();
    QApplication::clipboard()->clear();
    w.findChild<QAction*>("Copy1")->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().contains("second"));
    w.findChild<QAction*>("ClearMainChat2")->trigger();
    EXPECT_EQ(v.itemCount(), 0);
}

TEST(ChatSounds, ChatterOffReadsTheSoundAsABoldBlueSystemLine) {
    Tchat w;
    RecordingSoundOutput* played = loggedInAsAnnRecordingSounds(w);
    EXPECT_EQ(played->played(), QStringList{"ENTERED"});
    auto* chatter = w.findChild<QAction*>("PlayChatterSounds1");
    ASSERT_NE(chatter, nullptr);
    // Logging in read the settings, which turn chatter sounds on when the file says nothing.
    chatter->setChecked(false);
    deliver(w, msg::playasoundRelay(1, "wave13+"));
    // The name part keeps its blank, and the words their own: two blanks after the colon.
    EXPECT_TRUE(chatText(w).contains("Ann:  <Chatter Sound> Applause"))
        << chatText(w).toStdString();
    for (const char* part : {"Ann:", "<Chatter", "Applause"}) {
        const QTextCharFormat f = formatOf(*w.chatView(), part);
        EXPECT_EQ(f.foreground().color(), QColor(0, 0, 255)) << part;
        EXPECT_EQ(f.fontWeight(), QFont::Bold) << part;
    }
    EXPECT_EQ(played->played().size(), 1);
    // A spectator's number has no name label: nothing shows.
    deliver(w, msg::playasoundRelay(3, "wave13+"));
    EXPECT_EQ(chatText(w).count("<Chatter Sound>"), 1);
}

TEST(ChatSounds, PlaySoundsOffSilencesEventsButNotChatter) {
    Tchat w;
    RecordingSoundOutput* played = loggedInAsAnnRecordingSounds(w);
    w.findChild<QAction*>("PlaySounds1")->setChecked(false);
    w.findChild<QAction*>("PlayChatterSounds1")->setChecked(true);
    played->clear();
    deliver(w, msg::startgame("Ann", "120", "0"));
    deliver(w, msg::firstroll(6, 2, 1, true));
    deliver(w, msg::playasoundRelay(2, "wave13+"));
    deliver(w, msg::playasoundRelay(2, "wave77+")); // not in the store: silence
    EXPECT_EQ(played->played(), QStringList{"WAVE13"});
    EXPECT_FALSE(chatText(w).contains("<Chatter Sound>"));
    w.findChild<QAction*>("PlaySounds1")->setChecked(true);
    deliver(w, msg::threwdice(1, Dice{3, 4, 0, 0}, true));
    EXPECT_EQ(played->played().last(), "DICE");
}

// The wave data of a RIFF WAVE file: format and samples, or nothing when it is not one.
struct Wave {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    QByteArray data;
    double seconds() const { return double(data.size()) / (rate * channels * (bits / 8)); }
};
std::optional<Wave> readWave(const QByteArray& bytes) {
    if (!bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return std::nullopt;
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    Wave w;
    bool pcm = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = u32(at + 4);
        if (at + 8 + size > bytes.size()) return std::nullopt;
        if (id == "fmt ") {
            pcm = u16(at + 8) == 1;
            w.channels = u16(at + 10);
            w.rate = static_cast<int>(u32(at + 12));
            w.bits = u16(at + 22);
        } else if (id == "data") {
            w.data = bytes.mid(at + 8, size);
        }
        at += 8 + size + (size & 1);
    }
    if (!pcm || w.channels < 1 || w.rate <= 0 || (w.bits != 8 && w.bits != 16)) return std::nullopt;
    return w;
}

TEST(ChatSounds, EverySoundIsAResourceThatDecodesToATenthToFourSeconds) {
    SoundPlayer player; // registers the resources
    for (const std::string& name : allStoredSounds()) {
        const QString path = SoundPlayer::resourcePath(QString::fromStdString(name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const std::optional<Wave> wave = readWave(file.readAll());
        ASSERT_TRUE(wave) << name << " is no PCM wave";
        EXPECT_GE(wave->seconds(), 0.1) << name;
        EXPECT_LE(wave->seconds(), 4.0) << name;
        int peak = 0;
        for (qsizetype i = 0; i + 1 < wave->data.size(); i += 2)
            peak = std::max(peak,
                            std::abs(int(qFromLittleEndian<qint16>(wave->data.constData() + i))));
        EXPECT_GT(peak, 3000) << name << " is nearly silent";
        // The player's own decoder takes it too.
        QSoundEffect effect;
        effect.setSource(QUrl("qrc" + path));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return effect.status() == QSoundEffect::Ready ||
                       effect.status() == QSoundEffect::Error;
            },
            kWaitMs))
            << name;
        EXPECT_EQ(effect.status(), QSoundEffect::Ready) << name;
    }
}

TEST(ChatSounds, PlayerHandsOnlyStoredNamesToTheOutput) {
    SoundPlayer player;
    auto out = std::make_unique<RecordingSoundOutput>();
    RecordingSoundOutput* played = out.get();
    player.setOutput(std::move(out));
    player.play("dice");
    player.play("turnnew");
    player.play("nosuch");
    EXPECT_EQ(played->played(), QStringList({"DICE", "TURNNEW"}));
    EXPECT_EQ(player.last(), "nosuch");
}

TEST(ChatSounds, SoundModuleLoadsFromTheFirstFolderThatHoldsIt) {
    QTemporaryDir empty;
    EXPECT_EQ(loadSoundOutput({empty.path()}), nullptr);
    EXPECT_EQ(loadSoundOutput({}), nullptr);
    std::unique_ptr<SoundOutput> output = loadSoundOutput({empty.path(), BG_SOUND_MODULE_DIR});
    ASSERT_NE(output, nullptr);
    output->play("DICE"); // no audio device here: silent, and no complaint
    // The installed layout: the module in the library folder beside the program's.
    const QStringList folders = soundModuleFolders();
    ASSERT_EQ(folders.size(), 2);
    EXPECT_EQ(folders[0], QCoreApplication::applicationDirPath());
    EXPECT_TRUE(folders[1].endsWith("/backgammon")) << folders[1].toStdString();
}

TEST(PhraseEditor, PhraseListOnTheOpenEditorRefreshesItsEditsAndBringsItForward) {
    QTemporaryDir dir;
    Tchat w;
    Tphrases editor(&w);
    editor.setSettingsPath(dir.filePath("vesklobby.ini"));
    w.setWindows({.phrases = &editor});
    w.connectWindows();
    w.show();
    QAction* list = w.findChild<QAction*>("PrhaseList1");
    list->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    auto* p1 = editor.findChild<QLineEdit*>("phrase1");
    ASSERT_NE(p1, nullptr);
    EXPECT_EQ(p1->text(), "Way To Go!");
    // The buttons change behind the open editor (another editor's "Done", the settings).
    w.setPhrase(1, "Well played");
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    list->trigger();
    EXPECT_EQ(p1->text(), "Well played");
    EXPECT_TRUE(QTest::qWaitForWindowActive(&editor));
    editor.close();
}

TEST(PhraseEditor, DoneStoresThePhrasesTitleBarCloseKeepsThem) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("vesklobby.ini");
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Other]\nKey=1\n[Backgammon]\nTextsize=12\n");
    }
    Tchat w;
    Tphrases editor(&w);
    editor.setSettingsPath(ini);
    w.setWindows({.phrases = &editor});
    w.connectWindows();
    w.findChild<QAction*>("PrhaseList1")->trigger();
    auto* p1 = editor.findChild<QLineEdit*>("phrase1");
    auto* p9 = editor.findChild<QLineEdit*>("phrase9");
    ASSERT_TRUE(p1 && p9);
    EXPECT_EQ(p1->text(), "Way To Go!");
    EXPECT_EQ(p9->text(), "Good Game Everyone!");
    EXPECT_EQ(p1->maxLength(), 50);
    // Closed by the title bar: nothing changes.
    p1->setText("Changed");
    editor.close();
    EXPECT_EQ(w.phrases()[0], "Way To Go!");
    // Opened again, the edits show the buttons' phrases again.
    w.findChild<QAction*>("PrhaseList1")->trigger();
    EXPECT_EQ(p1->text(), "Way To Go!");
    const QString fifty(50, 'x');
    p1->setText("/me bows");
    p9->setText(fifty);
    editor.findChild<QAbstractButton*>("button_done")->click();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(w.phrases()[0], "/me bows");
    EXPECT_EQ(w.phrases()[8], fifty);
    EXPECT_EQ(w.findChild<QToolButton*>("b_phrase9")->toolTip(), fifty);
    SettingsFile file(ini.toStdString());
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.value("Backgammon", "Phrase1"), "/me bows");
    EXPECT_EQ(file.value("backgammon", "phrase2"), "Good One!");
    EXPECT_EQ(file.value("Backgammon", "Phrase9"), fifty.toStdString());
    EXPECT_EQ(file.value("Backgammon", "Textsize"), "12");
    EXPECT_EQ(file.value("Other", "Key"), "1");
    EXPECT_EQ(editor.windowTitle(), "Backgammon - Phrase Buttons ");
}

TEST(PhraseEditor, WithoutAPathThePhrasesGoToTheProgramsSettingsFile) {
    const QString ini = QDir(qEnvironmentVariable("BG_CONFIG_DIR")).filePath("vesklobby.ini");
    QFile::remove(ini);
    Tphrases editor;
    editor.setPhrases({"a", "b", "c", "d", "e", "f", "g", "h", "Bye!"});
    editor.button_doneClick();
    SettingsFile file(ini.toStdString());
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.value("Backgammon", "Phrase9"), "Bye!");
}

TEST(SpyList, RemovesTheEntryUnderThePointerOnly) {
    Tspylist spies;
    spies.setEntries({"3: Spy", "4: Eve"});
    spies.setKickEnabled(true);
    spies.show();
    QList<int> kicked;
    QObject::connect(&spies, &Tspylist::kickRequested, [&](int n) { kicked << n; });
    auto* list = spies.findChild<QListWidget*>("listbox_spys");
    ASSERT_NE(list, nullptr);
    QApplication::processEvents();
    const QPoint second = list->visualItemRect(list->item(1)).center();
    pointAt(list, second);
    EXPECT_EQ(spies.hoverIndex(), 1);
    spies.findChild<QAction*>("popup_kickhim")->trigger();
    EXPECT_EQ(kicked, QList<int>{4});
    // Beside the entries nothing is under the pointer.
    pointAt(list, QPoint(5, list->viewport()->height() - 3));
    EXPECT_EQ(spies.hoverIndex(), -1);
    spies.popup_kickhimClick();
    EXPECT_EQ(kicked.size(), 1);
}

// Two windows on a real host and a raw spectator: chat both ways, then the host removes the
// spectator from its spy list.
TEST(ChatLoopback, TwoWindowsAndASpectatorChatAndTheHostRemovesTheSpy) {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    FixedBotSettings settings;
    HostShell host(settings);
    Tchat alice, bob;
    Tspylist spies(&alice);
    alice.setWindows({.spylist = &spies});
    alice.connectWindows();
    alice.setGamePort(port);
    alice.setHostStarter([&](quint16 p) { return host.listen(p); });
    alice.setParams({"Alice", "127.0.0.1", "true"});
    alice.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return alice.state().loggedin(); }, kWaitMs));
    bob.setGamePort(port);
    bob.setParams({"Bob", "127.0.0.1", "false"});
    bob.show();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return chatText(alice).contains("Bob is Connected."); }, kWaitMs));

    QTcpSocket spy;
    MessageReader spyRead;
    QObject::connect(&spy, &QTcpSocket::readyRead, [&] { spyRead.read(spy); });
    spy.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spyRead.has("CMD_sendlogininfo+3"); }, kWaitMs));
    spy.write(QByteArray::fromStdString(frame(msg::logininfo(3, "1.0.4", "Spy"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return spies.entries() == QStringList{"3: Spy"}; }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return chatText(bob).contains("Spy is spying."); }, kWaitMs));

    alice.setOwnChatColour(QColor(0x40, 0x80, 0xFF));
    QLineEdit* e = edit(alice);
    e->setFocus();
    QTest::keyClicks(e, "hello www.example.com :)#12");
    QTest::keyClick(e, Qt::Key_Return);
    const std::string relayed = "CMD_chat+1+Alice chats: hello www.example.com :)#12|$00FF8040";
    ASSERT_TRUE(QTest::qWaitFor([&] { return spyRead.has(relayed); }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return chatText(bob).contains("Alice chats:  hello www.example.com"); }, kWaitMs));
    EXPECT_EQ(formatOf(*bob.chatView(), "Alice chats:").foreground().color(),
              QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(bob.chatView()->linkWord(0), "www.example.com ");

    // The spectator chats back; both windows show it in its colour.
    spy.write(QByteArray::fromStdString(frame(msg::chat(3, "hi all", "clPurple"))));
    for (Tchat* w : {&alice, &bob})
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return chatText(*w).contains("Spy chats:  hi all"); }, kWaitMs));
    EXPECT_EQ(formatOf(*bob.chatView(), "Spy chats:").foreground().color(), QColor(128, 0, 128));

    // The host removes the spectator: pointer over its entry, "Remove From Game".
    spies.show();
    auto* list = spies.findChild<QListWidget*>("listbox_spys");
    QApplication::processEvents();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&spies));
    pointAt(list, list->visualItemRect(list->item(0)).center());
    ASSERT_EQ(spies.hoverIndex(), 0);
    auto* kick = spies.findChild<QAction*>("popup_kickhim");
    ASSERT_TRUE(kick->isEnabled());
    kick->trigger();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return spy.state() == QAbstractSocket::UnconnectedState; }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return spies.entries().isEmpty(); }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return chatText(bob).contains("Spy has left."); }, kWaitMs));
    // On a copy that does not host, the item stays off.
    Tspylist bobSpies;
    bob.setWindows({.spylist = &bobSpies});
    bob.syncView();
    EXPECT_FALSE(bobSpies.findChild<QAction*>("popup_kickhim")->isEnabled());
    bob.setWindows({});
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("BG_CONFIG_DIR", config.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", config.path().toLocal8Bit()); // the games saved by themselves
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
