// The shared number reading: any text, and numbers written out and read back.
#include "rates/numread.h"
#include "rates/usdcaption.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double value = rates::readNumber(text);
    if (std::isnan(value))
        __builtin_trap();
    static_cast<void>(rates::usdCaption(value));

    // Any finite double written in full precision reads back exactly.
    if (size >= sizeof(double)) {
        double original = 0;
        std::memcpy(&original, data, sizeof original);
        if (std::isfinite(original)) {
            const QString written = QString::number(original, 'g', 17);
            if (rates::readNumber(written) != original)
                __builtin_trap();
        }
    }
    return 0;
}
