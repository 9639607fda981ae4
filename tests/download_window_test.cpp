// The lobby downloader against a real HTTP server on loopback, the JPEG decoder of its
// artwork, and the help and about windows; offscreen.

#include "download/httpget.h"
#include "download/jpegimage.h"
#include "download/tdownload.h"
#include "windows/tabout.h"
#include "windows/thelp.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

constexpr int kWaitMs = 10000; // generous: only a hang would reach it

// The test's installer: records its arguments beside itself and exits.
const QByteArray kInstaller = "#!/bin/sh\nprintf '%s' \"$*\" > \"$(dirname \"$0\")/args.txt\"\n";

// A small HTTP server: each path has a canned answer; "/slow/..." sends its head and a first
// piece of a long body, then keeps the connection open and silent.
class TestServer : public QObject {
  public:
    TestServer() {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] { accept(); });
    }
    QUrl url(const QString& path) const {
        return QUrl(QString("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }
    void route(const QString& path, QByteArray answer) { m_routes[path] = std::move(answer); }
    QByteArray lastRequest;

  private:
    void accept() {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            s->setParent(this);
            QObject::connect(s, &QTcpSocket::readyRead, this, [this, s] { read(s); });
        }
    }
    void read(QTcpSocket* s) {
        QByteArray& got = m_pending[s];
        got += s->readAll();
        if (!got.contains("\r\n\r\n")) return;
        lastRequest = got;
        const QString path = QString::fromLatin1(got.split(' ').value(1));
        const auto it = m_routes.find(path);
        s->write(it == m_routes.end() ? "HTTP/1.0 404 Not Found\r\n\r\nnothing here" : it->second);
        if (!path.startsWith("/slow/")) s->disconnectFromHost();
    }
    QTcpServer m_server;
    std::map<QString, QByteArray> m_routes;
    std::map<QTcpSocket*, QByteArray> m_pending;
};

QByteArray ok(const QByteArray& body) {
    return "HTTP/1.0 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nContent-Type: application/octet-stream\r\n\r\n" + body;
}

QString text(const QWidget& w, const char* name) {
    auto* l = w.findChild<QLabel*>(name);
    if (!l) ADD_FAILURE() << "no label " << name;
    return l ? l->text() : QString();
}

QPushButton* button(const QWidget& w, const char* name) {
    auto* b = w.findChild<QPushButton*>(name);
    if (!b) ADD_FAILURE() << "no button " << name;
    return b;
}

// Every label with a text and every button has a name a screen reader can speak.
void expectSpeakable(const QWidget& w) {
    for (QWidget* c : w.findChildren<QWidget*>()) {
        auto* l = qobject_cast<QLabel*>(c);
        if (!qobject_cast<QPushButton*>(c) && !(l && !l->text().isEmpty())) continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
        ASSERT_NE(a, nullptr);
        EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty())
            << c->objectName().toStdString();
    }
}

int tag(const Tdownload& w) {
    return w.findChild<QLabel*>("infolabel")->property("tag").toInt();
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One downloader window pointed at the test server and a temporary folder, with its message
// boxes and its request to end the game recorded.
struct Downloader {
    QTemporaryDir dir;
    TestServer server;
    Tdownload window;
    QStringList messages;
    int closeRequests = 0;

    Downloader() {
        server.route("/lobby/vxlsetup.exe", ok(kInstaller));
        window.setMessageBoxHook([this](const QString& m) { messages << m; });
        QObject::connect(&window, &Tdownload::closeGameRequested, [this] { ++closeRequests; });
        point("/lobby/vxlsetup.exe");
    }
    void point(const QString& path) {
        lobby::Places p;
        p.url = server.url(path);
        p.folder = dir.path();
        p.program = dir.filePath("VeskorLobby");
        window.setPlaces(p);
    }
    QString file(const QString& name) const { return dir.filePath(name); }
    bool installed() const { return QFile::exists(file("args.txt")); }
    // Presses Download; returns when the download and the install step are over.
    void download() { QTest::mouseClick(button(window, "getbutton"), Qt::LeftButton); }
};

} // namespace

