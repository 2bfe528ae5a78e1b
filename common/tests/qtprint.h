// Readable test failures: Qt strings printed as text, not as arrays of 16-bit units.
#pragma once
#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
