#pragma once

#include <QStringList>
#include <optional>

namespace app {

// Answers --help and --version on standard output and refuses what it does not know with one
// line on standard error. Returns the exit status when the program is not to start a window;
// Qt's own window-system options (-style, -platform, ...) are let through to the toolkit.
std::optional<int> answerCommandLine(const QStringList& arguments);

} // namespace app