TEST(Download, SuccessWritesTheFileAndStartsItSilently) {
    Downloader d;
    QStringList seen; // infolabel3 and infolabel while the body arrives
    auto* http = d.window.findChild<HttpGet*>();
    ASSERT_NE(http, nullptr);
    QObject::connect(http, &HttpGet::docBegin, [&] { seen << text(d.window, "infolabel3"); });
    QObject::connect(http, &HttpGet::docData, [&] { seen << text(d.window, "infolabel"); });
    d.download();

    EXPECT_EQ(readFile(d.file("vxlsetup.exe")), kInstaller);
    EXPECT_EQ(text(d.window, "infolabel"), QString("Received %1 bytes").arg(kInstaller.size()));
    EXPECT_EQ(text(d.window, "infolabel3"), "Installing");
    EXPECT_EQ(text(d.window, "infolabel2"), "vxlsetup.exe");
    EXPECT_TRUE(d.window.findChild<QLabel*>("infolabel2")->isHidden());
    EXPECT_EQ(tag(d.window), Tdownload::kTagRunning);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.front(), "Downloading: vxlsetup.exe");
    EXPECT_EQ(seen.back(), QString("%1 bytes").arg(kInstaller.size()));
    EXPECT_TRUE(d.messages.isEmpty()) << d.messages.join('|').toStdString();
    EXPECT_EQ(d.closeRequests, 1);
    EXPECT_TRUE(button(d.window, "getbutton")->isEnabled());
    EXPECT_FALSE(button(d.window, "abortbutton")->isEnabled());

    // The request is HTTP/1.0 with the download's user agent and accepted types.
    EXPECT_TRUE(d.server.lastRequest.startsWith("GET /lobby/vxlsetup.exe HTTP/1.0\r\n"));
    EXPECT_TRUE(d.server.lastRequest.contains("\r\nUser-Agent: Mozilla/3.0 (compatible)\r\n"));
    EXPECT_TRUE(d.server.lastRequest.contains(
        "\r\nAccept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"));

    // The installer ran detached with exactly the silent-install arguments.
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.installed(); }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !readFile(d.file("args.txt")).isEmpty(); }, kWaitMs));
    EXPECT_EQ(readFile(d.file("args.txt")).toStdString(), "/SP- /silent /noicons");
}

TEST(Download, HeaderLinesAddDotsToLoading) {
    Downloader d;
    QString atBodyStart;
    QObject::connect(d.window.findChild<HttpGet*>(), &HttpGet::docBegin,
                     [&] { atBodyStart = text(d.window, "infolabel"); });
    d.download();
    // Three header lines: the status line, Content-Length and Content-Type.
    EXPECT_EQ(atBodyStart, "Loading...");
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.installed(); }, kWaitMs));
}

TEST(Download, ServerErrorsEndAsAbortedWithoutInstalling) {
    for (const char* path : {"/missing/vxlsetup.exe", "/gone/vxlsetup.exe"}) {
        Downloader d;
        d.server.route("/gone/vxlsetup.exe", "HTTP/1.0 500 Internal Server Error\r\n\r\noops");
        d.point(path);
        d.download();
        EXPECT_EQ(text(d.window, "infolabel"), "Download Aborted") << path;
        EXPECT_EQ(d.window.findChild<HttpGet*>()->statusCode(),
                  QString(path).startsWith("/missing") ? 404 : 500);
        EXPECT_EQ(tag(d.window), Tdownload::kTagAborted);
        EXPECT_NE(text(d.window, "infolabel3"), "Installing");
        EXPECT_EQ(d.closeRequests, 0);
        EXPECT_TRUE(d.messages.isEmpty());
        // The error page is not taken for the installer.
        EXPECT_TRUE(readFile(d.file("vxlsetup.exe")).isEmpty());
        QTest::qWait(200);
        EXPECT_FALSE(d.installed());
        EXPECT_TRUE(button(d.window, "getbutton")->isEnabled());
    }
}

