#include "httpget.h"

#include <QEventLoop>
#include <QIODevice>
#include <QNetworkProxy>
#include <QSslSocket>
#include <QTcpSocket>

#include <memory>

namespace {

QString hostField(const QUrl& url) {
    const QString host = url.host(QUrl::FullyEncoded);
    return url.port() == -1 ? host : host + ':' + QString::number(url.port());
}

QString pathAndQuery(const QUrl& url) {
    QString path = url.path(QUrl::FullyEncoded);
    if (path.isEmpty()) path = "/";
    if (url.hasQuery()) path += '?' + url.query(QUrl::FullyEncoded);
    return path;
}

} // namespace

HttpGet::HttpGet(QObject* parent) : QObject(parent) {}

HttpGet::~HttpGet() {
    abort();
}

bool HttpGet::get(const QUrl& url, QIODevice& out) {
    if (m_loop) return false; // one transfer at a time
    m_status = 0;
    m_error.clear();
    QUrl next = url;
    for (int hop = 0; hop <= kMaxRedirects; ++hop) {
        const Hop outcome = fetch(next, out);
        if (outcome != Hop::Redirect) return outcome == Hop::Done;
        next = next.resolved(m_redirect);
    }
    m_error = "Too many redirections";
    return false;
}

void HttpGet::abort() {
    if (!m_loop) return;
    fail(kAbortStatus, "Connection aborted on request");
}

HttpGet::Hop HttpGet::fetch(const QUrl& url, QIODevice& out) {
    const bool tls = url.scheme() == "https";
    m_outcome = Hop::Pending;
    if (!url.isValid() || url.host().isEmpty() || (url.scheme() != "http" && !tls)) {
        fail(0, "Unsupported address: " + url.toString());
        return Hop::Failed;
    }
    if (tls && !QSslSocket::supportsSsl()) {
        fail(0, "No TLS support for " + url.toString());
        return Hop::Failed;
    }
    std::unique_ptr<QTcpSocket> socket(tls ? new QSslSocket : new QTcpSocket);
    socket->setProxy(QNetworkProxy::NoProxy);
    http::HttpResponseReader reader;
    QEventLoop loop;
    m_reader = &reader;
    m_out = &out;
    m_socket = socket.get();
    m_loop = &loop;
    connectSocket(*socket,
                  http::getRequest(hostField(url).toStdString(), pathAndQuery(url).toStdString()));
    const quint16 port = quint16(url.port(tls ? 443 : 80));
    if (tls)
        static_cast<QSslSocket*>(socket.get())->connectToHostEncrypted(url.host(), port);
    else
        socket->connectToHost(url.host(), port);
    if (m_outcome == Hop::Pending) loop.exec();
    // The loop also ends when the whole application quits; the transfer is then unfinished.
    if (m_outcome == Hop::Pending) fail(0, "Interrupted");
    socket->disconnect(this);
    socket->abort();
    m_loop = nullptr;
    m_reader = nullptr;
    m_out = nullptr;
    return m_outcome;
}

void HttpGet::connectSocket(QAbstractSocket& socket, const std::string& request) {
    auto* tls = qobject_cast<QSslSocket*>(&socket);
    const auto send = [this, &socket, request] {
        socket.write(request.data(), qint64(request.size()));
    };
    if (tls)
        connect(tls, &QSslSocket::encrypted, this, send);
    else
        connect(&socket, &QAbstractSocket::connected, this, send);
    connect(&socket, &QIODevice::readyRead, this, &HttpGet::readSome);
    connect(&socket, &QAbstractSocket::disconnected, this, &HttpGet::closed);
    connect(&socket, &QAbstractSocket::errorOccurred, this,
            [this, &socket](QAbstractSocket::SocketError e) {
                // A server that closes after the body is the normal end of HTTP/1.0.
                if (e == QAbstractSocket::RemoteHostClosedError)
                    closed();
                else
                    fail(0, socket.errorString());
            });
}

void HttpGet::readSome() {
    if (m_outcome != Hop::Pending || !m_socket) return;
    const QByteArray bytes = m_socket->readAll();
    if (!m_reader->feed(std::string_view(bytes.constData(), size_t(bytes.size())), *this)) {
        if (m_outcome == Hop::Pending) fail(m_reader->status(), "Malformed answer");
        return;
    }
    if (m_outcome == Hop::Pending && m_reader->contentLength() && m_reader->bodyComplete())
        finish(Hop::Done);
}

void HttpGet::closed() {
    if (m_outcome != Hop::Pending) return;
    readSome();
    if (m_outcome != Hop::Pending) return;
    if (m_reader->bodyComplete())
        finish(Hop::Done);
    else
        fail(m_reader->status(), m_reader->inBody() ? "Document cut short" : "Connection closed");
}

void HttpGet::headerLine(std::string_view line) {
    emit headerData(QString::fromLatin1(line.data(), qsizetype(line.size())));
}

void HttpGet::bodyBegins() {
    const int status = m_reader->status();
    m_status = status;
    const QString reason = QString::fromStdString(m_reader->reason());
    if (status >= 300 && status < 400 && !m_reader->location().empty()) {
        m_redirect = QUrl(QString::fromStdString(m_reader->location()));
        finish(Hop::Redirect);
    } else if (status < 200 || status >= 300) {
        fail(status, reason);
    } else {
        emit docBegin();
    }
}

void HttpGet::bodyData(std::string_view piece) {
    if (m_outcome != Hop::Pending) return;
    if (m_out->write(piece.data(), qint64(piece.size())) != qint64(piece.size())) {
        fail(0, "Cannot write the document: " + m_out->errorString());
        return;
    }
    emit docData(m_reader->bodyReceived());
}

void HttpGet::finish(Hop outcome) {
    if (m_outcome != Hop::Pending) return;
    m_outcome = outcome;
    if (m_loop) m_loop->quit();
}

// Only the first reason of a transfer counts: a Stop after the server's error changes nothing.
void HttpGet::fail(int status, const QString& text) {
    if (m_outcome != Hop::Pending) return;
    m_status = status;
    m_error = text;
    finish(Hop::Failed);
}
