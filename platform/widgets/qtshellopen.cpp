#include "platform/widgets/qtshellopen.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

void QtShellOpen::open(const QString& address) {
    // Whether a browser opened is deliberately not looked at: nothing is shown either way.
    static_cast<void>(QDesktopServices::openUrl(QUrl(address)));
}

} // namespace platform