TEST(Download, StopDuringASlowDownloadAbortsAndDownloadWorksAgain) {
    Downloader d;
    d.server.route("/slow/vxlsetup.exe",
                   "HTTP/1.0 200 OK\r\nContent-Length: 1000000\r\n\r\n" + QByteArray(100, 'x'));
    d.point("/slow/vxlsetup.exe");
    bool abortWasEnabled = false;
    QString afterStop;
    QObject::connect(d.window.findChild<HttpGet*>(), &HttpGet::docData, [&] {
        // The user presses Stop while the download hangs.
        QTimer::singleShot(50, [&] {
            QPushButton* stop = button(d.window, "abortbutton");
            abortWasEnabled = stop->isEnabled();
            QTest::mouseClick(stop, Qt::LeftButton);
            afterStop = text(d.window, "infolabel");
        });
    });
    QTimer watchdog; // only a hang would fire it: the test then fails instead of blocking
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] { d.window.findChild<HttpGet*>()->abort(); });
    watchdog.start(kWaitMs);
    d.download();
    EXPECT_TRUE(watchdog.isActive()) << "Stop did not end the download";
    watchdog.stop();

    EXPECT_TRUE(abortWasEnabled);
    EXPECT_EQ(afterStop, "Download has been aborted.");
    EXPECT_EQ(d.window.findChild<HttpGet*>()->statusCode(), HttpGet::kAbortStatus);
    EXPECT_EQ(text(d.window, "infolabel"), "Download Aborted");
    EXPECT_EQ(text(d.window, "infolabel3"), "Download Aborted");
    EXPECT_EQ(tag(d.window), Tdownload::kTagAborted);
    EXPECT_EQ(d.closeRequests, 0);
    EXPECT_TRUE(button(d.window, "getbutton")->isEnabled());
    EXPECT_FALSE(button(d.window, "abortbutton")->isEnabled());
    QTest::qWait(200);
    EXPECT_FALSE(d.installed());

    // Download is usable again, and this time it goes through.
    d.point("/lobby/vxlsetup.exe");
    d.download();
    EXPECT_EQ(text(d.window, "infolabel"), QString("Received %1 bytes").arg(kInstaller.size()));
    EXPECT_EQ(d.closeRequests, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.installed(); }, kWaitMs));
}

TEST(Download, RedirectIsFollowed) {
    Downloader d;
    d.server.route("/moved/vxlsetup.exe",
                   "HTTP/1.0 302 Found\r\nLocation: /lobby/vxlsetup.exe\r\n\r\nsee there");
    d.point("/moved/vxlsetup.exe");
    d.download();
    EXPECT_EQ(readFile(d.file("vxlsetup.exe")), kInstaller);
    EXPECT_EQ(d.closeRequests, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.installed(); }, kWaitMs));
}

TEST(Download, CutDocumentOrNoServerIsNeverInstalled) {
    Downloader d;
    d.server.route("/cut/vxlsetup.exe",
                   "HTTP/1.0 200 OK\r\nContent-Length: 5000\r\n\r\n" + kInstaller);
    d.point("/cut/vxlsetup.exe");
    d.download();
    EXPECT_EQ(text(d.window, "infolabel"), "Download Aborted");
    EXPECT_EQ(d.closeRequests, 0);

    // Nobody listens on the port of a server that has gone.
    QUrl gone;
    {
        TestServer brief;
        gone = brief.url("/lobby/vxlsetup.exe");
    }
    lobby::Places p = d.window.places();
    p.url = gone;
    d.window.setPlaces(p);
    d.download();
    EXPECT_EQ(text(d.window, "infolabel"), "Download Aborted");
    EXPECT_EQ(d.closeRequests, 0);
    QTest::qWait(200);
    EXPECT_FALSE(d.installed());
}

TEST(Download, InstallerThatCannotStartShowsTheErrorAndTheGameGoesOn) {
    Downloader d;
    d.server.route("/junk/vxlsetup.exe", ok(QByteArray(64, '\x01')));
    d.point("/junk/vxlsetup.exe");
    d.download();
    EXPECT_EQ(text(d.window, "infolabel3"), "Installing");
    EXPECT_EQ(d.messages, QStringList{"An Error has Occurred."});
    EXPECT_EQ(d.closeRequests, 0);
}

TEST(Download, UncreatableTargetIsReportedAndNothingElseHappens) {
    Downloader d;
    lobby::Places p = d.window.places();
    p.folder = d.file("no/such/folder");
    d.window.setPlaces(p);
    d.download();
    ASSERT_EQ(d.messages.size(), 1);
    EXPECT_TRUE(d.messages.front().startsWith("Cannot create"));
    EXPECT_EQ(text(d.window, "infolabel"), "");
    EXPECT_TRUE(button(d.window, "getbutton")->isEnabled());
    EXPECT_TRUE(d.server.lastRequest.isEmpty());
}

TEST(Download, PlayWithOthersWithoutLobbyExplainsAndKeepsTheGame) {
    Downloader d;
    QTest::mouseClick(button(d.window, "Button2"), Qt::LeftButton);
    EXPECT_EQ(d.messages,
              QStringList{"Please close the game and open the Veskor Lobby using the icon on your "
                          "desktop or using the your Window's start-up menu."});
    EXPECT_EQ(d.closeRequests, 0);
}

