// The options file reader on any bytes: it must not fail, and what it writes back must read
// back, whole, as the same options.
#include "options/optionsfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const options::Options read = options::parseOptions(bytes).options;
    const options::Reading again = options::parseOptions(options::formatOptions(read));
    if (!(again.options == read) || !again.whole)
        __builtin_trap();
    return 0;
}
