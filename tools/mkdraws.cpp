// Writes a synthetic draw history: mkdraws FILE [COUNT] [SEED]. The draws are uniform random, not real.
#include "core/synth.h"
#include "core/textfile.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mkdraws FILE [COUNT] [SEED]\n");
        return 2;
    }
    const size_t count = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 100000;
    dz::SynthOptions o;
    if (argc > 3) o.seed = std::strtoull(argv[3], nullptr, 10);
    if (!dz::writeBytes(QString::fromLocal8Bit(argv[1]), dz::synthDrawHistory(count, o))) {
        std::fprintf(stderr, "mkdraws: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
