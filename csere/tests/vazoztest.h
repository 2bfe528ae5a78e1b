// What vazoz's tests share: number sets as bit sets, row lists, a random source that keeps its
// stream when reseeded, readable QStrings in failures.
#pragma once
#include "common/core/random.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <initializer_list>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace dz::csere::testing {

inline uint32_t bits(std::initializer_list<int> ns) {
    uint32_t m = 0;
    for (int n : ns) m |= 1u << n;
    return m;
}

inline QStringList L(std::initializer_list<const char*> rows) {
    QStringList out;
    for (const char* r : rows) out << QString::fromUtf8(r);
    return out;
}

// Reseeding keeps the stream, so a test sees the same draws every run.
class FixedRandom : public dz::Random {
public:
    explicit FixedRandom(uint64_t s) : dz::Random(s) {}
    void seed(uint64_t) override {}
};

}  // namespace dz::csere::testing
