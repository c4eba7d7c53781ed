#include "rates/printinfo.h"

#include "rates/numread.h"
#include "rates/usdcaption.h"

namespace rates {

namespace {

constexpr int FirstRateCell = 39;
constexpr int RateRows = 28;
constexpr int RateCols = 6;
constexpr int DateCell = 18;
constexpr int UsdRow = 26;
constexpr int CodeCol = 1;
constexpr int UsdCol = 3; // "Лева (BGN)"

// Row 26 is where the page has the dollar. A page that gained or lost a row above it puts
// another currency there: then the row whose code is USD is read instead, if there is one.
int usdRow(const platform::Grid& FG) {
    const auto isUsd = [&](int row) {
        return FG.TextMatrix(row, CodeCol).trimmed() == QLatin1String("USD");
    };
    if (isUsd(UsdRow))
        return UsdRow;
    for (int row = 1; row <= RateRows; ++row) {
        if (isUsd(row))
            return row;
    }
    return UsdRow;
}

} // namespace

void printinfo(const Cells& cells, platform::Grid& FG, platform::Caption& lblDate2,
               platform::Caption& lblUSD) {
    int cursor = FirstRateCell - 1;
    for (int row = 1; row <= RateRows; ++row) {
        for (int col = 0; col < RateCols; ++col) {
            ++cursor;
            FG.setTextMatrix(row, col, cells.at(cursor));
        }
    }
    lblDate2.setCaption(cells.at(DateCell));
    lblUSD.setCaption(usdCaption(readNumber(FG.TextMatrix(usdRow(FG), UsdCol))));
}

} // namespace rates
