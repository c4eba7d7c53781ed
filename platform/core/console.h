#pragma once

#include <QString>
#include <cstdio>

namespace platform {

// Lets a program that has no console of its own (a Windows GUI program started from a command
// prompt) print its answers to --help and --version there: its standard output and error go
// to the console of the process that started it, if there is one and they lead nowhere yet.
// Elsewhere (Linux, or output already piped) it changes nothing.
void useParentConsole();

// Writes the text to the stream so that it reads right where it lands: a Windows console is
// given the characters themselves (its code page is the OEM one, not the program's), a file
// or pipe UTF-8 on Windows (a new file with a byte order mark), the system's encoding elsewhere.
// False when it could not all be written (a full disk).
[[nodiscard]] bool printText(std::FILE* stream, const QString& text);

} // namespace platform
