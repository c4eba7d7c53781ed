#include "rates/usdcaption.h"

#include <cmath>

namespace rates {

namespace {

constexpr double Scale = 1000.0; // 3 decimals
constexpr int SignificantDigits = 15;

} // namespace

QString usdCaption(double rate) {
    // nearbyint rounds in the default mode, which sends ties to the even neighbour.
    double rounded = std::nearbyint(rate * Scale) / Scale;
    // A number too large to read is no rate: show it like text that holds no number.
    if (!std::isfinite(rounded) || rounded == 0.0)
        rounded = 0.0;
    QString digits = QString::number(rounded, 'g', SignificantDigits).toUpper();
    if (rounded >= 0.0)
        digits.prepend(u' ');
    return digits + QStringLiteral(" ЛВ");
}

} // namespace rates
