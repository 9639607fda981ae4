#include "tdownload.h"

#include "httpget.h"
#include "jpegimage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

// Resources compiled into a static library must be registered by name, outside any namespace.
static void registerArtwork() {
    Q_INIT_RESOURCE(lobbyart);
}

namespace {

constexpr int kArtWidth = 300;
constexpr int kArtHeight = 180;
constexpr int kPanelWidth = 320;

QLabel* wrapped(const QString& text, QWidget* parent, const char* name) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    if (!text.isEmpty()) l->setAccessibleName(text.trimmed());
    return l;
}

QPushButton* button(const QString& text, QWidget* parent, const char* name) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(text);
    return b;
}

QFrame* panel(QWidget* parent, const char* name, const QString& accessible) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setAccessibleName(accessible);
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

} // namespace

Tdownload::Tdownload(QWidget* parent) : QDialog(parent), m_places(lobby::Places::standard()) {
    setObjectName("Tdownload");
    setWindowTitle("Download The Veskor Lobby");
    setAccessibleName("Download The Veskor Lobby");
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    m_http = new HttpGet(this);
    connect(m_http, &HttpGet::headerData, this, &Tdownload::HttpCli1HeaderData);
    connect(m_http, &HttpGet::docBegin, this, &Tdownload::HttpCli1DocBegin);
    connect(m_http, &HttpGet::docData, this, &Tdownload::HttpCli1DocData);

    auto* row = new QHBoxLayout(this);
    row->addWidget(downloadPanel());
    auto* right = new QVBoxLayout;
    right->addWidget(soloPanel());
    right->addWidget(lobbyPanel());
    row->addLayout(right);
    if (parent) connect(this, &Tdownload::closeGameRequested, parent, &QWidget::close);

    registerArtwork();
    QFile art(kArtwork);
    setArtwork(art.open(QIODevice::ReadOnly) ? art.readAll() : QByteArray());
    setFixedSize(sizeHint());
}

QWidget* Tdownload::downloadPanel() {
    QFrame* p = panel(this, "panel_download", "Download panel");
    p->setFixedWidth(kPanelWidth);
    auto* col = new QVBoxLayout(p);
    m_art = new QLabel(p);
    m_art->setObjectName("Image1");
    m_art->setAccessibleName("The Veskor Lobby");
    m_art->setFixedSize(kArtWidth, kArtHeight);
    m_art->setAlignment(Qt::AlignCenter);
    col->addWidget(m_art, 0, Qt::AlignHCenter);
    // The stamp across the artwork's corner.
    auto* closed = new QLabel("IS CLOSED", m_art);
    closed->setObjectName("label_closed");
    closed->setAccessibleName("IS CLOSED");
    closed->setStyleSheet("color: #ffe060; background: rgba(140, 0, 0, 200); font: bold 15px;"
                          "padding: 2px 8px; border: 2px solid #ffe060;");
    closed->adjustSize();
    closed->move(kArtWidth - closed->width() - 6, 6);
    col->addWidget(wrapped("Download The Veskor Lobby Now to play this  and other exciting games "
                           "online with other players! ",
                           p, "label_download"));
    m_get = button("Download And Install The Veskor Lobby Now", p, "getbutton");
    connect(m_get, &QPushButton::clicked, this, &Tdownload::getbuttonClick);
    col->addWidget(m_get);
    m_abort = button("Stop Download", p, "abortbutton");
    m_abort->setEnabled(false);
    connect(m_abort, &QPushButton::clicked, this, &Tdownload::abortbuttonClick);
    col->addWidget(m_abort);
    // These labels are read by their changing text; the description says what they are.
    m_info = wrapped(QString(), p, "infolabel");
    m_info->setAccessibleDescription("Download progress");
    m_info->setProperty("tag", 0);
    m_info3 = wrapped(QString(), p, "infolabel3");
    m_info3->setAccessibleDescription("Download status");
    m_info2 = wrapped(QString(), p, "infolabel2");
    m_info2->setAccessibleDescription("Downloaded file name");
    m_info2->hide();
    for (QLabel* l : {m_info, m_info3, m_info2})
        col->addWidget(l);
    col->addStretch();
    return p;
}

