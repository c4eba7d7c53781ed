// The sample rate server: serves a page file as the bank's origin and as an HTTP proxy for
// it, on 127.0.0.1, for a bounded time or number of requests.
#include "tools/sampleserver/sampleserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <map>

using sampleserver::Fault;

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Local HTTP server for the rate page."));
    parser.addHelpOption();
    const QCommandLineOption port(
        {"p", "port"}, "Port on 127.0.0.1 (0: a free one that options.opt can hold).", "n", "0");
    const QCommandLineOption page("page", "File served as the rate page.", "file");
    const QCommandLineOption type("content-type", "Content-Type of the page.", "text",
                                  "text/html; charset=windows-1251");
    const QCommandLineOption fault("fault",
                                   "none, empty, status, stall, cut, chunked, http10, "
                                   "redirect-loop, redirect-tls or refuse.",
                                   "name", "none");
    const QCommandLineOption status("status", "Status for --fault status.", "n", "404");
    const QCommandLineOption delay("delay", "Milliseconds before each answer.", "ms", "0");
    const QCommandLineOption seconds("seconds", "Stop after this many seconds.", "n", "60");
    const QCommandLineOption requests("max-requests",
                                      "Stop after this many requests (0: no limit).", "n", "0");
    const QCommandLineOption log("log", "Also append each request line to this file.", "file");
    const QCommandLineOption tlsCert(
        "tls-cert", "Also serve the page over TLS with this certificate (PEM).", "file");
    const QCommandLineOption tlsKey("tls-key", "The certificate's private key (PEM, RSA).", "file");
    const QCommandLineOption tlsHost("tls-host",
                                     "Host that --fault redirect-tls names (default: the "
                                     "request's own).",
                                     "name");
    parser.addOptions(
        {port, page, type, fault, status, delay, seconds, requests, log, tlsCert, tlsKey, tlsHost});
    parser.process(application);

    const std::map<QString, Fault> faults{{"none", Fault::None},
                                          {"empty", Fault::Empty},
                                          {"status", Fault::Status},
                                          {"stall", Fault::Stall},
                                          {"cut", Fault::CloseMidBody},
                                          {"chunked", Fault::Chunked},
                                          {"http10", Fault::Http10},
                                          {"redirect-loop", Fault::RedirectLoop},
                                          {"redirect-tls", Fault::RedirectToTls},
                                          {"refuse", Fault::None}};
    const auto chosen = faults.find(parser.value(fault));
    if (chosen == faults.end()) {
        std::fprintf(stderr, "unknown fault: %s\n", qPrintable(parser.value(fault)));
        return 2;
    }

    sampleserver::Config config;
    if (parser.isSet(page)) {
        QFile file(parser.value(page));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(parser.value(page)));
            return 2;
        }
        config.page = file.readAll();
    }
    config.contentType = parser.value(type).toUtf8();
    config.fault = chosen->second;
    config.status = parser.value(status).toInt();
    config.delayMs = parser.value(delay).toInt();
    config.tlsHost = parser.value(tlsHost).toLatin1();

    sampleserver::SampleServer server(config);
    const auto wanted = static_cast<quint16>(parser.value(port).toUInt());
    if (!(wanted == 0 ? server.listenOnStorablePort() : server.listen(wanted))) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1:%s\n", qPrintable(parser.value(port)));
        return 1;
    }
    if (parser.value(fault) == QLatin1String("refuse"))
        server.refuse();
    if (parser.isSet(tlsCert)) {
        QFile cert(parser.value(tlsCert));
        QFile key(parser.value(tlsKey));
        if (!cert.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly) ||
            !server.listenTls(QSslCertificate(cert.readAll()), QSslKey(key.readAll(), QSsl::Rsa))) {
            std::fprintf(stderr, "cannot serve TLS with %s\n", qPrintable(parser.value(tlsCert)));
            return 1;
        }
        std::printf("tls on 127.0.0.1:%u\n", server.tlsPort());
    }
    std::printf("listening on 127.0.0.1:%u\n", server.port());
    std::fflush(stdout);

    const int maxRequests = parser.value(requests).toInt();
    QFile logFile(parser.value(log));
    if (parser.isSet(log))
        logFile.open(QIODevice::Append | QIODevice::Text);
    QObject::connect(&server, &sampleserver::SampleServer::requestSeen, &application,
                     [&](const QByteArray& line) {
                         std::printf("%s\n", line.constData());
                         std::fflush(stdout);
                         if (logFile.isOpen()) {
                             logFile.write(line + '\n');
                             logFile.flush();
                         }
                         if (maxRequests > 0 && server.requestLines().size() >= maxRequests)
                             QTimer::singleShot(100, &application, &QCoreApplication::quit);
                     });
    QTimer::singleShot(parser.value(seconds).toInt() * 1000, &application, &QCoreApplication::quit);
    return QCoreApplication::exec();
}
