// What a fuzz target does with a broken property: names it and aborts, so that libFuzzer keeps the
// input that broke it.
#pragma once
#include <cstdio>
#include <cstdlib>

namespace dz::fuzz {

[[noreturn]] inline void fault(const char* target, const char* what) {
    std::fprintf(stderr, "%s fault: %s\n", target, what);
    std::abort();
}

}  // namespace dz::fuzz
