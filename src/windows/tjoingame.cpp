#include "tjoingame.h"

#include "dialogmessage.h"
#include "joinaddress.h"
#include "loginname.h"
#include "networkgamesettings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHostInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLabel* caption(const QString& text, QWidget* buddy, QWidget* parent, const char* name) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setBuddy(buddy);
    return l;
}

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

Tjoingame::Tjoingame(const QString& settingsPath, quint16 usualPort, NextCopyStarter starter,
                     QWidget* parent)
    : QDialog(parent), m_settingsPath(settingsPath), m_usualPort(usualPort),
      m_starter(std::move(starter)) {
    setObjectName("Tjoingame");
    setWindowTitle("Join a Game");
    setAccessibleName("Join a Game");
    auto* col = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName("edit_name");
    m_name->setAccessibleName("Your name");
    m_name->setMaxLength(bg::kMaxPlayerNameChars);
    form->addRow(caption("Your &name:", m_name, this, "label_name"), m_name);
    m_address = new QLineEdit(this);
    m_address->setObjectName("edit_address");
    m_address->setAccessibleName("Host address");
    m_address->setAccessibleDescription(
        "A host name, an IPv4 or IPv6 address, with :port where the host does not use " +
        QString::number(usualPort));
    m_address->setPlaceholderText("host name or address, :port if not " +
                                  QString::number(usualPort));
    form->addRow(caption("Host &address:", m_address, this, "label_address"), m_address);
    col->addLayout(form);

    m_games = new QListWidget(this);
    m_games->setObjectName("listbox_games");
    m_games->setAccessibleName("Games on this network");
    col->addWidget(caption("&Games on this network:", m_games, this, "label_games"));
    col->addWidget(m_games, 2);
    m_recent = new QListWidget(this);
    m_recent->setObjectName("listbox_recent");
    m_recent->setAccessibleName("Recent addresses");
    col->addWidget(caption("&Recent addresses:", m_recent, this, "label_recent"));
    col->addWidget(m_recent, 1);

    m_message = bg::dialogMessage(this);
    col->addWidget(m_message);

    auto* buttons = new QDialogButtonBox(this);
    m_join = buttons->addButton("Join", QDialogButtonBox::AcceptRole);
    m_join->setObjectName("button_join");
    m_join->setAccessibleName("Join");
    m_join->setDefault(true);
    QPushButton* host = buttons->addButton("Host a Game...", QDialogButtonBox::ActionRole);
    host->setObjectName("button_hostinstead");
    host->setAccessibleName("Host a Game");
    QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("button_cancel");
    cancel->setAccessibleName("Cancel");
    connect(m_join, &QPushButton::clicked, this, &Tjoingame::button_joinClick);
    connect(host, &QPushButton::clicked, this, [this] {
        reject();
        emit hostRequested();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    col->addWidget(buttons);

    connect(m_recent, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { m_address->setText(item->text()); });
    connect(m_recent, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        m_address->setText(item->text());
        button_joinClick();
    });
    // A message is about what was typed: typing again makes it old news.
    for (QLineEdit* edit : {m_name, m_address})
        connect(edit, &QLineEdit::textChanged, m_message, &QLabel::clear);
    connect(m_games, &QListWidget::itemClicked, this, &Tjoingame::gameChosen);
    connect(m_games, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        gameChosen(item);
        if (item->flags() & Qt::ItemIsEnabled) button_joinClick();
    });
    resize(440, 460);
}

QString Tjoingame::noGamesText() const {
    if (!m_browser || !m_browser->daemonRunning())
        return "No games found on this network (service discovery is not running)";
    return "No games found on this network";
}

void Tjoingame::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    const NetworkGameSettings settings = NetworkGameSettings::load(m_settingsPath);
    m_name->setText(settings.playerName);
    fillRecent();
    m_message->clear();
    m_join->setEnabled(true);
    // Browsing starts with the first showing: a window nobody opens asks the network nothing.
    if (!m_browser) {
        m_browser = new bg::discovery::GameBrowser(this);
        connect(m_browser, &bg::discovery::GameBrowser::changed, this, &Tjoingame::fillGames);
    }
    fillGames();
    (m_name->text().isEmpty() ? m_name : m_address)->setFocus();
}

