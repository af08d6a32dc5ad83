// What a fuzz target does with a property that does not hold: stops, so that libFuzzer keeps the input.
#pragma once

#include <cstdlib>

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}
