#pragma once

#include <QString>
#include <array>

namespace rates {

// The page's text runs in page order, one per cell; runs past the last cell are dropped.
inline constexpr int CellCount = 301;
using Cells = std::array<QString, CellCount>;

} // namespace rates
