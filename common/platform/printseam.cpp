#include "common/platform/printseam.h"

namespace dz::ui::seam {

namespace {
struct PrintSeam {
    std::function<std::shared_ptr<PrintSurface>()> factory;
    std::vector<std::shared_ptr<RecordingSurface>> jobs;
};
PrintSeam& printSeam() {
    static PrintSeam s;
    return s;
}
}  // namespace

void setPrintJobFactory(std::function<std::shared_ptr<PrintSurface>()> factory) {
    printSeam().factory = std::move(factory);
}
const std::vector<std::shared_ptr<RecordingSurface>>& printJobs() { return printSeam().jobs; }
void resetPrintJobs() {
    printSeam().factory = nullptr;
    printSeam().jobs.clear();
}
std::shared_ptr<PrintSurface> printJob() {
    if (printSeam().factory) return printSeam().factory();
    auto job = std::make_shared<RecordingSurface>();
    printSeam().jobs.push_back(job);
    return job;
}

}  // namespace dz::ui::seam
