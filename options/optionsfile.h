#pragma once

#include "options/options.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace options {

inline constexpr char OptionsFileName[] = "options.opt";
// Where bytes the program did not read whole or write itself are kept before it replaces them:
// the first of options.opt.bak, options.opt.2.bak, options.opt.3.bak... that is not there yet.
inline constexpr char BackupFileName[] = "options.opt.bak";
QString backupFileName(int n);

// Four CR LF lines: proxy flag, refresh flag, port, quoted host (system code page).
QByteArray formatOptions(const Options& opt);

struct Reading {
    Options options;
    // Every field was read and nothing else stood in the file: saving loses nothing.
    bool whole = false;
};

// Reads what it can; a field whose line is missing or unreadable keeps its default (a host
// whose bytes are no text in the system's encoding is unreadable). Lines may
// end in CR LF, LF or CR, and a UTF-8 byte order mark before the first is skipped.
Reading parseOptions(const QByteArray& bytes);

// What this run may replace without keeping it first: the bytes of options.opt as it read
// them whole or last wrote them; nothing when it read none whole.
using KnownBytes = std::optional<QByteArray>;

// Fills the record from options.opt in the working directory, or writes the default file
// when there is none. A directory of that name is not the file: the defaults are used.
KnownBytes LoadOpt(Options& opt);

// Replaces options.opt in one step; on failure the old file stays as it was. Bytes found
// there that differ from `known` (a file not read whole, a hand edit made during the run,
// another copy's save) are first kept under the first free backup name; if that cannot be
// written, options.opt is not replaced either. A file that cannot be opened for reading is
// never replaced. Two copies saving at once take turns. False when options.opt now holds
// something other than `opt`.
bool SaveOpt(const Options& opt, KnownBytes& known);

} // namespace options
