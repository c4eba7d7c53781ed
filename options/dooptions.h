#pragma once

#include "options/mainhost.h"
#include "options/options.h"
#include "platform/core/toolkit.h"

namespace options {

// Makes the record take effect: direct or named-proxy access on the transfer, and, only while
// the main window is loading, the refresh at start. Only the exact values 1 and 0 act.
void DoOptions(const Options& opt, MainHost& main, platform::Toolkit& toolkit);

// "host:port" as the transfer takes it; the host unchanged, even when empty.
QString proxyText(const Options& opt);

} // namespace options
