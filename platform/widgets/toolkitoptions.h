#pragma once

#include <QString>
#include <span>

namespace platform {

// An option that Qt's application object takes from the command line itself.
struct ToolkitOption {
    const char* name;      // without its dash
    const char* valueName; // nullptr when it takes no value
    const char* description;
    bool joinedValue = false; // Qt also takes its value after an equals sign (-style=fusion)
};

// Qt's own options, known before the application object exists: so that a wrong option is
// refused without a display, and --help-all can list them. Each is one that QApplication or
// the platform plugin removes from the arguments on this system.
std::span<const ToolkitOption> toolkitOptions();

} // namespace platform
