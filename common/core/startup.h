// What every program of the suite does before anything else.
#pragma once

namespace dz {

// A file-size limit (ulimit -f) must make a write fail with its message, not kill the program
// mid-save: the signal it raises is ignored, so the write returns EFBIG instead. Every main()
// calls this on its first line, before any window or file exists.
void ignoreFileSizeSignal();

// Memory a run frees is kept for the next run, not handed back to the system and faulted in
// again page by page: blocks up to 32 MB come from the heap (the runs' results, tables and lists
// are of that size), and a heap is trimmed only past 128 MB free. The peak stays what it was.
void keepFreedMemory();

}  // namespace dz
