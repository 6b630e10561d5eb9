#pragma once

#include <cstdlib>

namespace orvane::fuzz {

// A broken invariant is a finding: stop so that libFuzzer keeps the input.
inline void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace orvane::fuzz
