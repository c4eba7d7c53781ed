#include "platform/core/console.h"

#ifdef Q_OS_WIN
#include <cstdio>
#include <windows.h>
#endif

namespace platform {

void useParentConsole() {
#ifdef Q_OS_WIN
    const auto leadsNowhere = [](DWORD stream) {
        const HANDLE handle = GetStdHandle(stream);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    };
    if (!leadsNowhere(STD_OUTPUT_HANDLE) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return; // piped or redirected already, or started from Explorer
    std::FILE* ignored = nullptr;
    freopen_s(&ignored, "CONOUT$", "w", stdout);
    if (leadsNowhere(STD_ERROR_HANDLE))
        freopen_s(&ignored, "CONOUT$", "w", stderr);
#endif
}

} // namespace platform
