// The Hungarian single-byte code page of the suite's text files; every byte maps both ways.
#pragma once
#include <QByteArray>
#include <QString>
#include <string_view>

namespace dz::cp1250 {

QString decode(std::string_view bytes);
// The same into out, which has room for bytes.size() characters.
void decodeTo(std::string_view bytes, QChar* out);
inline QString decode(const QByteArray& b) { return decode(std::string_view(b.constData(), size_t(b.size()))); }
// Characters outside the code page become '?'.
QByteArray encode(QStringView text);
// One character's byte, '?' when it has none.
char toByte(QChar c);
// Ascending byte order of texts as the files hold them: the order of every sorted list.
bool less(const QString& a, const QString& b);

}  // namespace dz::cp1250
