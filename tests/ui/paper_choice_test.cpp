#include "ui/paper_choice.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ui::Paper;

TEST(PaperChoice, TheFormWithinOneMillimetreAsListedBeforeTurned) {
  std::vector<Paper> papers = {
      {9, 2100, 2970, "A4"}, {300, 1270, 2200, "Waybill turned"}, {301, 2205, 1265, "Waybill"}};
  auto chosen = ui::choose_paper(papers, 2200, 1270);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->id, 301);
  EXPECT_FALSE(chosen->landscape);

  papers.pop_back();
  chosen = ui::choose_paper(papers, 2200, 1270);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->id, 300);
  EXPECT_TRUE(chosen->landscape);
}

TEST(PaperChoice, NothingOutsideTheTolerance) {
  std::vector<Paper> papers = {{9, 2100, 2970, "A4"}, {256, 2211, 1270, "almost"}};
  EXPECT_FALSE(ui::choose_paper(papers, 2200, 1270));
  EXPECT_FALSE(ui::choose_paper({}, 2200, 1270));
  EXPECT_TRUE(ui::same_page(2190, 1280, 2200, 1270));
  EXPECT_FALSE(ui::same_page(2189, 1270, 2200, 1270));
}

}  // namespace
