#pragma once

#include "app/frmMain.h"
#include "rates/address.h"
#include "scratch.h"
#include "standins.h"
#include "tools/sampleserver/sampleserver.h"

// options.opt naming `proxy` (which must listen where the file's port can say).
inline QByteArray proxyOptions(const sampleserver::SampleServer& proxy, bool refreshOnStart) {
    return QStringLiteral("1\r\n%1\r\n%2\r\n\"127.0.0.1\"\r\n")
        .arg(refreshOnStart ? 1 : 0)
        .arg(proxy.port())
        .toLatin1();
}

// The program started in a scratch folder (holding `file` as options.opt unless it is empty),
// its toolkit and browser stood in for.
struct Program {
    explicit Program(const QByteArray& file = {}) {
        if (!file.isEmpty())
            ScratchDir::write(file);
        window.Form_Load();
    }
    // The transfer's own address, pointed at `server` as the bank's origin.
    void fetchFrom(const sampleserver::SampleServer& server) {
        window.Inet1().setURL(
            QStringLiteral("http://127.0.0.1:%1%2").arg(server.port()).arg(rates::RatePath));
    }

    ScratchDir dir;
    FakeToolkit toolkit;
    CountingShell shell;
    app::frmMain window{toolkit, shell};
};
