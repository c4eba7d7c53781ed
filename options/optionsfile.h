#pragma once

#include "options/options.h"

#include <QByteArray>

namespace options {

inline constexpr char OptionsFileName[] = "options.opt";

// Four CR LF lines: proxy flag, refresh flag, port, quoted host (system code page).
QByteArray formatOptions(const Options& opt);

// Reads what it can; a field whose line is missing or unreadable keeps its default.
Options parseOptions(const QByteArray& bytes);

// Fills the record from options.opt in the working directory, or writes the default file
// when there is none. A directory of that name is not the file: the defaults are used.
void LoadOpt(Options& opt);

// Replaces options.opt in one step; on failure the old file stays as it was.
bool SaveOpt(const Options& opt);

} // namespace options
