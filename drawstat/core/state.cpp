#include "drawstat/core/state.h"

#include "common/core/folder.h"

namespace dz::drawstat {

QString ProgramState::drawFilePath() const { return dz::programFile(files.drawFile); }

ProgramState& state() {
    static ProgramState s;
    return s;
}

void resetState(const Profile& profile) {
    ProgramState& s = state();
    s = ProgramState{};
    static_cast<Profile&>(s) = profile;
    if (!s.subsets) s.subsets = drawstatSubsetProfile;
    // a build whose analyses may run before Start has no draw window start until it is set
    if (!profile.rules.analysesNeedStart) s.windowStart = 0;
    s.exporter = dz::ListExporter(profile.files.listFileExt);
}

}  // namespace dz::drawstat
