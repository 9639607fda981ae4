#pragma once
// ChatControls: everything the user does with the chat beside the board. It owns the chat's
// menus (the smiley menu, the chatter-sound menu, the view's and the edit's context menus) and
// turns the edit's keys, the phrase buttons and the menu choices into messages for the host.
// What goes out is decided by chatsending.h; this class only maps widgets onto it.

#include <QColor>
#include <QObject>

#include <array>
#include <functional>
#include <string>

class ChatView;
class QAction;
class QLineEdit;
class QMenu;
class QToolButton;
class QUrl;
class QWidget;

class ChatControls : public QObject {
    Q_OBJECT
  public:
    // What the controls need of the main window.
    struct Hooks {
        std::function<bool()> loggedin;
        std::function<int()> myplayer;
        std::function<bool()> seatPlayer;             // this client plays a seat
        std::function<void(const std::string&)> send; // a message, without its terminator
        std::function<QColor()> ownColour;
        std::function<bool()> phraseGateOpen;
        std::function<void()> closePhraseGate;
        std::function<void()> clearChat; // both "Clear Main Chat" items
        std::function<void(const QString&)> messageBox;
    };

    ChatControls(QWidget* panel, ChatView* view, QLineEdit* edit, QToolButton* smilies,
                 const std::array<QToolButton*, 10>& phraseButtons, Hooks hooks);

    void sendit();
    // The phrase button `n` (1 to 9) was clicked.
    void b_phrase1Click(int n);
    void N271Click(int tag);
    void wave20Click(int tag);
    void SelectAll1Click();
    void Copy1Click();
    void ScrollChatOff1Click();
    void Paste1Click();
    // A click on a link word (as the view gives it, trailing blank and all).
    void mainchatJump(const QString& word);
    // How a web address is handed to the desktop; tests record it instead.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }
    QMenu* smileyMenu() const { return m_smileys; }
    QMenu* soundMenu() const { return m_sounds; }
    QMenu* viewMenu() const { return m_viewMenu; }
    QMenu* editMenu() const { return m_editMenu; }
    // The speaker button `b_phrase10`.
    QToolButton* soundButton() const { return m_soundButton; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildSmileyMenu();
    void buildSoundMenu();
    void buildContextMenus();
    void popUpAtCorner(QMenu* menu, QWidget* button);
    QAction* item(QMenu* menu, const QString& name, const QString& text);

    QWidget* m_panel;
    ChatView* m_view;
    QLineEdit* m_edit;
    QToolButton* m_smiliesButton;
    std::array<QToolButton*, 10> m_phraseButtons;
    Hooks m_hooks;
    QToolButton* m_soundButton = nullptr;
    QMenu* m_smileys = nullptr;
    QMenu* m_sounds = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QAction* m_scrollOff1 = nullptr;
    std::function<bool(const QUrl&)> m_openUrl;
};
