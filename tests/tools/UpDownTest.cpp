#include "tools/UpDown.h"

#include <QLineEdit>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace kalendo {
namespace {

TEST(UpDown, positionStaysInRangeAndShowsInTheBox) {
    QLineEdit box;
    TUpDown spinner;
    spinner.SetRange(10, 12);
    spinner.SetAssociate(&box);
    EXPECT_EQ(box.text(), QStringLiteral("10"));
    struct Row {
        const char* meaning;
        int asked;
        int position;
    };
    const Row rows[] = {{"inside", 11, 11}, {"above the top", 40, 12}, {"below the bottom", -3, 10}};
    for (const Row& row : rows) {
        spinner.SetPosition(row.asked);
        EXPECT_EQ(spinner.Position(), row.position) << row.meaning;
        EXPECT_EQ(box.text(), QString::number(row.position)) << row.meaning;
    }
    spinner.SetRange(20, 15);
    EXPECT_EQ(spinner.Min(), 15);
    EXPECT_EQ(spinner.Max(), 20);
    EXPECT_EQ(spinner.Position(), 15) << "a new range pulls the position in";
}

TEST(UpDown, clicksAtTheEndsAreReportedButDoNotWrap) {
    TUpDown spinner;
    spinner.SetRange(1, 2);
    QSignalSpy clicks(&spinner, &TUpDown::Clicked);
    spinner.Click(btPrev);
    EXPECT_EQ(spinner.Position(), 1);
    spinner.Click(btNext);
    spinner.Click(btNext);
    EXPECT_EQ(spinner.Position(), 2);
    ASSERT_EQ(clicks.count(), 3);
    EXPECT_EQ(clicks.at(0).at(0).value<TUDBtnType>(), btPrev);
    EXPECT_EQ(clicks.at(2).at(0).value<TUDBtnType>(), btNext);
}

} // namespace
} // namespace kalendo
