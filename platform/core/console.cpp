#include "platform/core/console.h"

#include <QtGlobal> // defines Q_OS_WIN: without it the Windows branches would vanish unseen

#ifdef Q_OS_WIN
#include <io.h>
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

bool printText(std::FILE* stream, const QString& text) {
    std::fflush(stream);
#ifdef Q_OS_WIN
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        DWORD written = 0;
        return WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(text.utf16()),
                             static_cast<DWORD>(text.size()), &written, nullptr) != 0;
    }
#endif
    std::fputs(text.toLocal8Bit().constData(), stream);
    return std::fflush(stream) == 0 && std::ferror(stream) == 0;
}

} // namespace platform
