#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <memory>

class QNetworkAccessManager;

namespace platform {

// The program's HTTP transfer: one blocking GET of its own address, directly or through a
// named HTTP proxy. It reports every failure the same way, with no body.
class Inet final {
public:
    static constexpr qint64 MaxBody = qint64{8} * 1024 * 1024; // far above any rate page

    enum class Access { Direct, NamedProxy };
    enum class Outcome { Ok, Failed, Interrupted };
    struct Result {
        Outcome outcome = Outcome::Failed;
        QByteArray body;
        QByteArray contentType;
    };

    explicit Inet(QString url);
    ~Inet();
    Inet(const Inet&) = delete;
    Inet& operator=(const Inet&) = delete;

    void setURL(const QString& url) { url_ = url; }
    [[nodiscard]] Access AccessType() const { return accessType_; }
    void setAccessType(Access type) { accessType_ = type; }
    [[nodiscard]] const QString& Proxy() const { return proxy_; }
    void setProxy(const QString& text) { proxy_ = text; }
    void setRequestTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }

    // Returns when the transfer has ended. Meanwhile a nested event loop handles every event,
    // so windows are painted and can be closed; the caller keeps clicks and keys from acting
    // (InputGate). A success is a 2xx answer with a body within the size cap.
    // Interrupted means the loop was ended from outside (the application is quitting).
    Result OpenURL();

private:
    QString url_;
    Access accessType_ = Access::Direct;
    QString proxy_;
    std::chrono::milliseconds timeout_{60'000};
    std::unique_ptr<QNetworkAccessManager> manager_; // made on first use: start-up stays light
};

} // namespace platform
