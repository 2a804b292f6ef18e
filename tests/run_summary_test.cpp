#include "test_support.h"

#include <gtest/gtest.h>

using namespace tarnel;

namespace {

std::string summaryOf(std::initializer_list<std::pair<const char*, const char*>> texts,
                      std::initializer_list<std::pair<const char*, bool>> boxes = {}, const char* separator = ".")
{
    PlainWindow w{NumberText(separator)};
    for (const auto& [field, text] : texts)
        w.edit(field).setText(text);
    for (const auto& [box, checked] : boxes)
        w.check(box).set(checked);
    const std::optional<SearchRun> run = w.start();
    return run ? run->summary.text(w.list().numbers()) : "no run";
}

} // namespace

TEST(RunSummaryTest, says_how_many_were_found_and_shown_or_why_there_are_none)
{
    EXPECT_EQ(summaryOf({}), "24 dividers");
    EXPECT_EQ(summaryOf({{"editMaxResults", "3"}}), "3 of 24 dividers shown: the limit cut the rest");
    EXPECT_EQ(summaryOf({{"editTol", "1"}, {"editRmin", "18"}, {"editRmax", "18"}, {"editUin", "2"}}), "1 divider");
    const auto wide = {std::pair{"editTol", "100"}, {"editRmax", "9100000"}, {"editRsumMax", "9100000"},
                       {"editMaxResults", "1"}};
    EXPECT_EQ(summaryOf(wide, {{"chkHi2Rser", true}}), "1 of 1,186,274 dividers shown: the limit cut the rest");
    EXPECT_EQ(summaryOf(wide, {{"chkHi2Rser", true}}, ","), "1 of 1.186.274 dividers shown: the limit cut the rest");
    EXPECT_EQ(summaryOf({{"editRmin", "50"}, {"editRmax", "40"}}), "No divider: Rmin is above Rmax");
    EXPECT_EQ(summaryOf({{"editRsumMin", "60"}, {"editRsumMax", "50"}}), "No divider: RsumMin is above RsumMax");
    EXPECT_EQ(summaryOf({}, {{"chkLo1R", false}}), "No divider: no shape is ticked for the low arm");
    EXPECT_EQ(summaryOf({{"editUin", "1"}, {"editUout", "2"}}),
              "No divider: Uout is not below Uin, which 1 + H/L cannot give");
    EXPECT_EQ(summaryOf({{"editUin", "3.14159"}, {"editTol", "0"}}), "No divider meets the bounds");
    PlainWindow listed;
    listed.check("chkSpecVal0").set(CheckState::Checked);
    listed.edit("editSpecVal0").setText("2.5");
    EXPECT_EQ(listed.start()->summary.text(listed.list().numbers()), "No divider meets the bounds; 2.5 is no E24 value");
}
