#include "platform/core/inet.h"

#include "platform/core/proxytext.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <kursove/version.h>

namespace platform {

namespace {

constexpr int MaxRedirects = 5;

bool isSuccess(const QNetworkReply& reply) {
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply.error() == QNetworkReply::NoError && status >= 200 && status < 300;
}

} // namespace

Inet::Inet(QString url) : url_(std::move(url)) {}

Inet::~Inet() = default;

Inet::Result Inet::OpenURL() {
    // Always an explicit proxy setting: otherwise Qt would honour http_proxy from the
    // environment, and "direct" would not be direct.
    QNetworkProxy proxy(QNetworkProxy::NoProxy);
    if (accessType_ == Access::NamedProxy) {
        const auto target = splitProxy(proxy_);
        if (!target)
            return {};
        proxy = QNetworkProxy(QNetworkProxy::HttpProxy, target->host, target->port);
    }
    if (!manager_)
        manager_ = std::make_unique<QNetworkAccessManager>();
    manager_->setProxy(proxy);

    QNetworkRequest request{QUrl(url_)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QByteArrayLiteral("Kursove/") + kursove::Version);

    std::unique_ptr<QNetworkReply> reply(manager_->get(request));
    bool tooLarge = false;
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, reply.get(),
                     [&](qint64 received, qint64 total) {
                         if (received > MaxBody || total > MaxBody) {
                             tooLarge = true;
                             reply->abort();
                         }
                     });
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply.get(), &QNetworkReply::abort);
    deadline.start(timeout_);

    // Every event is handled meanwhile, input included: deferring input only replays it once
    // the transfer ends (and on Windows would hold back Alt+F4's close until then). What the
    // input may do is the caller's to decide; the main window drops it.
    if (!reply->isFinished())
        loop.exec();

    if (!reply->isFinished()) {
        reply->abort();
        return {Outcome::Interrupted, {}, {}};
    }
    if (tooLarge || !isSuccess(*reply))
        return {};
    QByteArray body = reply->readAll();
    if (body.size() > MaxBody)
        return {};
    return {Outcome::Ok, std::move(body), reply->rawHeader("Content-Type")};
}

} // namespace platform
