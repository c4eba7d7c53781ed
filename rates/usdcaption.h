#pragma once

#include <QString>

namespace rates {

// The US dollar label: the rate rounded to 3 decimals (ties to even), written with a leading
// space when not negative, "." as the point, no trailing zeros, then " ЛВ".
QString usdCaption(double rate);

} // namespace rates
