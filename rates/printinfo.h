#pragma once

#include "platform/core/caption.h"
#include "platform/core/grid.h"
#include "rates/cells.h"

namespace rates {

// Cells 39..206 fill grid rows 1..28 row by row, cell 18 is the date, and the US dollar rate is
// read back from column 3 of grid row 26, or of the row whose code is USD when row 26 holds
// another currency.
void printinfo(const Cells& cells, platform::Grid& FG, platform::Caption& lblDate2,
               platform::Caption& lblUSD);

} // namespace rates
