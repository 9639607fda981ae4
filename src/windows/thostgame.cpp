#include "thostgame.h"

#include "dialogmessage.h"
#include "loginname.h"
#include "networkgamesettings.h"
#include "protocol.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Thostgame::Thostgame(const QString& settingsPath, NextCopyStarter starter, QWidget* parent)
    : QDialog(parent), m_settingsPath(settingsPath), m_starter(std::move(starter)) {
    setObjectName("Thostgame");
    setWindowTitle("Host a Game");
    setAccessibleName("Host a Game");
    auto* col = new QVBoxLayout(this);
    auto* intro = new QLabel("Others on your network will find your game in their Join a Game "
                             "window, or join it at one of the addresses shown in the chat.",
                             this);
    intro->setObjectName("label_hostintro");
    intro->setWordWrap(true);
    intro->setAccessibleName(intro->text());
    col->addWidget(intro);
    auto* form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName("edit_name");
    m_name->setAccessibleName("Your name");
    m_name->setMaxLength(bg::kMaxPlayerNameChars);
    form->addRow("Your &name:", m_name);
    col->addLayout(form);
    m_message = bg::dialogMessage(this);
    col->addWidget(m_message);
    auto* buttons = new QDialogButtonBox(this);
    m_host = buttons->addButton("Host", QDialogButtonBox::AcceptRole);
    m_host->setObjectName("button_host");
    m_host->setAccessibleName("Host");
    m_host->setDefault(true);
    QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("button_cancel");
    cancel->setAccessibleName("Cancel");
    connect(m_host, &QPushButton::clicked, this, &Thostgame::button_hostClick);
    connect(m_name, &QLineEdit::textChanged, m_message, &QLabel::clear); // the message is old news
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    col->addWidget(buttons);
}

void Thostgame::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    m_name->setText(NetworkGameSettings::load(m_settingsPath).playerName);
    m_message->clear();
    m_name->setFocus();
}

void Thostgame::button_hostClick() {
    const QString name = m_name->text().trimmed();
    const std::string_view problem = bg::loginNameProblem(name.toStdString());
    if (!problem.empty()) {
        m_message->setText(QString::fromUtf8(problem.data(), static_cast<qsizetype>(problem.size())));
        m_name->setFocus();
        return;
    }
    NetworkGameSettings settings = NetworkGameSettings::load(m_settingsPath);
    settings.playerName = name;
    settings.save(m_settingsPath);
    accept();
    if (m_starter) m_starter(NextCopy{{name, bg::kLoopback, "true"}, std::nullopt});
}
