#pragma once

// The maintainer's details, kept together so they are changed in one place.
namespace about {

inline constexpr char Author[] = "Kursove";
inline constexpr char WebAddress[] = "https://kursove.example.org";
inline constexpr char WebAddressShown[] = "kursove.example.org";
inline constexpr char Thanks[] =
    "testers, translators, packagers, reviewers, bug reporters, designers";

} // namespace about
