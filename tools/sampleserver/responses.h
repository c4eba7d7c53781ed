#pragma once

#include <QByteArray>
#include <QList>

namespace sampleserver {

enum class Fault {
    None,          // 200 with the page
    Empty,         // 200 with an empty body
    Status,        // the chosen status with a small HTML body
    Stall,         // reads the request, then sends nothing
    CloseMidBody,  // announces the whole page, sends half, closes
    Chunked,       // the page in chunked transfer encoding
    Http10,        // HTTP/1.0 answer without Content-Length, ended by closing
    RedirectLoop,  // 302 back to the same address, for ever
    RedirectToTls, // 301 to the same path over HTTPS on the TLS port, which serves the page
};

struct Config {
    QByteArray page;
    QByteArray contentType = "text/html; charset=windows-1251";
    Fault fault = Fault::None;
    int status = 404;
    int delayMs = 0;
    quint16 tlsPort = 0;  // where RedirectToTls sends the page (SampleServer::listenTls)
    QByteArray tlsHost{}; // the host RedirectToTls names; empty: the one the request named
};

// The bytes of the answer to one request; `target` is the request's address as sent
// (origin-form or absolute-form). Returns the parts to write, in order; for CloseMidBody the
// connection is closed after the last part.
QList<QByteArray> respond(const Config& config, const QByteArray& target, const QByteArray& host);

bool servesPage(const QByteArray& target);

} // namespace sampleserver
