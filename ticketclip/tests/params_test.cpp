#include "ticketclip/core/submitparams.h"
#include "common/tests/fedfile.h"
#include "common/tests/testutil.h"
#include "common/tests/ownwrite.h"
#include "ticketclip/ui/paramwindow.h"

#include <QDir>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace dz;
using namespace dz::ticketclip;
namespace seam = dz::ui::seam;

namespace {
const std::string kDefaultFile = "4\r\n5\r\n5\r\n2\r\n200\r\n225\r\n225\r\n150\r\n7\r\n200000\r\n200\r\n";

void expectDefaults(const Params& p) {
    const Params d = defaultParams();
    EXPECT_EQ(p.fieldsPerTicket, d.fieldsPerTicket);
    EXPECT_EQ(p.pricePerField, d.pricePerField);
    EXPECT_EQ(p.basketSize, 7);
    EXPECT_EQ(p.maxStake, 200000.0f);
    EXPECT_EQ(p.jokerPrice, 200);
}
}  // namespace

TEST(Params, FirstStartWritesTheDefaults) {
    dz::testing::ProgramFolderFixture f;
    const Params p = startupParams(f.dir.path());
    expectDefaults(p);
    EXPECT_EQ(f.read(kParamFile), kDefaultFile);
    EXPECT_EQ(p.fieldsPerTicket, (std::array<int, 5>{0, 4, 5, 5, 2}));
    EXPECT_EQ(p.pricePerField, (std::array<int, 5>{0, 200, 225, 225, 150}));
}

TEST(Params, WholeNumbersRoundHalvesToEvenAndOutOfRangeValuesAreNotTaken) {
    struct Case {
        const char* text;
        bool taken;
        int value;
    };
    const Case cases[] = {{"7.5", true, 8},  {"6.5", true, 6},   {"12 abc", true, 12}, {"1 2", true, 12},
                          {" 3\t", true, 3}, {"32767", true, 32767}, {"0.4", false, 0}, {"0", false, 0},
                          {"", false, 0},    {"abc", false, 0},  {"-3", false, 0},    {"40000", false, 0},
                          {"1e9", false, 0}, {"32767.5", false, 0}};
    for (const Case& c : cases) {
        ParamTexts t = defaultTexts();
        t[kBasketSize] = QString::fromLatin1(c.text);
        Params p = defaultParams();
        p.basketSize = 9;  // the value in force
        takeOver(t, p);
        EXPECT_EQ(p.basketSize, c.taken ? c.value : 9) << c.text;
        EXPECT_EQ(firstRefused(t), c.taken ? -1 : kBasketSize) << c.text;
    }
    ParamTexts t = defaultTexts();
    t[kMaxStake] = "1000.5";
    Params p = defaultParams();
    takeOver(t, p);
    EXPECT_EQ(p.maxStake, 1000.5f);
    EXPECT_EQ(textsOf(p)[kMaxStake], "1000.5");
    t[kMaxStake] = "-5";
    EXPECT_EQ(firstRefused(t), kMaxStake);
}

TEST(Params, BadFilesFallBackToTheDefaultsValueByValue) {
    struct Case {
        std::string bytes;
        std::array<int, 5> fields;
        int basket;
    };
    const Case cases[] = {
        // A comma shifts every later item; line 11 is then not read.
        {"4,5\r\n5\r\n5\r\n2\r\n200\r\n225\r\n225\r\n150\r\n9\r\n200000\r\n200\r\n", {0, 4, 5, 5, 5}, 150},
        {"abc\r\n0\r\n40000\r\n-1\r\n", {0, 4, 5, 5, 2}, 7},
        {"3\r\n6\r\n", {0, 3, 6, 5, 2}, 7},            // too few lines
        {"\"6\"\r\n", {0, 6, 5, 5, 2}, 7},              // a quoted item
        {std::string("\x00\xff\x01,\x80\r", 5) + "\n", {0, 4, 5, 5, 2}, 7},
        {"", {0, 4, 5, 5, 2}, 7},
    };
    for (const Case& c : cases) {
        dz::testing::ProgramFolderFixture f;
        f.write(kParamFile, c.bytes);
        const Params p = startupParams(f.dir.path());
        EXPECT_EQ(p.fieldsPerTicket, c.fields) << c.bytes;
        EXPECT_EQ(p.basketSize, c.basket) << c.bytes;
        EXPECT_EQ(f.read(kParamFile), c.bytes);  // start-up never rewrites an existing file
    }
}

namespace {
struct Window : dz::testing::ProgramFolderFixture {
    Params state = defaultParams();
    ParameterWindow w{state};
    void set(int i, const QString& text) { w.Text1[size_t(i)]->setText(text); }
};
}  // namespace

