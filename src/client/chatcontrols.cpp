#include "chatcontrols.h"

#include "chatsending.h"
#include "chattersounds.h"
#include "chatview.h"
#include "qcolortext.h"
#include "artwork.h"
#include "smileys.h"
#include "weblink.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStyle>
#include <QToolButton>
#include <QUrl>

namespace {
constexpr int kPhraseButtons = 9;
const QString kPrompt = QString::fromUtf8(bg::kChatPrompt.data(), bg::kChatPrompt.size());
} // namespace

ChatControls::ChatControls(QWidget* panel, ChatView* view, QLineEdit* edit, QToolButton* smilies,
                           const std::array<QToolButton*, 10>& phraseButtons, Hooks hooks)
    : QObject(panel), m_panel(panel), m_view(view), m_edit(edit), m_smiliesButton(smilies),
      m_phraseButtons(phraseButtons), m_hooks(std::move(hooks)) {
    m_edit->setAccessibleName("Chat line");
    m_edit->installEventFilter(this);
    for (int n = 1; n <= kPhraseButtons; ++n) {
        QToolButton* b = m_phraseButtons[static_cast<std::size_t>(n)];
        if (!b) continue;
        b->setAccessibleName(b->toolTip());
        b->installEventFilter(this);
        connect(b, &QToolButton::clicked, this, [this, n] { b_phrase1Click(n); });
    }
    buildSmileyMenu();
    buildSoundMenu();
    buildContextMenus();
    m_openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    connect(m_view, &ChatView::linkClicked, this, &ChatControls::mainchatJump);
}

QAction* ChatControls::item(QMenu* menu, const QString& name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    return a;
}

void ChatControls::popUpAtCorner(QMenu* menu, QWidget* button) {
    menu->popup(button->mapToGlobal(QPoint(button->width(), button->height())));
}

void ChatControls::buildSmileyMenu() {
    m_smileys = new QMenu(m_panel);
    m_smileys->setObjectName("popup_smilies");
    const qreal dpr = m_panel->devicePixelRatioF();
    for (int i = 0; i < bg::kSmileyCount; ++i) {
        const int tag = bg::kFirstSmileyCode + i;
        // Items MenuItem1 .. MenuItem17 and, last, N271.
        const QString name = i + 1 < bg::kSmileyCount ? QString("MenuItem%1").arg(i + 1) : "N271";
        QAction* a = item(m_smileys, name, QString(":)#%1").arg(tag));
        a->setData(tag);
        connect(a, &QAction::triggered, this, [this, tag] { N271Click(tag); });
    }
    // The faces are painted when the menu first opens, not at start.
    connect(
        m_smileys, &QMenu::aboutToShow, this,
        [this, dpr] {
            const QList<QAction*> items = m_smileys->actions();
            for (int i = 0; i < items.size(); ++i)
                items[i]->setIcon(QIcon(art::smiley(i, dpr)));
        },
        Qt::SingleShotConnection);
    m_smiliesButton->setToolTip("Smilies");
    m_smiliesButton->setAccessibleName("Smilies");
    m_smiliesButton->setIcon(QIcon(art::smiley(0, dpr)));
    connect(m_smiliesButton, &QToolButton::clicked, this,
            [this] { popUpAtCorner(m_smileys, m_smiliesButton); });
}

void ChatControls::buildSoundMenu() {
    m_soundButton = new QToolButton(m_panel);
    m_soundButton->setObjectName("b_phrase10");
    m_soundButton->setToolTip("Play Chatter Sounds");
    m_soundButton->setAccessibleName("Play Chatter Sounds");
    m_soundButton->setIcon(QIcon(art::speaker(m_panel->devicePixelRatioF())));
    m_soundButton->setAutoRaise(true);
    m_sounds = new QMenu(m_panel);
    m_sounds->setObjectName("popup_sounds");
    QAction* cancel = item(m_sounds, "Cancel1", "<Cancel>");
    cancel->setData(0);
    connect(cancel, &QAction::triggered, this, [this] { wave20Click(0); });
    for (int tag = 1; tag <= bg::kChatterSounds; ++tag) {
        const std::string_view caption = bg::chatterCaption(tag);
        QAction* a = item(m_sounds, QString("wave%1").arg(tag),
                          QString::fromUtf8(caption.data(), caption.size()));
        a->setToolTip(a->text());
        a->setData(tag);
        connect(a, &QAction::triggered, this, [this, tag] { wave20Click(tag); });
    }
    connect(m_soundButton, &QToolButton::clicked, this,
            [this] { popUpAtCorner(m_sounds, m_soundButton); });
}

