// The first line of the encodings section of bench/results.md: a run of that section alone
// rewrites the file from there on, and the Find next section goes in ahead of it.
#pragma once

namespace bench {

inline constexpr char encodingSectionTitle[] =
    "Encodings: 100 MB of UTF-8 against the same lines as 8-bit text, and Cyrillic and CJK text "
    "(bench/bench_encodings.cpp):";

} // namespace bench
