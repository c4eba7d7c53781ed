#include "options/dooptions.h"

#include "platform/core/inet.h"

namespace options {

QString proxyText(const Options& opt) {
    return opt.proxyHost + u':' + QString::number(opt.proxyPort);
}

void DoOptions(const Options& opt, MainHost& main, platform::Toolkit& toolkit) {
    if (opt.useProxy == 1) {
        main.Inet1().setAccessType(platform::Inet::Access::NamedProxy);
        main.Inet1().setProxy(proxyText(opt));
    }
    // Switching to direct keeps the proxy text: it has no effect until the proxy is used again.
    if (opt.useProxy == 0)
        main.Inet1().setAccessType(platform::Inet::Access::Direct);

    if (opt.refreshOnStart == 1 && main.Loading()) {
        toolkit.DoEvents();
        main.showMain();
        main.btnRefresh_Click();
    }
}

} // namespace options
