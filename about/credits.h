#pragma once

// The maintainer's details, kept together so they are changed in one place.
namespace about {

inline constexpr char Author[] = "Kursove";
inline constexpr char WebAddress[] = "https://kursove.example.org";
inline constexpr char WebAddressShown[] = "kursove.example.org";
inline constexpr char Thanks[] =
    "the testers, the translators, the packagers, the reviewers, the bug reporters, "
    "the documentation writers";

} // namespace about
