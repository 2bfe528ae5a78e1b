// Synthetic draw histories in the exact record layout, for the sample file, tests and benchmarks.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace dz {

struct SynthOptions {
    uint64_t seed = 20100101;
    int year = 2010, month = 1, day = 1;  // date of the first draw
    int drawsPerDay = 264;
};

// count records, uniform random draws (8 distinct ascending numbers of 1..20, extra number 1..4),
// keys running from the start date, lines ended by CR LF.
std::string synthDrawHistory(size_t count, const SynthOptions& options = {});

// One record line (no line end) from its parts.
std::string drawRecordLine(int year, int month, int day, int drawNo, const int numbers[8], int extra);
// The draws of one day numbered from 1, extra number 1, lines ended by CR LF.
std::string dayRecords(int year, int month, int day, const std::vector<std::array<int, 8>>& draws);

}  // namespace dz
