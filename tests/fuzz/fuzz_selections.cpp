// libFuzzer target over the selection files a user can edit: keygen's "jeloles1.txt" and
// keygengroup's grouped "jeloles2.txt". Any broken property aborts the run.
#include "tests/fuzz/fuzzfault.h"
#include "tests/fuzz/scratch.h"
#include "common/core/textfile.h"
#include "keygen/core/groups.h"
#include "keygen/core/selectionfile.h"

#include <QString>
#include <string>

namespace {
[[noreturn]] void fault(const char* what) { dz::fuzz::fault("selection reader", what); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const QString path = dz::fuzz::scratchFile("selection.txt");
    // A plain write (no replace-by-rename): the fuzzer runs thousands of inputs a second.
    {
        std::FILE* f = std::fopen(path.toLocal8Bit().constData(), "wb");
        if (!f) return 0;
        const bool ok = std::fwrite(data, 1, size, f) == size;
        if (std::fclose(f) != 0 || !ok) return 0;
    }

    const dz::keygen::SelectionLoad s = dz::keygen::readSelection(path);
    if (s.status == dz::keygen::SelectionStatus::Unopenable) fault("could not open the file");
    if (s.mask & ~0x1FFFFEu) fault("chosen number outside 1..20");
    if (s.status != dz::keygen::SelectionStatus::Loaded && s.mask) fault("numbers from a file without the marker");

    dz::keygen::GroupChoice c;
    const dz::keygen::LoadOutcome o = dz::keygen::loadGroupedSelectionBytes(bytes, c);
    if (c.current < 1 || c.current > dz::keygen::kGroups) fault("current group outside 1..10");
    for (int n = 1; n <= 20; ++n)
        if (c.groupOf[size_t(n)] < 0 || c.groupOf[size_t(n)] > dz::keygen::kGroups) fault("group outside 0..10");
    for (int g = 1; g <= dz::keygen::kGroups; ++g)
        for (const QString* t : {&c.minText[size_t(g)], &c.maxText[size_t(g)], &c.memberText[size_t(g)]})
            if (size_t(t->size()) > dz::kLineTextLimit) fault("a group text longer than the cap");
    (void)o;
    return 0;
}