TEST(Download, PlayWithOthersWithoutLobbyHandsOverToTheGamesOwnHostAndJoin) {
    Downloader d;
    int handedOver = 0;
    QObject::connect(&d.window, &Tdownload::playWithOthersRequested, [&] { ++handedOver; });
    QTest::mouseClick(button(d.window, "Button2"), Qt::LeftButton);
    EXPECT_EQ(handedOver, 1);
    EXPECT_TRUE(d.messages.isEmpty());
    EXPECT_EQ(d.closeRequests, 0);
}

TEST(Download, PlayWithOthersStartsAnInstalledLobby) {
    Downloader d;
    QFile lobby(d.window.places().program);
    ASSERT_TRUE(lobby.open(QIODevice::WriteOnly));
    lobby.write("#!/bin/sh\ntouch \"$(dirname \"$0\")/lobby-ran\"\n");
    lobby.close();
    int handedOver = 0;
    QObject::connect(&d.window, &Tdownload::playWithOthersRequested, [&] { ++handedOver; });
    QTest::mouseClick(button(d.window, "Button2"), Qt::LeftButton);
    EXPECT_EQ(handedOver, 0); // an installed lobby still comes first
    EXPECT_TRUE(d.messages.isEmpty());
    EXPECT_EQ(d.closeRequests, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(d.file("lobby-ran")); }, kWaitMs));
}

TEST(Download, WindowTextsAndNames) {
    Tdownload w;
    EXPECT_EQ(w.windowTitle(), "Download The Veskor Lobby");
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    const std::map<const char*, QString> buttons = {
        {"getbutton", "Download And Install The Veskor Lobby Now"},
        {"abortbutton", "Stop Download"},
        {"Button1", "Play Solo Game"},
        {"Button2", "Play with Others"},
    };
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(button(w, name)->text(), caption) << name;
    EXPECT_TRUE(button(w, "Button1")->isDefault());
    EXPECT_FALSE(button(w, "abortbutton")->isEnabled());
    QStringList labels;
    for (const QLabel* l : w.findChildren<QLabel*>())
        labels << l->text();
    for (const char* t :
         {"Download The Veskor Lobby Now to play this  and other exciting games online with "
          "other players! ",
          "IS CLOSED",
          "To proceed to the game without the ability to play against others click the button "
          "below.",
          "Note: Even if you are playing offline, you will need to configure your FIREWALL to "
          "allow the game to access the internet components.",
          "If you already have The Veskor Lobby and you wish to play with others then click the "
          "button below to close this game and open The Veskor Lobby."})
        EXPECT_TRUE(labels.contains(t)) << t;
    expectSpeakable(w);
    // The progress labels speak their current text.
    auto* info = w.findChild<QLabel*>("infolabel");
    info->setText("Download Aborted");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(info)->text(QAccessible::Name),
              "Download Aborted");

    // Play Solo Game closes the window and nothing else.
    QSignalSpy ends(&w, &Tdownload::closeGameRequested);
    w.show();
    QTest::mouseClick(button(w, "Button1"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(ends.count(), 0);
}

TEST(Download, UrlComesFromTheEnvironmentWhenSet) {
    qputenv("BG_LOBBY_URL", "http://mirror.test:81/x/y/setup.bin");
    const lobby::Places p = lobby::Places::standard();
    qunsetenv("BG_LOBBY_URL");
    EXPECT_EQ(p.url.toString(), "http://mirror.test:81/x/y/setup.bin");
    EXPECT_EQ(p.fileName(), "setup.bin");
    const lobby::Places standard = lobby::Places::standard();
    EXPECT_EQ(standard.url.path(), "/lobby/vxlsetup.exe");
    EXPECT_EQ(standard.fileName(), "vxlsetup.exe");
}

// ---- the artwork

namespace {
QByteArray artwork() {
    Tdownload registersTheResource;
    return readFile(Tdownload::kArtwork);
}
} // namespace

TEST(Jpeg, ResourceDecodesLikeQtsOwnReader) {
    const QByteArray jpeg = artwork();
    ASSERT_TRUE(jpeg.startsWith("\xFF\xD8\xFF"));
    const QImage ours = decodeJpeg(jpeg);
    ASSERT_FALSE(ours.isNull());
    EXPECT_EQ(ours.size(), QSize(300, 180));
    QImage qt;
    if (!qt.loadFromData(jpeg, "JPEG")) GTEST_SKIP() << "no JPEG plugin to compare with";
    qt = qt.convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(qt.size(), ours.size());
    int worst = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = ours.pixel(x, y), b = qt.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    EXPECT_LE(worst, 2);
}

TEST(Jpeg, DamagedDataGivesNoPicture) {
    const QByteArray jpeg = artwork();
    ASSERT_FALSE(jpeg.isEmpty());
    QByteArray badHeader = jpeg;
    badHeader[1] = 'X';
    QByteArray hugeFrame = jpeg; // the frame header claims 60000 lines
    const int sof = int(hugeFrame.indexOf("\xFF\xC0") >= 0 ? hugeFrame.indexOf("\xFF\xC0")
                                                           : hugeFrame.indexOf("\xFF\xC2"));
    ASSERT_GT(sof, 0);
    hugeFrame[sof + 5] = char(0xEA);
    hugeFrame[sof + 6] = char(0x60);
    for (const QByteArray& bad : {jpeg.left(jpeg.size() / 2), jpeg.left(200), badHeader, hugeFrame,
                                  QByteArray("not a picture"), QByteArray()})
        EXPECT_TRUE(decodeJpeg(bad).isNull()) << bad.size();
}

TEST(Jpeg, DamagedArtworkLeavesThePanelBlankAndTheWindowWorking) {
    Downloader d;
    auto* picture = d.window.findChild<QLabel*>("Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());
    d.window.setArtwork(artwork().left(1000));
    EXPECT_TRUE(picture->pixmap().isNull());
    d.download();
    EXPECT_EQ(d.closeRequests, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.installed(); }, kWaitMs));
}

