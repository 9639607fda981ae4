#pragma once
// Tdownload: offered at a solo start. Its left panel downloads the lobby's installer over
// HTTP and starts it silently; the upper right one lets the solo game go on; the lower right
// one starts an installed lobby program. Installing or starting the lobby ends this program
// (closeGameRequested, tied to the parent window's close when there is a parent).
//
// The download runs inside getbuttonClick (HttpGet's blocking GET keeps the window live, so
// abortbuttonClick can stop it); `infolabel`'s "tag" property holds its state, 1 while it
// runs or when it succeeded, 2 when it was aborted or failed.

#include "lobbyplaces.h"

#include <QDialog>

#include <functional>

class HttpGet;
class QLabel;
class QPushButton;

class Tdownload : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTagRunning = 1;
    static constexpr int kTagAborted = 2;

    explicit Tdownload(QWidget* parent = nullptr);

    // Tests point the window at their own server, folder and lobby program.
    void setPlaces(const lobby::Places& places) { m_places = places; }
    const lobby::Places& places() const { return m_places; }
    // Shows the JPEG picture on the left panel; a picture that does not decode leaves the
    // panel blank. The window starts with kArtwork from the program's resources.
    static constexpr const char* kArtwork = ":/lobbyart.jpg";
    void setArtwork(const QByteArray& jpeg);
    // Message boxes go here instead of on screen (tests).
    void setMessageBoxHook(std::function<void(const QString&)> hook) {
        m_messageBoxHook = std::move(hook);
    }

  public slots:
    void getbuttonClick();
    void abortbuttonClick();
    void Button1Click();
    void Button2Click();

  signals:
    // Ends the program: the installer or the lobby takes over.
    void closeGameRequested();
    // "Play with Others" without an installed lobby: the game's own Host and Join take over.
    void playWithOthersRequested();

  protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

  private:
    void HttpCli1HeaderData(const QString& line);
    void HttpCli1DocBegin();
    void HttpCli1DocData(qint64 received);
    void install();
    void showMessage(const QString& text);
    QWidget* downloadPanel();
    QWidget* soloPanel();
    QWidget* lobbyPanel();

    lobby::Places m_places;
    HttpGet* m_http = nullptr;
    QPushButton* m_get = nullptr;
    QPushButton* m_abort = nullptr;
    QLabel* m_art = nullptr;
    QLabel* m_info = nullptr;
    QLabel* m_info2 = nullptr;
    QLabel* m_info3 = nullptr;
    std::function<void(const QString&)> m_messageBoxHook;
};
