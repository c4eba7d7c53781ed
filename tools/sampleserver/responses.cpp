#include "tools/sampleserver/responses.h"

#include "rates/address.h"

namespace sampleserver {

namespace {

using rates::RatePath;

QByteArray reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

QByteArray head(const QByteArray& version, int status, const QList<QByteArray>& fields) {
    QByteArray bytes = version + ' ' + QByteArray::number(status) + ' ' + reason(status) + "\r\n";
    for (const QByteArray& field : fields)
        bytes += field + "\r\n";
    return bytes + "\r\n";
}

QByteArray whole(int status, const QByteArray& type, const QByteArray& body) {
    return head("HTTP/1.1", status,
                {"Content-Type: " + type, "Content-Length: " + QByteArray::number(body.size()),
                 "Connection: close"}) +
           body;
}

QByteArray chunked(const QByteArray& type, const QByteArray& body) {
    constexpr qsizetype ChunkSize = 1000;
    QByteArray bytes =
        head("HTTP/1.1", 200,
             {"Content-Type: " + type, "Transfer-Encoding: chunked", "Connection: close"});
    for (qsizetype at = 0; at < body.size(); at += ChunkSize) {
        const QByteArray part = body.mid(at, ChunkSize);
        bytes += QByteArray::number(part.size(), 16) + "\r\n" + part + "\r\n";
    }
    return bytes + "0\r\n\r\n";
}

} // namespace

bool servesPage(const QByteArray& target) {
    // The path alone, or the absolute address a proxy receives.
    if (target == RatePath)
        return true;
    if (!target.startsWith("http://"))
        return false;
    const qsizetype pathStart = target.indexOf('/', 7);
    return pathStart > 0 && target.mid(pathStart) == RatePath;
}

QList<QByteArray> respond(const Config& config, const QByteArray& target, const QByteArray& host) {
    if (!servesPage(target)) {
        return {whole(404, "text/html; charset=utf-8",
                      "<html><body><h1>404</h1><p>Няма такава страница.</p></body></html>")};
    }
    switch (config.fault) {
    case Fault::None:
        return {whole(200, config.contentType, config.page)};
    case Fault::Empty:
        return {whole(200, config.contentType, {})};
    case Fault::Status:
        return {whole(config.status, "text/html; charset=utf-8",
                      "<html><body><h1>Грешка " + QByteArray::number(config.status) +
                          "</h1><table><tr><td>не е курс</td></tr></table></body></html>")};
    case Fault::Stall:
        return {};
    case Fault::CloseMidBody: {
        const QByteArray full = whole(200, config.contentType, config.page);
        return {full.left(full.size() - config.page.size() / 2)};
    }
    case Fault::Chunked:
        return {chunked(config.contentType, config.page)};
    case Fault::Http10:
        return {head("HTTP/1.0", 200, {"Content-Type: " + config.contentType}) + config.page};
    case Fault::RedirectToTls: {
        const QByteArray authority =
            target.startsWith("http://") ? target.mid(7, target.indexOf('/', 7) - 7) : host;
        const qsizetype colon = authority.lastIndexOf(':');
        const QByteArray hostName = !config.tlsHost.isEmpty() ? config.tlsHost
                                    : colon > 0               ? authority.left(colon)
                                                              : authority;
        return {head(
            "HTTP/1.1", 301,
            {"Location: https://" + hostName + ':' + QByteArray::number(config.tlsPort) + RatePath,
             "Content-Length: 0", "Connection: close"})};
    }
    case Fault::RedirectLoop: {
        const QByteArray address =
            target.startsWith("http://") ? target : "http://" + host + target;
        return {head("HTTP/1.1", 302,
                     {"Location: " + address, "Content-Length: 0", "Connection: close"})};
    }
    }
    return {};
}

} // namespace sampleserver