// ---- help and about

TEST(Help, TopicsShowTheirPagesAndTheChoiceSurvivesClosing) {
    Thelp help;
    auto* pages = help.findChild<QStackedWidget*>();
    ASSERT_NE(pages, nullptr);
    auto front = [&] { return pages->currentWidget()->objectName(); };
    EXPECT_EQ(help.windowTitle(), "Backgammon - Help File");
    EXPECT_EQ(text(help, "label_caption"), "Overview");
    EXPECT_EQ(front(), "memo1");

    const std::map<int, QString> topics = {
        {1, "Overview"},      {2, "Connecting"}, {3, "Game Play"}, {4, "Acey Deucy"},
        {5, "Documentation"}, {6, "License"},    {11, "The Lobby"}};
    help.show();
    for (const auto& [tag, caption] : topics) {
        QPushButton* b = button(help, QString("SelButton%1").arg(tag).toLatin1());
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), caption);
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(text(help, "label_caption"), caption);
        EXPECT_EQ(front(), QString("memo%1").arg(tag));
        auto* page = qobject_cast<QTextBrowser*>(pages->currentWidget());
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->isReadOnly());
        EXPECT_GT(page->toPlainText().size(), 200) << caption.toStdString();
        EXPECT_FALSE(page->accessibleName().isEmpty());
    }

    QTest::mouseClick(button(help, "SelButton3"), Qt::LeftButton);
    QTest::mouseClick(button(help, "button_done"), Qt::LeftButton);
    EXPECT_FALSE(help.isVisible());
    help.show();
    EXPECT_EQ(text(help, "label_caption"), "Game Play");
    EXPECT_EQ(front(), "memo3");

    QSignalSpy about(&help, &Thelp::aboutRequested);
    QTest::mouseClick(button(help, "button_about"), Qt::LeftButton);
    EXPECT_EQ(about.count(), 1);
    expectSpeakable(help);
}

TEST(About, VersionAndDone) {
    QWidget main;
    main.setGeometry(100, 100, 700, 500);
    Tabout about(&main);
    EXPECT_EQ(about.windowTitle(), "Backgammon - About");
    EXPECT_EQ(text(about, "version"), "1.0.4");
    EXPECT_EQ(Tabout::versionText(), "1.0.4");
    QStringList labels;
    for (const QLabel* l : about.findChildren<QLabel*>())
        labels << l->text();
    expectSpeakable(about);
    EXPECT_TRUE(labels.contains("Backgammon"));
    EXPECT_TRUE(labels.contains("Version"));
    EXPECT_TRUE(labels.contains(".4"));
    EXPECT_TRUE(text(about, "Label7").contains("http://"));
    about.show();
    QTest::mouseClick(button(about, "button_done"), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
