// Option groups: none chosen is possible, code that chooses runs the handler, a click keeps the choice.
#include "common/platform/options.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

TEST(OptionGroup, ChoosingFromCodeOrByClickRunsTheHandlerAndNoneMayBeChosen) {
    QWidget parent;
    dz::ui::OptionGroup group;
    for (int i = 0; i < 3; ++i) group.add(new dz::ui::OptionButton(QString::number(i + 1), &parent));
    std::vector<int> clicked;
    QObject::connect(&group, &dz::ui::OptionGroup::optionClicked, [&](int i) {
        EXPECT_EQ(group.chosen(), i);  // the others are out before the handler runs
        clicked.push_back(i);
    });
    EXPECT_EQ(group.chosen(), -1);
    group.setChosen(1);
    group.button(2)->click();
    group.button(2)->click();  // the chosen one stays chosen, no second run
    group.setChosen(7);        // an option the group lacks: nothing
    EXPECT_EQ(clicked, (std::vector<int>{1, 2}));
    EXPECT_FALSE(group.button(1)->isChecked());
    group.clear();
    EXPECT_EQ(group.chosen(), -1);
    EXPECT_EQ(clicked.size(), 2u);
    group.button(0)->toggle();  // what assistive technology does
    EXPECT_EQ(clicked.back(), 0);
}
