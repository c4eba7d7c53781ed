#include "platform/core/windowsystemstart.h"

#include "platform/core/console.h"

#include <QCoreApplication>
#include <QList>
#include <cstdlib>
#include <utility>

namespace platform {

namespace {

constexpr int NoWindowSystem = 1;

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler passOn = nullptr;
QList<HeldMessage> held;

void holdOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        held.append({type, context.category, text});
        return;
    }
    static_cast<void>(
        printText(stderr, QCoreApplication::applicationName() +
                              QStringLiteral(": прозорецът не може да се покаже: няма дисплей или "
                                             "приставка на Qt за прозоречната система.\n")));
    std::_Exit(NoWindowSystem); // Qt would abort once this returns
}

} // namespace

WindowSystemStart::WindowSystemStart() {
    passOn = qInstallMessageHandler(holdOrEnd);
}

WindowSystemStart::~WindowSystemStart() {
    qInstallMessageHandler(passOn);
    for (const HeldMessage& message : std::exchange(held, {})) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        passOn(message.type, context, message.text);
    }
}

} // namespace platform
