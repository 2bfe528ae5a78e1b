// What differs between the five subset windows (k = 4..8), and between drawstat's windows over
// the draw history and daystat's over the partial-day file: file names, texts and rule switches.
// The window and the engine take a profile; a program adds profiles, not code.
#pragma once
#include <QString>

#include <algorithm>
#include <optional>

namespace dz::drawstat {

// The order List1 keeps: ascending text, or the order the rows are added in.
enum class ListOrder { Text, Added };

// What moving over a List2 element does: nothing, or set its row count as its hint.
enum class PageHints { None, RowCount };

// Label2 during a count-in: the key of the draw being counted in, or left as it is.
enum class CountInLabel { FollowsDraws, Unchanged };

// List1's hint at load: its row count; the count and a blank; or the count, set only once the
// latest-draw file has been read.
enum class LoadHint { Rows, RowsAndBlank, RowsOnceLatestRead };

// "Legtöbbször".
struct MostDrawnRules {
    // Threshold: the greatest 32736 of the rows with a count of at least 1; SortAll: the greatest
    // 32736 of every record.
    enum class Method { Threshold, SortAll } method = Method::Threshold;
    // List1's hint after the run: its rows, or the subsets drawn and the rows.
    enum class Hint { Rows, DrawnAndRows } hint = Hint::Rows;
};

// The least-drawn list: none; hetes's pages 0 and 1 (and leastFile), filled by the most-drawn run;
// hatos's List3, filled by "Nemhúzottak" when every subset has been drawn.
enum class LeastDrawn { None, Pages, Fallback };

// "Nemhúzottak".
struct NeverDrawnRules {
    // ShowFirstPage: the pages hidden and unset, then page 0 shown and chosen; KeepView: the page
    // in view stays in view.
    enum class View { ShowFirstPage, KeepView } view = View::ShowFirstPage;
    // What comes before the listing on a window with pages: nothing; Label2 emptied; or a search,
    // after which, with no never-drawn subset, the pages keep what they held.
    enum class Start { List, ClearLabel2, SearchFirst } start = Start::List;
    bool leadingBlank = false;  // each row begins with a blank
};

// "<k>-s életút" (SSCommand1) and its list.
struct LifePathRules {
    QString caption;           // "4-s életút"
    QString noSelection;       // List1 has no selected row
    QString noSelectionLeast;  // the least-drawn list has none (with SSCheck1)
    QString closingLead;       // lead text of the closing row
    QString closingSpacer;     // between its hit count and the draws since the last hit
    bool clearsLabel2 = false;
    // OptionsHide: an option click hides the life path list; DoubleClick (hatos): an option click
    // leaves it shown, and the double click on it goes back.
    enum class Back { OptionsHide, DoubleClick } back = Back::OptionsHide;
};

struct SubsetProfile {
    int k = 4;
    QString windowName;  // "negyes", "otos", "hatos", "hetes", "nyolcas"
    QString caption;     // the whole window title

    // Files in the program folder.
    QString drawFile;     // the draws counted in and traced: "vevud.txt"
    QString counterFile;  // "vevud<k>.txt"
    QString listFile;     // most-drawn list: "legt<k>.txt"
    QString latestFile;   // latest draw key: "utolso<k>.txt", shown in Label3; empty: neither
    QString leastFile;    // least-drawn pages (LeastDrawn::Pages): "legk7.txt"

    // Messages (the first line where "Indítsa először az *Ujragenerálást* !" follows).
    QString regenQuestion;      // "Biztos, hogy törölni akarja a szám-négyesek állományát ?"
    QString countInMissing;     // "Nincs a számnégyes állomány begenerálva !"
    QString mostDrawnMissing;   // "Nincs a számnégyesek állomány begenerálva !"
    QString neverDrawnMissing;  // "Nincs a számnégyes állomány begenerálva !"
    QString drawFileMissing;    // "Nincs *Dizov* állomány !"

    // Controls.
    int pageCount = 0;         // page option buttons Option1(0..pageCount-1); 0: none
    ListOrder list1Order = ListOrder::Text;
    bool hasList3 = true;      // otos, negyes: life path; hatos: least drawn; hetes: never filled
    PageHints pageHints = PageHints::None;

    // Rules, one set a feature: each handler reads its own.
    CountInLabel countIn = CountInLabel::FollowsDraws;
    LoadHint loadHint = LoadHint::Rows;
    MostDrawnRules mostDrawn;
    LeastDrawn leastDrawn = LeastDrawn::None;
    NeverDrawnRules neverDrawn;
    std::optional<LifePathRules> lifePath;  // none: no SSCommand1, no life path list

    // SSCheck1: the life path from the least-drawn list, where the window keeps one.
    bool hasLeastCheck() const { return lifePath && leastDrawn != LeastDrawn::None; }
    // Elements of the List2 array: the pages (one list without them), then the life path list where
    // it lies over the pages.
    int list2Count() const { return std::max(1, pageCount) + (lifePath && pageCount > 0 ? 1 : 0); }
    int records() const;       // C(20,k)
    int lifePathIndex() const { return list2Count() - 1; }  // in the List2 array, when pageCount > 0
};

// drawstat's window for one size k (4..8), over "vevud.txt" and the ".txt" set.
SubsetProfile drawstatSubsetProfile(int k);

}  // namespace dz::drawstat
