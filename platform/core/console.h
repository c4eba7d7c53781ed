#pragma once

namespace platform {

// Lets a program that has no console of its own (a Windows GUI program started from a command
// prompt) print its answers to --help and --version there: its standard output and error go
// to the console of the process that started it, if there is one and they lead nowhere yet.
// Elsewhere (Linux, or output already piped) it changes nothing.
void useParentConsole();

} // namespace platform
