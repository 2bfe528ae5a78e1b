// libFuzzer target over ticketclip's readers: the parameter file "szrtpara.txt" as start-up and
// the parameter window take it, the game list "online.txt", and a key file checked for the game.
#include "tests/fuzz/fuzzfault.h"
#include "common/core/cp1250.h"
#include "common/core/textfile.h"
#include "ticketclip/core/submitparams.h"
#include "ticketclip/core/submission.h"


namespace {
[[noreturn]] void fail(const char* what) { dz::fuzz::fault("ticketclip reader", what); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace dz::ticketclip;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const QStringList items = readParamItems(bytes);
    if (items.size() > kParamCount) fail("more than eleven parameter items");
    ParamTexts t = defaultTexts();
    for (qsizetype i = 0; i < items.size(); ++i) t[size_t(i)] = items[i];
    Params p = defaultParams();
    takeOver(t, p);
    for (int g = 1; g <= kGames; ++g)
        if (p.fieldsPerTicket[size_t(g)] < 1 || p.pricePerField[size_t(g)] < 1) fail("a per-game value below 1");
    if (p.basketSize < 1 || p.jokerPrice < 1 || !(p.maxStake > 0)) fail("a value below 1 taken over");
    if (firstRefused(textsOf(p)) != -1) fail("the values in force would not save");
    if (partSize(p) < 1) fail("an empty part");

    for (auto line : dz::splitLines(bytes))
        if (dz::cp1250::decode(line).contains(QLatin1Char('\r'))) fail("CR in a game list line");

    const KeyCheck k = checkKey(bytes, 1000);
    if (k.rows.size() > 1000) fail("rows past capacity");
    if (k.outcome == KeyCheck::Outcome::Loaded || k.outcome == KeyCheck::Outcome::Full) {
        Choices c;
        c.extras = {true, false, false, true};
        const QStringList lines = quickTicketLines(k.rows, c, p.fieldsPerTicket[1]);
        for (const QString& row : k.rows) {
            // Trimmed of blanks only: a tab is a character of the row.
            qsizetype b = 0, e = row.size();
            while (b < e && row[b] == QLatin1Char(' ')) ++b;
            while (e > b && row[e - 1] == QLatin1Char(' ')) --e;
            if (e - b != kNumbersPerRow * 3 - 1) fail("a row of the wrong length accepted");
        }
        for (const QString& l : lines)
            for (QChar ch : l)
                if (!(ch.isDigit() || ch == ',' || ch == 'P' || ch == 'T' || ch == 'B')) fail("a foreign character in a line");
    }
    return 0;
}
