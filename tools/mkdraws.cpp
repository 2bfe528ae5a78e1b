// Writes a synthetic draw history: mkdraws FILE [COUNT] [SEED]. The draws are uniform random, not real.
#include "common/core/synth.h"
#include "common/core/textfile.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mkdraws FILE [COUNT] [SEED]\n");
        return 2;
    }
    const long long count = argc > 2 ? std::strtoll(argv[2], nullptr, 10) : 100000;
    if (count < 0 || count > 100'000'000) {
        std::fprintf(stderr, "mkdraws: COUNT must be 0..100000000\n");
        return 2;
    }
    dz::SynthOptions o;
    if (argc > 3) o.seed = std::strtoull(argv[3], nullptr, 10);
    if (!dz::writeBytes(QString::fromLocal8Bit(argv[1]), dz::synthDrawHistory(static_cast<size_t>(count), o))) {
        std::fprintf(stderr, "mkdraws: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