void ChatControls::buildContextMenus() {
    m_viewMenu = new QMenu(m_view);
    m_viewMenu->setObjectName("popup_mainchat");
    connect(item(m_viewMenu, "SelectAll1", "Select All"), &QAction::triggered, this,
            &ChatControls::SelectAll1Click);
    QAction* copy = item(m_viewMenu, "Copy1", "Copy");
    copy->setShortcut(QKeySequence("Ctrl+C"));
    connect(copy, &QAction::triggered, this, &ChatControls::Copy1Click);
    connect(item(m_viewMenu, "ClearMainChat2", "Clear Main Chat"), &QAction::triggered, this,
            [this] { m_hooks.clearChat(); });
    m_viewMenu->addSeparator();
    m_scrollOff1 = item(m_viewMenu, "ScrollChatOff1", "Scroll Chat Off");
    m_scrollOff1->setShortcut(QKeySequence("Ctrl+S"));
    m_scrollOff1->setCheckable(true);
    connect(m_scrollOff1, &QAction::triggered, this, &ChatControls::ScrollChatOff1Click);
    // Both "Scroll Chat Off" items show the view's state, whichever of them changed it.
    connect(m_view, &ChatView::scrollOffChanged, this, [this](bool off) {
        m_scrollOff1->setChecked(off);
        if (auto* other = m_panel->window()->findChild<QAction*>("ScrollChatOff2")) {
            other->setCheckable(true);
            other->setChecked(off);
        }
    });
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_viewMenu->popup(m_view->mapToGlobal(at)); });

    m_editMenu = new QMenu(m_edit);
    m_editMenu->setObjectName("popup_mychat");
    QAction* paste = item(m_editMenu, "Paste1", "Paste");
    paste->setShortcut(QKeySequence("Ctrl+V"));
    connect(paste, &QAction::triggered, this, &ChatControls::Paste1Click);
    m_edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_edit, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_editMenu->popup(m_edit->mapToGlobal(at)); });
}

bool ChatControls::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Any key first takes the prompt away, so Enter on the untouched prompt sends nothing.
        if (m_edit->text() == kPrompt) m_edit->clear();
        if (key->matches(QKeySequence::Paste)) {
            Paste1Click();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            sendit();
            return true;
        }
    }
    // A phrase button's caption and spoken name follow its phrase (its hint).
    if (event->type() == QEvent::ToolTipChange)
        if (auto* b = qobject_cast<QToolButton*>(watched); b && b != m_soundButton) {
            b->setText(b->toolTip());
            b->setAccessibleName(b->toolTip());
        }
    return QObject::eventFilter(watched, event);
}

void ChatControls::sendit() {
    if (!m_hooks.loggedin()) return;
    const std::string colour = bg::qcolorToText(m_hooks.ownColour()).toStdString();
    if (const auto message =
            bg::typedLineMessage(m_hooks.myplayer(), m_edit->text().toStdString(), colour))
        m_hooks.send(*message);
    m_edit->clear();
}

void ChatControls::b_phrase1Click(int n) {
    if (n < 1 || n > kPhraseButtons || !m_hooks.phraseGateOpen()) return;
    const QString phrase = m_phraseButtons[static_cast<std::size_t>(n)]->toolTip();
    const std::string colour = bg::qcolorToText(m_hooks.ownColour()).toStdString();
    m_hooks.send(bg::phraseMessage(m_hooks.myplayer(), phrase.toStdString(), colour));
    m_hooks.closePhraseGate();
}

void ChatControls::N271Click(int tag) {
    if (m_edit->text() == kPrompt) m_edit->clear();
    m_edit->setText(m_edit->text() + QString(":)#%1").arg(tag));
    m_edit->deselect();
    m_edit->setCursorPosition(static_cast<int>(m_edit->text().size()));
}

void ChatControls::wave20Click(int tag) {
    if (const auto message =
            bg::chatterMessage(m_hooks.loggedin(), m_hooks.seatPlayer(), m_hooks.myplayer(), tag))
        m_hooks.send(*message);
}

void ChatControls::SelectAll1Click() {
    m_view->selectAll();
    m_view->viewport()->update();
}

void ChatControls::Copy1Click() {
    // Plain text only: the view's own copy would hand over its colours and fonts as HTML too.
    if (m_view->textCursor().hasSelection())
        QApplication::clipboard()->setText(m_view->selectedPlainText());
}

void ChatControls::ScrollChatOff1Click() {
    // The check marks of both items follow the view.
    m_view->setScrollOff(!m_view->scrollOff());
}

void ChatControls::Paste1Click() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data && data->hasText()) m_edit->setText(QApplication::clipboard()->text());
}

void ChatControls::mainchatJump(const QString& word) {
    const std::optional<std::string> address = bg::webAddressForLink(word.toStdString());
    const QUrl url = address ? QUrl(QString::fromStdString(*address), QUrl::StrictMode) : QUrl();
    const bool web = url.isValid() && (url.scheme() == "http" || url.scheme() == "https") &&
                     !url.host().isEmpty();
    if (!web || !m_openUrl(url)) m_hooks.messageBox("Cannot open Webpage");
}
