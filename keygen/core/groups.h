// keygengroup's groups: the grouped number choice as plain state and
// functions that the grouped choice window calls, the grouped selection file "jeloles2.txt",
// the confirmation ("Kiválaszt") into temporaries, and the group rule that the one generation
// engine of generator.h takes as its hook (GenInputs::groups).
//
// How the grouped choice window uses it:
//   cell n clicked          -> clickCell(choice, n), then redraw cell n and the labels
//   option g selected       -> choice.current = g
//   "Töröl"                 -> clearChoice(choice)
//   "Kiválaszt"             -> ConfirmOutcome o = confirm(choice); show the boxes again (confirm
//                              rewrites their texts); Ignored: nothing; Refused: show o.message,
//                              the window stays; Accepted: the program's limit tables := o.limits,
//                              Label6 := dz::str(choice.count), enable the main window, hide.
//   "Kijel. ment"           -> nothing when choice.count == 0; else the dialog, then
//                              saveGroupedSelection(path, choice); false: show dz::saveFailedMessage(path)
//   "Kijel. betölt"         -> the dialog, then loadGroupedSelection(path, choice) and show the
//                              message it returns, if any
//   "Generálás" (main)      -> once per click confirmationMessage(Label6 text); then GenInputs::groups
//                              = &rule with rule = GroupRule::from(choice.groupOf, limits)
#pragma once
#include "keygen/core/generator.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dz::keygen {

inline constexpr int kGroups = 10;
inline constexpr const char* kGroupedSelectionFile = "jeloles2.txt";
inline constexpr int kGroupedSelectionLines = 251;

// Option captions and colours (red, green, blue) of the groups, index 1..10.
QString groupCaption(int g);
std::array<int, 3> groupColour(int g);

// The confirmed limit tables (filled only by an accepted "Kiválaszt").
struct GroupLimits {
    std::array<int, kGroups + 1> min{};  // 1..10
    std::array<int, kGroups + 1> max{};  // 1..10; 20 where the maximum box held 0
    int minSum = 0;
    int maxSum = 0;
    bool operator==(const GroupLimits&) const = default;
};

// The grouped choice window's state. Index 1..20 for numbers, 1..10 for groups.
struct GroupChoice {
    std::array<bool, 21> chosen{};     // chosen-number flags (shared with the main window)
    int count = 0;                     // chosen-number count
    std::array<int8_t, 21> groupOf{};  // the group of n, 0 for none (a number is in at most one group)
    int current = 1;                   // the group whose option is selected
    std::array<QString, kGroups + 1> minText, maxText, memberText;  // boxes and member labels
    QString label1;                    // Label1: Str(count); empty at load and after "Töröl"

    NumberMask chosenMask() const;
    // Member count of group g as its label reads (an empty label counts 0).
    double memberValue(int g) const;
};

// Command3D2_Click (n): releases a chosen n from its group, or chooses n into the current group
// (setting its membership; a number in another group leaves that group and its label drops).
void clickCell(GroupChoice& c, int n);
// SSCommand2_Click ("Töröl"): count 0, boxes and labels empty, nothing chosen, no memberships.
// The current group is kept.
void clearChoice(GroupChoice& c);

struct ConfirmOutcome {
    enum class Status { Ignored, Refused, Accepted } status = Status::Ignored;
    std::optional<Message> message;  // Refused: "Hibás adat összefüggés az" & Str(g) & ". csoportban !"
    GroupLimits limits;              // Accepted: the new tables (temporaries until then)
};
// SSCommand1_Click ("Kiválaszt"): rewrites the boxes of groups 1..g (g the failing group, or all)
// as the choice's check says; the program's tables change only when the window applies an
// Accepted outcome.
ConfirmOutcome confirm(GroupChoice& c);

// The 251 lines of "jeloles2.txt".
QStringList groupedSelectionLines(const GroupChoice& c);
// False when the file could not be written (the window shows saveFailedMessage).
bool saveGroupedSelection(const QString& path, const GroupChoice& c);

enum class LoadStatus { Loaded, CannotOpen, WrongMarker };
struct LoadOutcome {
    LoadStatus status = LoadStatus::Loaded;
    std::optional<Message> message;  // WrongMarker: "Ez nem csoportosított kijelölés mentés file !"
};
// Command3D3_Click after its dialog: a file that cannot be opened changes nothing; else the choice
// is cleared and rebuilt by clicks, as a user's clicks would build it. Box texts are read line by line (a comma
// in a text does not shift the values after it), leading blanks dropped.
LoadOutcome loadGroupedSelection(const QString& path, GroupChoice& c);
LoadOutcome loadGroupedSelectionBytes(std::string_view bytes, GroupChoice& c);

// The message when Label6 reads 0 (groups never confirmed), else nullopt.
std::optional<Message> confirmationMessage(QStringView label6Text);

// The group rule the engine applies: a drawn number is refused when its group is at its maximum
// in the row, a finished row when a group holds fewer than its minimum; 100 attempts a slot,
// no quota, no stop at the number of possible rows; t checked against the sums.
class GroupRule {
public:
    std::array<int8_t, 21> groupOf{};
    GroupLimits limits;

    static GroupRule from(const std::array<int8_t, 21>& groupOf, const GroupLimits& limits);
    // Members of group g as a mask.
    NumberMask members(int g) const;
    // Whether a whole row holds, for every group, between its minimum and maximum numbers.
    bool rowKeepsLimits(NumberMask row) const;
};

}  // namespace dz::keygen
