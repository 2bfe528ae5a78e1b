// The newest records of a pass, for a list that keeps the latest lines when more come than it
// holds: a ring that grows with the first records (a short pass touches only the room it uses)
// and then writes each new record over the oldest.
#pragma once
#include <algorithm>
#include <cstddef>
#include <vector>

namespace dz {

template <class T>
class NewestKept {
public:
    // limit: the most records kept, at least 1.
    explicit NewestKept(size_t limit) : limit_(std::max<size_t>(1, limit)) {}

    // The room for the next record: a new one, or the oldest kept once the ring is full.
    T& next() {
        ++added_;
        if (ring_.size() < limit_) return ring_.emplace_back();
        T& slot = ring_[head_];
        if (++head_ == limit_) head_ = 0;
        return slot;
    }
    size_t size() const { return ring_.size(); }
    // Records added in all, kept or not.
    size_t added() const { return added_; }

    // The kept records, oldest first, less the oldest `drop` of them.
    std::vector<T> take(size_t drop = 0) && {
        std::rotate(ring_.begin(), ring_.begin() + std::ptrdiff_t(head_), ring_.end());
        ring_.erase(ring_.begin(), ring_.begin() + std::ptrdiff_t(std::min(drop, ring_.size())));
        head_ = 0;
        return std::move(ring_);
    }

private:
    size_t limit_;
    size_t head_ = 0;  // the oldest record once the ring is full
    size_t added_ = 0;
    std::vector<T> ring_;
};

}  // namespace dz