TEST(ParamWindow, SaveWritesTheTextsUnchangedAndTakesThemOver) {
    Window f;
    f.write(kParamFile, kDefaultFile);
    f.w.Form_Load();
    EXPECT_EQ(f.w.windowTitle(), QStringLiteral("  DIZOV - paraméterek beállítása.       Vumo-Soft/2010"));
    EXPECT_EQ(f.w.Text1[kMaxStake]->text(), "200000");
    f.set(kBasketSize, "7.5");
    f.set(kMaxStake, "100000");
    f.set(kPricePerField, "12 Ft");
    f.w.SSCommand4_Click();
    EXPECT_TRUE(seam::messages().empty());
    EXPECT_EQ(f.read(kParamFile), "4\r\n5\r\n5\r\n2\r\n12 Ft\r\n225\r\n225\r\n150\r\n7.5\r\n100000\r\n200\r\n");
    EXPECT_EQ(f.state.basketSize, 8);
    EXPECT_EQ(f.state.maxStake, 100000.0f);
    EXPECT_EQ(f.state.pricePerField[1], 12);
}

TEST(ParamWindow, RefusedValuesStopTheSaveAndKeepTheValuesInForce) {
    for (const char* bad : {"0", "", "abc", "40000", "0.4"}) {
        Window f;
        f.write(kParamFile, kDefaultFile);
        f.w.Form_Load();
        f.set(kBasketSize, "9");
        f.set(6, QString::fromLatin1(bad));  // a box the window does not show
        f.w.SSCommand4_Click();
        ASSERT_EQ(seam::messages().size(), 1u) << bad;
        EXPECT_EQ(seam::messages()[0].text, "Hibás paraméter adatok (0)!");
        EXPECT_EQ(seam::messages()[0].icon, ui::Icon::Critical);
        EXPECT_EQ(seam::messages()[0].title, "Vumo-Soft/2010");
        EXPECT_EQ(f.read(kParamFile), kDefaultFile);
        EXPECT_EQ(f.state.basketSize, 7);
    }
}

TEST(ParamWindow, AFailedSaveSaysSoAndTakesNothingOver) {
    Window f;
    QDir(f.dir.path()).mkdir(kParamFile);  // a folder where the file should be: it cannot be replaced
    f.w.Form_Load();
    // Unreadable: the boxes show the values in force, not the design texts.
    EXPECT_EQ(f.w.Text1[kBasketSize]->text(), "7");
    EXPECT_EQ(f.w.Text1[1]->text(), "5");
    f.w.Text1[kBasketSize]->setText("9");
    emit f.w.Text1[kBasketSize]->textEdited("9");
    f.w.SSCommand4_Click();
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, "Hiba a szrtpara.txt mentésekor - sikertelen mentés !");
    EXPECT_EQ(f.state.basketSize, 7);
    EXPECT_TRUE(f.w.edited());
}

TEST(ParamWindow, ExitAsksOnlyAfterTyping) {
    Window f;
    f.w.Form_Load();
    f.w.show();
    f.w.Text1[0]->clear();  // as a double click does: not an edit
    f.w.SSCommand1_Click();
    EXPECT_TRUE(seam::messages().empty());
    EXPECT_EQ(f.w.result(), QDialog::Accepted);

    Window g;
    g.w.Form_Load();
    g.w.show();
    emit g.w.Text1[0]->textEdited("3");
    seam::queueAnswer(ui::Answer::Cancel);
    g.w.SSCommand1_Click();
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, "Biztos, hogy mentés nélkül akar kilépni ?");
    EXPECT_TRUE(g.w.isVisible());
    g.w.SSCommand4_Click();  // saved: no question any more
    g.w.SSCommand1_Click();
    EXPECT_EQ(seam::messages().size(), 1u);
    EXPECT_FALSE(g.w.isVisible());
}

// A parameter file without end: its eleven lines count, the rest is not read.
TEST(Params, EndlessFilesReadOnlyTheirHead) {
    dz::testing::ProgramFolderFixture f;
    const std::string head = "4\r\n5\r\n5\r\n2\r\n200\r\n225\r\n225\r\n150\r\n7\r\n250000\r\n200\r\n";
    for (const std::string& filler : {std::string("x"), std::string("1\r\n")}) {
        {
            dz::testing::FedFile feed(f.path("szrtpara.txt"), head, filler);
            EXPECT_EQ(startupParams(f.dir.path()).maxStake, 250000.0f);
            EXPECT_LT(feed.fed(), uint64_t(1) << 20);
        }
        {
            dz::testing::FedFile feed(f.path("szrtpara.txt"), head, filler);
            EXPECT_EQ(windowTexts(f.dir.path(), defaultParams())[kMaxStake], QStringLiteral("250000"));
            EXPECT_LT(feed.fed(), uint64_t(1) << 20);
        }
    }
}

// A start that finds no readable parameter file writes the defaults only where no file of that
// name is: a link or anything else stays untouched, and the defaults hold in memory. The click's
// save is refused on those names too.
TEST(Params, DefaultsAreWrittenOnlyWhereNothingHasTheName) {
    dz::testing::ProgramFolderFixture f;
    dz::testing::expectNameKept(
        f.dir.path(), QLatin1String(kParamFile),
        [&] {
            expectDefaults(startupParams(f.dir.path()));
            return false;
        },
        false);
    ParamTexts t;
    for (auto& text : t) text = QStringLiteral("1");
    dz::testing::expectNameKept(f.dir.path(), QLatin1String(kParamFile), [&] { return saveParams(f.dir.path(), t); });
}