QWidget* Tdownload::soloPanel() {
    QFrame* p = panel(this, "panel_solo", "Solo game panel");
    auto* col = new QVBoxLayout(p);
    col->addWidget(wrapped("To proceed to the game without the ability to play against others "
                           "click the button below.",
                           p, "label_solo"));
    auto* note = wrapped("Note: Even if you are playing offline, you will need to configure your "
                         "FIREWALL to allow the game to access the internet components.",
                         p, "label_firewall");
    note->setStyleSheet("color: #a00000;");
    col->addWidget(note);
    QPushButton* solo = button("Play Solo Game", p, "Button1");
    solo->setDefault(true);
    connect(solo, &QPushButton::clicked, this, &Tdownload::Button1Click);
    col->addWidget(solo);
    col->addStretch();
    return p;
}

QWidget* Tdownload::lobbyPanel() {
    QFrame* p = panel(this, "panel_lobby", "Installed lobby panel");
    auto* col = new QVBoxLayout(p);
    col->addWidget(wrapped("If you already have The Veskor Lobby and you wish to play with others "
                           "then click the button below to close this game and open The Veskor "
                           "Lobby.",
                           p, "label_lobby"));
    QPushButton* others = button("Play with Others", p, "Button2");
    others->setAutoDefault(false);
    connect(others, &QPushButton::clicked, this, &Tdownload::Button2Click);
    col->addWidget(others);
    col->addStretch();
    return p;
}

void Tdownload::setArtwork(const QByteArray& jpeg) {
    QImage image = decodeJpeg(jpeg);
    if (image.isNull())
        m_art->clear();
    else
        m_art->setPixmap(QPixmap::fromImage(std::move(image)));
}

void Tdownload::getbuttonClick() {
    if (m_http->running()) return;
    m_info->setProperty("tag", kTagRunning);
    m_info2->setText(m_places.fileName());
    QFile out(m_places.target());
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        showMessage("Cannot create " + QDir::toNativeSeparators(out.fileName()) + ": " +
                    out.errorString());
        return;
    }
    m_get->setEnabled(false);
    m_abort->setEnabled(true);
    m_info->setText("Loading");
    if (m_http->get(m_places.url, out)) {
        out.flush();
        m_info->setText("Received " + QString::number(QFileInfo(out).size()) + " bytes");
    } else {
        // Every failure ends here: an HTTP error, Stop, and also a network failure or a cut
        // document, which must never be run as an installer.
        m_info->setText("Download Aborted");
        m_info->setProperty("tag", kTagAborted);
    }
    m_get->setEnabled(true);
    m_abort->setEnabled(false);
    out.close();
    if (m_info->property("tag").toInt() != kTagAborted) install();
}

void Tdownload::install() {
    m_info3->setText("Installing");
    if (!lobby::startProgram(m_places.target(), lobby::installerArguments())) {
        showMessage("An Error has Occurred.");
        return;
    }
    emit closeGameRequested();
}

void Tdownload::abortbuttonClick() {
    m_http->abort();
    m_info->setText("Download has been aborted.");
    m_info->setProperty("tag", kTagAborted);
    m_info3->setText("Download Aborted");
}

void Tdownload::HttpCli1HeaderData(const QString&) {
    m_info->setText(m_info->text() + ".");
}

void Tdownload::HttpCli1DocBegin() {
    m_info3->setText("Downloading: " + m_info2->text());
}

void Tdownload::HttpCli1DocData(qint64 received) {
    m_info->setText(QString::number(received) + " bytes");
}

void Tdownload::Button1Click() {
    close();
}

void Tdownload::Button2Click() {
    if (!QFileInfo::exists(m_places.program)) {
        if (isSignalConnected(QMetaMethod::fromSignal(&Tdownload::playWithOthersRequested))) {
            emit playWithOthersRequested();
            return;
        }
        showMessage("Please close the game and open the Veskor Lobby using the icon on your "
                    "desktop or using the your Window's start-up menu.");
        return;
    }
    if (!lobby::startProgram(m_places.program, {})) {
        showMessage("An Error has Occurred.");
        return;
    }
    emit closeGameRequested();
}

void Tdownload::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// A download left running behind a closed window would later end the game unasked.
void Tdownload::hideEvent(QHideEvent* e) {
    if (!e->spontaneous()) m_http->abort();
    QDialog::hideEvent(e);
}

void Tdownload::showMessage(const QString& text) {
    if (m_messageBoxHook)
        m_messageBoxHook(text);
    else
        QMessageBox::information(this, windowTitle(), text);
}
