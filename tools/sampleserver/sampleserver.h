#pragma once

#include "tools/sampleserver/responses.h"

#include <QByteArrayList>
#include <QObject>
#include <QSslServer>
#include <QTcpServer>

namespace sampleserver {

// Listens on 127.0.0.1 only. Every request line is kept, in order, as received. As a proxy it
// takes absolute addresses and CONNECT tunnels, the latter only to 127.0.0.1.
class SampleServer final : public QObject {
    Q_OBJECT
public:
    explicit SampleServer(Config config, QObject* parent = nullptr);

    bool listen(quint16 port = 0);
    // The options file keeps the port as a signed 16-bit number, so a server that the program
    // is to reach as its proxy must listen at 32767 or below.
    bool listenOnStorablePort();
    // Also serves the page over TLS on a port of its own, with this certificate and key;
    // Fault::RedirectToTls sends the plain port's page requests there.
    bool listenTls(const QSslCertificate& certificate, const QSslKey& key);
    [[nodiscard]] quint16 tlsPort() const { return config_.tlsPort; }
    // Stops listening but keeps the port number: connections to it are then refused.
    void refuse();
    [[nodiscard]] quint16 port() const { return port_; }
    [[nodiscard]] const QByteArrayList& requestLines() const { return requestLines_; }
    Config& config() { return config_; }

signals:
    void requestSeen(const QByteArray& requestLine);

private:
    void accept(QTcpServer& server);
    void answer(QTcpSocket* socket, const QByteArray& request);
    void tunnel(QTcpSocket* socket, const QByteArray& target);

    Config config_;
    QTcpServer server_;
    QSslServer tlsServer_;
    quint16 port_ = 0;
    QByteArrayList requestLines_;
};

} // namespace sampleserver
