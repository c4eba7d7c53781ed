#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

// The one place that names the bank's host: the transfer fetches from it and the About
// window's notice names it.
namespace rates {

inline constexpr char BankHost[] = "www.zvt.bg";
inline constexpr char RatePath[] = "/zvt/rates.nsf/vWebRatesByMonthBG/$First";

namespace detail {

// The parts one after another, with one terminating NUL, made while compiling.
template <std::size_t... Sizes> constexpr auto joined(const char (&... parts)[Sizes]) {
    std::array<char, (Sizes + ...) - sizeof...(Sizes) + 1> whole{};
    auto end = whole.begin();
    ((end = std::copy_n(std::begin(parts), Sizes - 1, end)), ...);
    return whole;
}

inline constexpr auto RateAddressText = joined("http://", BankHost, RatePath);

} // namespace detail

inline constexpr const char* RateAddress = detail::RateAddressText.data();

} // namespace rates
