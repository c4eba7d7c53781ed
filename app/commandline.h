#pragma once

#include <QStringList>
#include <optional>

namespace app {

// The command line is read in two steps, each returning the exit status when the program is
// not to start its window:
// - before the toolkit starts, --help and --version are answered on standard output, so they
//   need no display;
// - once the toolkit has taken the options it knows itself (-style, -platform, -reverse and
//   whatever else its version takes), what is left is refused with one line on standard error.
std::optional<int> answerHelpOrVersion(const QStringList& arguments);
std::optional<int> refuseLeftOver(const QStringList& arguments);

} // namespace app
