#pragma once
// HttpGet: the lobby download's HTTP client. get() fetches one URL into an output device and
// returns when the transfer ends; meanwhile it runs a local event loop, so the window stays
// live and abort() (from a Stop button) can end the transfer.
//
// It speaks HTTP/1.0 over a QTcpSocket (QSslSocket for https), follows a few redirects, and
// reports each header line, the start of the body and the body count as it goes. A status of
// 400 or more, an abort (which reads as status 404 "Connection aborted on request"), a network
// error, a body cut short of its Content-Length and a malformed answer all make get() fail.

#include "httpresponse.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QAbstractSocket;
class QEventLoop;
class QIODevice;

class HttpGet : public QObject, private http::HttpResponseReader::Sink {
    Q_OBJECT
  public:
    static constexpr int kMaxRedirects = 5;
    static constexpr int kAbortStatus = 404;

    explicit HttpGet(QObject* parent = nullptr);
    ~HttpGet() override;

    // Blocking GET of url into out; true when a whole document with a status below 400
    // arrived. On false, statusCode() and errorText() say why (status 0 without an answer).
    bool get(const QUrl& url, QIODevice& out);
    // Ends a running get(), which then fails; does nothing when none runs.
    void abort();
    bool running() const { return m_loop != nullptr; }

    int statusCode() const { return m_status; }
    QString errorText() const { return m_error; }

  signals:
    void headerData(const QString& line);
    void docBegin();
    void docData(qint64 received);

  private:
    enum class Hop { Pending, Done, Redirect, Failed };
    Hop fetch(const QUrl& url, QIODevice& out);
    void connectSocket(QAbstractSocket& socket, const std::string& request);
    void readSome();
    void closed();
    void finish(Hop outcome);
    void fail(int status, const QString& text);

    void headerLine(std::string_view line) override;
    void bodyBegins() override;
    void bodyData(std::string_view piece) override;

    QEventLoop* m_loop = nullptr;
    QPointer<QAbstractSocket> m_socket;
    QIODevice* m_out = nullptr;
    http::HttpResponseReader* m_reader = nullptr;
    Hop m_outcome = Hop::Pending;
    QUrl m_redirect;
    int m_status = 0;
    QString m_error;
};
