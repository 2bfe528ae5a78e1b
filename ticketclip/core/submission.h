// The work of the submission window without widgets: checking a key for the game, the price
// against the operator's stake limit, the basket parts and the quick-ticket text.
#pragma once
#include "ticketclip/core/submitparams.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string_view>

namespace dz::ticketclip {

// The one game ticketclip submits: rows of eight numbers, none above 20.
inline constexpr int kNumbersPerRow = 8;
inline constexpr int kHighestNumber = 20;
inline constexpr int kGameIndex = 1;

// ---- Loading a key --------------------------------------------------------------------------

struct KeyCheck {
    enum class Outcome { Loaded, WrongType, BadNumber, Full };
    Outcome outcome = Outcome::Loaded;
    QStringList rows;    // accepted rows as read (leading blanks dropped), in file order
    QString badRow;      // the row a WrongType or BadNumber names
    int lastCount = -1;  // numbers of the last row of the right length; -1 when none
};
// Reads the key's items: blank items are skipped; a row whose trimmed length is not that of
// eight numbers, or that holds a number above 20 (or below 0), stops the load; rows past
// capacity stop it with Full, keeping the rows before.
// Items longer than kLineTextLimit are cut to it (no row of the game is that long).
KeyCheck checkKey(std::string_view bytes, qsizetype capacity);
// The same for a key file, read as a stream: never more of it than capacity + 1 rows can take, so
// a link to /dev/zero or a line of a gigabyte costs no more than the rows kept. nullopt when the
// file cannot be opened.
std::optional<KeyCheck> readKeyFile(const QString& path, qsizetype capacity);

// The message of an outcome that stops the load (empty for Loaded).
QString keyMessage(const KeyCheck& k);
// The error numbers the load shows after a failed dialog or open.
inline constexpr int kDialogCancelled = 32755;
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileAccess = 75;
QString dialogFailedMessage(int error);
QString openFailedMessage(int error, const QString& fullName);

// ---- Price and stake limit ------------------------------------------------------------------

struct Choices {
    int stake = 1;                       // 1..5
    int draws = 1;                       // 1, 2, 5, 10, 20, 50
    std::array<bool, 4> extras{};        // extra numbers 1..4 ticked
    int extraCount() const;              // ticked boxes, 1 when none
};

// The Joker term's factor for a draw count: 1, 1, 1, 2, 3, 8 for 1, 2, 5, 10, 20, 50 draws.
inline long long jokerFactor(int draws) { return draws / 7 + 1; }

enum class Limit { None, Price, PriceWithJoker };
struct Price {
    double price = 0;        // fields x price per field x stake x draws x extra numbers
    long long joker = 0;     // tickets x Joker price (x Joker factor)
    double withJoker = 0;
    Limit limit = Limit::None;
};
// withJokerFactor: the selection handlers' and the parameters' variant; the load leaves it out.
Price computePrice(long long fields, const Params& p, const Choices& c, bool withJokerFactor);
// The warning for a limit, naming the maximum stake.
QString limitMessage(Limit l, float maxStake);

// ---- Basket parts ---------------------------------------------------------------------------

// Rows of one basket part: fields per ticket x basket size.
long long partSize(const Params& p);
// Parts of a key of this many rows, rounded up (1 for an empty key).
long long totalParts(long long rows, const Params& p);
// Tickets that this many rows fill, rounded up (1 for fewer than one ticket, and for none).
long long ticketsFor(long long rows, int fieldsPerTicket);
// Takes the next part off the front of rest.
QStringList takePart(QStringList& rest, long long size);

// ---- Quick-ticket text ----------------------------------------------------------------------

// The lines of a part: fields per ticket rows a line, each field its eight numbers, "B" and the
// ticked extra numbers, fields joined by an empty item and the stake item.
QStringList quickTicketLines(const QStringList& rows, const Choices& c, int fieldsPerTicket);
// The clipboard text: every line followed by CR LF.
QString quickTicketText(const QStringList& lines);
// What to do with the text on the operator's page.
QString instructionMessage();

}  // namespace dz::ticketclip
