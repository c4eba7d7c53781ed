// Page bytes through decoding, the split into text runs and the display into a grid stand-in.
#include "rates/decodepage.h"
#include "rates/parsepage.h"
#include "rates/printinfo.h"
#include "standins.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the Content-Type the page arrives with.
    static const QByteArray types[] = {"", "text/html", "text/html; charset=windows-1251",
                                       "text/html; charset=utf-8", "text/html; charset=\"x-junk\""};
    const QByteArray& type = types[data[0] % std::size(types)];
    const QByteArray body(reinterpret_cast<const char*>(data + 1),
                          static_cast<qsizetype>(size - 1));

    const QString text = rates::decodepage(body, type);
    rates::Cells cells;
    rates::parsepage(text, cells);
    for (const QString& cell : cells) {
        if (cell.contains(u'<') || cell.contains(u'>'))
            __builtin_trap(); // mark-up must never reach a cell
    }
    FakeGrid grid;
    FakeCaption date;
    FakeCaption usd;
    rates::printinfo(cells, grid, date, usd);
    if (!usd.caption.endsWith(QStringLiteral(" ЛВ")))
        __builtin_trap();
    return 0;
}