void Tjoingame::fillRecent() {
    m_recent->clear();
    m_recent->addItems(NetworkGameSettings::load(m_settingsPath).recentAddresses);
}

void Tjoingame::fillGames() {
    const QString chosen = m_games->currentItem() ? m_games->currentItem()->data(Qt::UserRole).toString()
                                                  : QString();
    m_games->clear();
    const auto games = m_browser ? m_browser->games() : std::vector<bg::discovery::FoundGame>{};
    for (const bg::discovery::FoundGame& g : games) {
        const QString host = QString::fromStdString(g.notice.hostName);
        const QString address = joinAddressText(g.address, g.port, m_usualPort);
        // Plain text items: whatever the network sent is shown, never interpreted.
        auto* item = new QListWidgetItem(
            QString("%1 · %2 · %3 of %4 seats taken · %5")
                .arg(host.isEmpty() ? g.serviceName : host,
                     fromView(bg::discovery::gameTypeName(g.notice.type)))
                .arg(g.notice.seatsTaken)
                .arg(bg::discovery::kSeats)
                .arg(address),
            m_games);
        item->setData(Qt::UserRole, address);
        item->setData(Qt::AccessibleTextRole, item->text());
        if (address == chosen) m_games->setCurrentItem(item);
    }
    if (games.empty()) {
        auto* none = new QListWidgetItem(noGamesText(), m_games);
        none->setFlags(Qt::NoItemFlags);
    }
}

void Tjoingame::gameChosen(QListWidgetItem* item) {
    if (item && (item->flags() & Qt::ItemIsEnabled))
        m_address->setText(item->data(Qt::UserRole).toString());
}

void Tjoingame::say(const QString& text) {
    m_message->setText(text);
}

void Tjoingame::button_joinClick() {
    if (m_lookup >= 0) return; // a look-up is under way
    const QString name = m_name->text().trimmed();
    const std::string_view nameProblem = bg::loginNameProblem(name.toStdString());
    if (!nameProblem.empty()) {
        say(fromView(nameProblem));
        m_name->setFocus();
        return;
    }
    const QString typed = m_address->text().trimmed();
    const JoinAddressReading reading = readJoinAddress(typed);
    if (!reading.address) {
        say(reading.problem);
        m_address->setFocus();
        return;
    }
    const JoinAddress& a = *reading.address;
    if (a.ipv6) {
        // The game's connection and its host speak IPv4 only.
        say("Games connect over IPv4 only: ask the host for an IPv4 address or a host name.");
        m_address->setFocus();
        return;
    }
    if (a.host[0].isDigit()) {
        start(name, a.host, a.port, typed);
        return;
    }
    // A name is looked up only: the dialog never connects, a connection would take a seat.
    m_join->setEnabled(false);
    say("Looking up " + a.host + "...");
    const QString host = a.host;
    const std::optional<quint16> port = a.port;
    m_lookup = QHostInfo::lookupHost(host, this, [this, name, host, port, typed](const QHostInfo& info) {
        m_lookup = -1;
        m_join->setEnabled(true);
        const QList<QHostAddress> addresses = info.addresses();
        const bool found = std::any_of(addresses.begin(), addresses.end(),
                                       [](const QHostAddress& address) {
                                           return address.protocol() == QAbstractSocket::IPv4Protocol;
                                       });
        if (!found) {
            say("Cannot find the host \"" + host + "\"" +
                (info.error() != QHostInfo::NoError ? ": " + info.errorString() : QString(".")));
            m_address->setFocus();
            return;
        }
        start(name, host, port, typed);
    });
}

void Tjoingame::start(const QString& name, const QString& host, std::optional<quint16> port,
                      const QString& typed) {
    NetworkGameSettings settings = NetworkGameSettings::load(m_settingsPath);
    settings.playerName = name;
    settings.addRecent(typed);
    settings.save(m_settingsPath);
    fillRecent();
    accept();
    if (m_starter) m_starter(NextCopy{{name, host, "false"}, port});
}
