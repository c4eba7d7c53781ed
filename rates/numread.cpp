#include "rates/numread.h"

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

namespace rates {

namespace {

bool isSkipped(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isSign(QChar c) {
    return c == u'+' || c == u'-';
}

// Where the reader stands in "sign digits . digits E sign digits".
enum class At { Start, Mantissa, ExponentMark, ExponentSign, ExponentDigits };

} // namespace

double readNumber(QStringView text) {
    // Gather the number's characters without the skipped blanks, then let the standard
    // library convert them: it rounds correctly and ignores the locale.
    std::string mantissa;
    std::string exponent;
    bool negative = false;
    bool exponentNegative = false;
    bool pointSeen = false;
    bool mantissaDigits = false;
    At at = At::Start;

    for (const QChar c : text) {
        if (isSkipped(c))
            continue;
        const bool inMantissa = at == At::Start || at == At::Mantissa;
        if (at == At::Start && isSign(c)) {
            negative = c == u'-';
            at = At::Mantissa;
        } else if (inMantissa && isDigit(c)) {
            mantissa.push_back(static_cast<char>(c.unicode()));
            mantissaDigits = true;
            at = At::Mantissa;
        } else if (inMantissa && c == u'.' && !pointSeen) {
            mantissa.push_back('.');
            pointSeen = true;
            at = At::Mantissa;
        } else if (inMantissa && mantissaDigits && (c == u'e' || c == u'E')) {
            at = At::ExponentMark;
        } else if (at == At::ExponentMark && isSign(c)) {
            exponentNegative = c == u'-';
            at = At::ExponentSign;
        } else if (at != At::Start && at != At::Mantissa && isDigit(c)) {
            exponent.push_back(static_cast<char>(c.unicode()));
            at = At::ExponentDigits;
        } else {
            break;
        }
    }
    if (!mantissaDigits)
        return 0.0;
    // An exponent mark without digits ("1E", "1E-") is not part of the number.
    std::string number = mantissa;
    if (!exponent.empty())
        number += (exponentNegative ? "e-" : "e") + exponent;

    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = exponentNegative ? 0.0 : std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

} // namespace rates
