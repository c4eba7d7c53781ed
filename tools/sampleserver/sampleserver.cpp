#include "tools/sampleserver/sampleserver.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>

namespace sampleserver {

namespace {

constexpr qsizetype MaxRequestHead = qsizetype{64} * 1024;

QByteArray headerValue(const QByteArray& request, const QByteArray& name) {
    for (const QByteArray& line : request.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

} // namespace

SampleServer::SampleServer(Config config, QObject* parent)
    : QObject(parent), config_(std::move(config)) {
    connect(&server_, &QTcpServer::newConnection, this, [this] { accept(server_); });
    connect(&tlsServer_, &QTcpServer::pendingConnectionAvailable, this,
            [this] { accept(tlsServer_); });
}

bool SampleServer::listenTls(const QSslCertificate& certificate, const QSslKey& key) {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(certificate);
    tls.setPrivateKey(key);
    tlsServer_.setSslConfiguration(tls);
    if (!tlsServer_.listen(QHostAddress::LocalHost))
        return false;
    config_.tlsPort = tlsServer_.serverPort();
    return true;
}

bool SampleServer::listen(quint16 port) {
    if (!server_.listen(QHostAddress::LocalHost, port))
        return false;
    port_ = server_.serverPort();
    return true;
}

bool SampleServer::listenOnStorablePort() {
    constexpr quint16 First = 20000;
    constexpr quint16 Last = 32767;
    const auto start =
        static_cast<quint16>(First + QRandomGenerator::global()->bounded(Last - First));
    for (quint16 port = start; port <= Last; ++port) {
        if (listen(port))
            return true;
    }
    for (quint16 port = First; port < start; ++port) {
        if (listen(port))
            return true;
    }
    return false;
}

void SampleServer::refuse() {
    server_.close();
}

void SampleServer::accept(QTcpServer& server) {
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto* received = new QByteArray;
        connect(socket, &QObject::destroyed, socket, [received] { delete received; });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, received] {
            if (received->contains("\r\n\r\n"))
                return; // one request per connection; the rest is ignored
            *received += socket->readAll();
            if (received->size() > MaxRequestHead) {
                socket->abort();
                return;
            }
            if (received->contains("\r\n\r\n"))
                answer(socket, *received);
        });
    }
}

void SampleServer::answer(QTcpSocket* socket, const QByteArray& request) {
    const QByteArray requestLine = request.left(request.indexOf("\r\n"));
    requestLines_.append(requestLine);
    emit requestSeen(requestLine);

    const QByteArrayList words = requestLine.split(' ');
    const QByteArray target = words.size() >= 2 ? words.at(1) : QByteArray();
    if (words.constFirst() == "CONNECT") {
        tunnel(socket, target);
        return;
    }
    // Over TLS the page is served as it is: the redirect is the plain port's.
    Config config = config_;
    if (socket->inherits("QSslSocket") && config.fault == Fault::RedirectToTls)
        config.fault = Fault::None;
    QList<QByteArray> parts = respond(config, target, headerValue(request, "host"));
    if (parts.isEmpty())
        return; // a stall: the connection stays open and silent
    const bool cut = config.fault == Fault::CloseMidBody && servesPage(target);
    QTimer::singleShot(config_.delayMs, socket, [socket, parts = std::move(parts), cut] {
        for (const QByteArray& part : parts)
            socket->write(part);
        if (cut) {
            socket->flush();
            socket->abort();
        } else {
            socket->disconnectFromHost();
        }
    });
}

// A proxy's tunnel for HTTPS, to this machine only: the bytes go both ways unread.
void SampleServer::tunnel(QTcpSocket* socket, const QByteArray& target) {
    const qsizetype colon = target.lastIndexOf(':');
    if (colon < 0 || target.left(colon) != "127.0.0.1") {
        socket->write("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    auto* upstream = new QTcpSocket(socket);
    connect(upstream, &QTcpSocket::connected, socket,
            [socket] { socket->write("HTTP/1.1 200 Connection established\r\n\r\n"); });
    connect(upstream, &QTcpSocket::readyRead, socket,
            [socket, upstream] { socket->write(upstream->readAll()); });
    connect(socket, &QTcpSocket::readyRead, upstream,
            [socket, upstream] { upstream->write(socket->readAll()); });
    connect(upstream, &QTcpSocket::disconnected, socket, &QTcpSocket::disconnectFromHost);
    connect(upstream, &QTcpSocket::errorOccurred, socket, &QTcpSocket::disconnectFromHost);
    connect(socket, &QTcpSocket::disconnected, upstream, &QTcpSocket::disconnectFromHost);
    upstream->connectToHost(QHostAddress::LocalHost, target.mid(colon + 1).toUShort());
}

} // namespace sampleserver
