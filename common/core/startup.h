// What every program of the suite does before anything else.
#pragma once

namespace dz {

// A file-size limit (ulimit -f) must make a write fail with its message, not kill the program
// mid-save: the signal it raises is ignored, so the write returns EFBIG instead. Every main()
// calls this on its first line, before any window or file exists.
void ignoreFileSizeSignal();

}  // namespace dz
