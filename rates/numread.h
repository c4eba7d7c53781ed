#pragma once

#include <QStringView>

namespace rates {

// Reads the number a text begins with: spaces, tabs, CR and LF are skipped wherever they
// stand; then an optional sign, digits with at most one "." and an optional exponent
// (E or e, optional sign, digits). Reading stops at the first character that cannot continue
// the number; no number at all gives 0. Only "." is a decimal point, whatever the locale.
// A value too large for a double gives an infinity of its sign.
double readNumber(QStringView text);

} // namespace rates
