// The hit list of "Kezdés" as records: one Hit a listed play, a few bytes each, its line made when
// a view, a copy or assistive technology reads it. "Találat" and "Húzás" sort the records.
#pragma once
#include "keyeval/core/evaluation.h"

#include "common/core/linesource.h"

#include <memory>
#include <vector>

namespace dz::keyeval {

class HitList : public LineSource {
public:
    HitList(std::shared_ptr<const PeriodDraws> draws, std::vector<Hit> hits);

    int count() const override { return int(hits_.size()); }
    QString line(int i) const override;
    const std::vector<Hit>& hits() const { return hits_; }
    // Characters 18 and 19 of line i: the hit count and "+" or a blank, the class the lines
    // are ordered and selected by.
    QString classText(int i) const;

    // "Találat": by class (characters 18 and 19), then by the whole line. "Húzás": by the whole
    // line, that is by date and draw, then mark and row text. Lines of equal text keep their order.
    std::shared_ptr<const HitList> byClass() const { return sorted(true); }
    std::shared_ptr<const HitList> byDraw() const { return sorted(false); }

private:
    std::shared_ptr<const HitList> sorted(bool classFirst) const;
    std::shared_ptr<const PeriodDraws> draws_;
    std::vector<Hit> hits_;
};

}  // namespace dz::keyeval
