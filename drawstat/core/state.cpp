#include "state.h"

#include "core/folder.h"

namespace drawstat {

QString ProgramState::drawFilePath() const { return dz::programFile(files.drawFile); }

ProgramState& state() {
    static ProgramState s;
    return s;
}

void resetState(const FileSet& files) {
    ProgramState& s = state();
    s = ProgramState{};
    s.files = files;
    s.exporter = dz::ListExporter(files.listFileExt, files.listMessageExt);
}

}  // namespace drawstat
