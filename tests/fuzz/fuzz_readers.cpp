// libFuzzer target over the readers of the core: lines, input items, draw records and draw
// files, key rows, numeric values and the code page. Any broken property aborts the run.
#include "readercheck.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string fault = dz::testing::checkReaders(bytes);
    if (!fault.empty()) {
        std::fprintf(stderr, "reader fault: %s\n", fault.c_str());
        std::abort();
    }
    // A single record the way the passes read it, beside the whole-file path.
    const dz::DrawRecord r = dz::parseDrawRecord(dz::firstItem(bytes));
    if (r.mask & ~0x1FFFFEu) std::abort();
    return 0;
}
