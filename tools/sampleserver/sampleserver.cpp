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
    connect(&server_, &QTcpServer::newConnection, this, &SampleServer::accept);
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

void SampleServer::accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
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
    QList<QByteArray> parts = respond(config_, target, headerValue(request, "host"));
    if (parts.isEmpty())
        return; // a stall: the connection stays open and silent
    const bool cut = config_.fault == Fault::CloseMidBody && servesPage(target);
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

} // namespace sampleserver
