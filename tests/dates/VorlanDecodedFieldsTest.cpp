#include "dates/VorlanDecodedFields.h"

#include "dates/Error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kalendo {
namespace {

using FieldFlags = TVorlanDecodeDateDecodedFieldsFoundFlags;

struct ChangeCounter {
    int changes = 0;
    void Listen(TVorlanDecodeDateDecodedFieldsCollection& collection) {
        collection.SetOnChange([this] { ++changes; });
    }
};

TVorlanDecodeDateDecodedFieldsCollection ThreeFields() {
    TVorlanDecodeDateDecodedFieldsCollection fields;
    fields.AddField("7", {dfoNumber}, 7);
    fields.AddField("DEC", {dfoMonthName}, 12);
    fields.AddField("2026", {dfoNumber}, 2026);
    return fields;
}

std::vector<std::string> ItemsOf(const TVorlanDecodeDateDecodedFieldsCollection& fields) {
    std::vector<std::string> items;
    for (const auto& field : fields)
        items.push_back(field.Item);
    return items;
}

TEST(VorlanDecodedFields, flagValues_areTheirBitPositions) {
    EXPECT_EQ((FieldFlags{dfoNone}).Bits(), 1U);
    EXPECT_EQ((FieldFlags{dfoSeperator}).Bits(), 1U << 24);
    EXPECT_EQ((FieldFlags{dfoNumber, dfoWordNumber}).Bits(), 6U);
    EXPECT_EQ((TVorlanDecodeDateFoundFlags{ddPrev}).Bits(), 1U << 17);
    FieldFlags flags{dfoDay, dfoTime};
    EXPECT_TRUE(flags.Contains(dfoTime));
    EXPECT_TRUE(flags.ContainsAny({dfoWeek, dfoDay}));
    EXPECT_FALSE(flags.ContainsAny({dfoWeek, dfoMonth}));
    flags.Exclude(dfoDay).Exclude(dfoTime);
    EXPECT_TRUE(flags.Empty());
}

TEST(VorlanDecodedFields, clear_reportsOneChangeAndNoneWhenEmpty) {
    TVorlanDecodeDateDecodedFieldsCollection fields;
    ChangeCounter counter;
    counter.Listen(fields);
    fields.Clear();
    EXPECT_EQ(counter.changes, 0);

    fields.Assign(ThreeFields());
    counter.changes = 0;
    fields.Clear();
    EXPECT_EQ(counter.changes, 1);
    EXPECT_EQ(fields.Count(), 0);
}

TEST(VorlanDecodedFields, delete_shiftsTheFollowingFieldsDown) {
    TVorlanDecodeDateDecodedFieldsCollection fields = ThreeFields();
    fields.Delete(1);
    ASSERT_EQ(fields.Count(), 2);
    EXPECT_EQ(fields.Items(0).Item, "7");
    EXPECT_EQ(fields.Items(1).Item, "2026");
    EXPECT_THROW(fields.Delete(2), Error);
    EXPECT_THROW(fields.Items(-1), Error);
}

TEST(VorlanDecodedFields, deleteSorted_removesManyInOnePassWithOneChange) {
    TVorlanDecodeDateDecodedFieldsCollection fields;
    for (int i = 0; i < 6; ++i)
        fields.AddField(std::to_string(i), {dfoNumber}, i);
    ChangeCounter counter;
    counter.Listen(fields);
    fields.DeleteSorted({1, 2, 4});
    EXPECT_EQ(ItemsOf(fields), (std::vector<std::string>{"0", "3", "5"}));
    EXPECT_EQ(counter.changes, 1);
    EXPECT_THROW(fields.DeleteSorted({2, 1}), Error) << "indexes out of order";
    EXPECT_THROW(fields.DeleteSorted({3}), Error) << "index beyond the end";
    EXPECT_EQ(fields.Count(), 3);
}

TEST(VorlanDecodedFields, assign_copiesEveryValueInOrderAsOneChange) {
    TVorlanDecodeDateDecodedFieldsCollection source = ThreeFields();
    source[1].Used = true;
    TVorlanDecodeDateDecodedFieldsCollection target;
    target.AddField("OLD", {}, 1);
    ChangeCounter counter;
    counter.Listen(target);
    target.Assign(source);
    EXPECT_EQ(counter.changes, 1);
    ASSERT_EQ(target.Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(target[i], source[i]) << i;
}

TEST(VorlanDecodedFields, updates_reportOnceWhenTheOutermostEnds) {
    TVorlanDecodeDateDecodedFieldsCollection fields;
    ChangeCounter counter;
    counter.Listen(fields);
    fields.BeginUpdate();
    fields.BeginUpdate();
    fields.Add();
    fields.AddField("X", {}, 0);
    fields.EndUpdate();
    EXPECT_EQ(counter.changes, 0);
    fields.EndUpdate();
    EXPECT_EQ(counter.changes, 1);
    fields.Add();
    EXPECT_EQ(counter.changes, 2);
    EXPECT_FALSE(fields.Items(0).Used);
    EXPECT_TRUE(fields.Items(0).FoundFlags.Empty());
}

} // namespace
} // namespace kalendo
