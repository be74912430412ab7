// What a fuzzer does when a property fails: says which one and aborts, so libFuzzer keeps the
// input as a crash artifact.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void require(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", property);
        std::abort();
    }
}
