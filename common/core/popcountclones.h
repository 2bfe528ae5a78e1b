// A function whose hot loop counts bits is built twice where the compiler can: with the
// processor's popcount instruction and as plain code; the one the processor runs is chosen when
// the program is loaded.
#pragma once

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define DZ_POPCOUNT_CLONES __attribute__((target_clones("popcnt", "default")))
#else
#define DZ_POPCOUNT_CLONES
#endif
