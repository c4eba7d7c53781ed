#pragma once

// The one place that names the bank's host: the transfer fetches from it and the About
// window's notice names it.
namespace rates {

inline constexpr char BankHost[] = "www.zvt.bg";
inline constexpr char RatePath[] = "/zvt/rates.nsf/vWebRatesByMonthBG/$First";
inline constexpr char RateAddress[] = "http://www.zvt.bg/zvt/rates.nsf/vWebRatesByMonthBG/$First";

} // namespace rates
