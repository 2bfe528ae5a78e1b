// The seam through which tests record print jobs. It lives apart from the printer
// (platform/printsurface.h), so that only the program that prints links the print system.
#pragma once
#include "common/core/printsurface.h"

#include <functional>
#include <memory>
#include <vector>

namespace dz::ui::seam {
// While the dialog seam is on, print jobs are recorded (each one a new RecordingSurface, kept
// here) unless a factory is set; a factory returning nullptr stands for "no printer".
void setPrintJobFactory(std::function<std::shared_ptr<PrintSurface>()> factory);
const std::vector<std::shared_ptr<RecordingSurface>>& printJobs();
void resetPrintJobs();  // clears the jobs and the factory
// The job a print gets while the seam is on: the factory's, or a new recorded one.
std::shared_ptr<PrintSurface> printJob();
}  // namespace dz::ui::seam
