#pragma once

#include "rates/cells.h"

#include <QStringView>

namespace rates {

// Strips the mark-up: every run of text between two tags becomes one cell, unchanged and in
// page order. A ">" closes a run only when the run holds something, so adjacent tags use no
// cell. A page of any length is read; runs beyond the last cell are ignored.
void parsepage(QStringView pagetext, Cells& cells);

} // namespace rates
