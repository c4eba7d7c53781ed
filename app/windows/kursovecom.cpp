// kursove.com: the console companion of kursove.exe. A command prompt runs it in place of the
// exe when "kursove" is typed (.com comes before .exe), and unlike the windowed exe it is
// waited for: it starts kursove.exe beside it with the same arguments and standard handles,
// waits for it and returns its exit status. Plain Win32, linked statically: nothing of Qt.
#include <cwchar>
#include <string>
#include <windows.h>

namespace {

// The arguments as typed, after the program's own name (quoted or not), with their blank.
const wchar_t* argumentsOf(const wchar_t* line) {
    if (*line == L'"') {
        const wchar_t* end = std::wcschr(line + 1, L'"');
        return end != nullptr ? end + 1 : line + std::wcslen(line);
    }
    while (*line != L'\0' && *line != L' ' && *line != L'\t')
        ++line;
    return line;
}

void complain(const wchar_t* text) {
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(err, &mode)) {
        WriteConsoleW(err, text, static_cast<DWORD>(std::wcslen(text)), &written, nullptr);
        return;
    }
    char bytes[512];
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
    if (size > 1)
        WriteFile(err, bytes, static_cast<DWORD>(size - 1), &written, nullptr);
}

} // namespace

int main() {
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
        if (size == 0) {
            complain(L"kursove: не намирам собствената си папка.\r\n");
            return 1;
        }
        if (size < exe.size()) {
            exe.resize(size);
            break;
        }
        exe.resize(exe.size() * 2);
    }
    exe.replace(exe.find_last_of(L'.'), std::wstring::npos, L".exe");

    std::wstring line = L'"' + exe + L'"' + argumentsOf(GetCommandLineW());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        complain(L"kursove: kursove.exe не може да се стартира.\r\n");
        return 1;
    }
    CloseHandle(process.hThread);
    // Ctrl+C at the prompt leaves the window to its person; this one just stops waiting.
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}
