// The submission parameters: the parameter file "szrtpara.txt", its eleven texts and the values
// in force that price and cut a key.
#pragma once
#include "common/core/suite.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string_view>

namespace dz::ticketclip {

inline constexpr const char* kParamFile = "szrtpara.txt";
inline constexpr const char* kGameListFile = "online.txt";
inline constexpr int kParamCount = 11;
// Position of each value among the eleven texts (box indexes of the parameter window).
inline constexpr int kFieldsPerTicket = 0;  // 0..3: games 1..4
inline constexpr int kPricePerField = 4;    // 4..7: games 1..4
inline constexpr int kBasketSize = 8;
inline constexpr int kMaxStake = 9;
inline constexpr int kJokerPrice = 10;
inline constexpr int kGames = 4;

using ParamTexts = std::array<QString, kParamCount>;

// The built-in defaults as the file holds them: 4, 5, 5, 2, 200, 225, 225, 150, 7, 200000, 200.
ParamTexts defaultTexts();

struct Params {
    std::array<int, kGames + 1> fieldsPerTicket{};  // indexed by game 1..4
    std::array<int, kGames + 1> pricePerField{};
    int basketSize = 0;
    float maxStake = 0;
    int jokerPrice = 0;
};
Params defaultParams();

// The numeric value of a parameter text: blanks, tabs and line feeds are skipped wherever they
// stand ("1 2" is 12), then the leading number; 0 when there is none.
double paramValue(QStringView text);

// Whether the text of box i may be taken over: a whole-number parameter rounds (halves to even)
// into 1..32767, the maximum stake is a positive finite number. Smaller values would divide by
// zero or cut parts of no rows later.
bool acceptable(int i, QStringView text);
// Takes the texts over into p; a text that is not acceptable leaves its value as it was.
void takeOver(const ParamTexts& texts, Params& p);
// The first box whose text may not be saved, or -1.
int firstRefused(const ParamTexts& texts);

// The texts of the values in force, shortest decimal form ("200000").
ParamTexts textsOf(const Params& p);

// The items of the file in order, at most eleven: an item ends at a comma or a line end, leading
// blanks and tabs dropped, a quoted item without its quotes. Fewer when the file ends sooner.
QStringList readParamItems(std::string_view bytes);

// Start-up: the file's items taken over the defaults; a missing file is created with the default
// texts (a failure to create it is passed over). Values the file spells badly keep their defaults.
Params startupParams(const QString& folder);
// The parameter window's load: the texts in force, each replaced by the file's item where the
// file has one; nullopt-free: a file that cannot be read leaves the texts in force.
ParamTexts windowTexts(const QString& folder, const Params& inForce);
// The eleven texts as eleven lines, replacing the file whole; false when that failed.
bool saveParams(const QString& folder, const ParamTexts& texts);

// The shortest decimal text of a number ("7400", "1000.5"); whole values never in exponent form.
// digits: significant digits of a fraction (7 for a single-precision value).
QString numberText(double v, int digits = 15);

}  // namespace dz::ticketclip
