// What differs between the five subset windows (k = 4..8), and between drawstat's windows over
// the draw history and daystat's over the partial-day file: file names, texts and rule switches.
// The window and the engine take a profile; a program adds profiles, not code.
#pragma once
#include <QString>

namespace drawstat {

struct SubsetProfile {
    int k = 4;
    QString windowName;  // "negyes", "otos", "hatos", "hetes", "nyolcas"
    QString caption;     // the whole window title

    // Files in the program folder.
    QString drawFile;     // the draws counted in and traced: "vevud.txt"
    QString counterFile;  // "vevud<k>.txt"
    QString listFile;     // most-drawn list: "legt<k>.txt"
    QString latestFile;   // latest draw key: "utolso<k>.txt"; empty when the window keeps none
    QString leastFile;    // least-drawn pages: "legk7.txt"; empty when none

    // Messages (the first line where "Indítsa először az *Ujragenerálást* !" follows).
    QString regenQuestion;      // "Biztos, hogy törölni akarja a szám-négyesek állományát ?"
    QString countInMissing;     // "Nincs a számnégyes állomány begenerálva !"
    QString mostDrawnMissing;   // "Nincs a számnégyesek állomány begenerálva !"
    QString neverDrawnMissing;  // "Nincs a számnégyes állomány begenerálva !"
    QString drawFileMissing;    // "Nincs *Dizov* állomány !"

    // Controls.
    int list2Count = 1;        // elements of the List2 array (1: a single list)
    int pageCount = 0;         // page option buttons Option1(0..pageCount-1); 0: none
    bool list1Sorted = true;   // List1 keeps ascending text order (else the order of adding)
    bool hasList3 = true;      // otos, negyes: life path; hatos: least drawn
    bool hasLatestLabel = true;  // Label3
    bool hasCheck = false;     // SSCheck1: the life path from the least-drawn list
    bool lifePath = true;      // SSCommand1 and its list
    QString lifePathCaption;   // "4-s életút"
    QString noSelection;       // List1 has no selected row
    QString noSelectionLeast;  // the least-drawn list has none (with SSCheck1)
    QString closingLead;       // lead text of the life path's closing row
    QString closingSpacer;     // between its hit count and the draws since the last hit

    // Rules.
    bool countInProgress = true;     // Label2 follows the draws of a count-in
    bool sortMethod = false;         // most drawn: sort every record (else the threshold method)
    bool leastDrawnPages = false;    // the most-drawn run also fills least-drawn pages 0, 1 and leastFile
    bool hintWithDrawn = false;      // List1's hint after a run: drawn subsets and rows (else rows)
    bool loadHintTrailingBlank = false;  // List1's hint at load ends in a blank
    bool loadHintNeedsLatest = false;    // List1's hint at load is set only once the latest-draw file is read
    bool neverDrawnLeadingBlank = false; // never-drawn rows begin with a blank
    bool neverDrawnShowsFirstPage = true;  // pages hidden and unset, then page 0 shown and chosen
    bool neverDrawnSearchFirst = false;  // with no never-drawn subset the pages keep what they held
    bool neverDrawnClearsLabel2 = false;
    bool lifePathClearsLabel2 = false;
    bool leastDrawnFallback = false;     // hatos: every subset drawn gives the least-drawn list in List3
    bool pageHints = false;              // moving over a List2 element sets its row count as hint
    bool lifePathBackByDoubleClick = false;  // hatos: the double click on the life path list goes back,
                                             // and an option click leaves the life path list shown

    int records() const;       // C(20,k)
    int lifePathIndex() const { return list2Count - 1; }  // in the List2 array, when pageCount > 0
};

// drawstat's window for one size k (4..8), over "vevud.txt" and the ".txt" set.
SubsetProfile drawstatSubsetProfile(int k);

}  // namespace drawstat
