#pragma once

#include <QStringList>
#include <optional>

namespace app {

// The command line is read in two steps, each returning the exit status when the program is
// not to start its window:
// - before the toolkit starts (so with no display): --help, --help-all and --version are
//   answered on standard output, and anything that is neither the program's nor one of Qt's
//   own options is refused with one line on standard error;
// - once the toolkit has taken the options it knows itself (-style, -platform, -reverse...),
//   whatever it left is refused the same way.
std::optional<int> checkBeforeToolkit(const QStringList& arguments);
std::optional<int> refuseLeftOver(const QStringList& arguments);

} // namespace app
