#pragma once

namespace platform {

// Guards the start of the application object. Where no window system can be had (no display,
// or no platform plugin that loads) Qt ends the process with an English text and an abort,
// core dump and all; while this lives it ends instead with one line in Bulgarian on standard
// error and status 1. What Qt says meanwhile is held back, and passed on once the start has
// gone well.
class WindowSystemStart {
public:
    WindowSystemStart();
    ~WindowSystemStart();
    WindowSystemStart(const WindowSystemStart&) = delete;
    WindowSystemStart& operator=(const WindowSystemStart&) = delete;
};

} // namespace platform
