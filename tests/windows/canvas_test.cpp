// The canvas on a memory DC and on the test printer.
#include "ui/canvas.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/canvas_surface_win32.h"

namespace {

class CanvasOnMemory : public testing::Test {
 protected:
  void SetUp() override { canvas.bind_target(dc); }
  void TearDown() override {
    canvas.bind_target(nullptr);
    DeleteDC(dc);
  }
  HDC dc = CreateCompatibleDC(nullptr);
  ui::Canvas canvas;
};

TEST_F(CanvasOnMemory, StartsInTenthsOfMillimetresWithTransparentText) {
  EXPECT_EQ(GetMapMode(dc), MM_LOMETRIC);
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(canvas.set_mapping(), MM_LOMETRIC);
}

TEST_F(CanvasOnMemory, TextGoesDownwardsFromTheTop) {
  int x = 100, y = 500;
  canvas.move_pen(&x, &y);
  POINT p{};
  GetCurrentPositionEx(dc, &p);
  EXPECT_EQ(p.y, -500);  // 50 mm below the top in a metric mapping
  EXPECT_EQ(canvas.current_position().y, 500);
  canvas.set_mapping(MM_TEXT);
  canvas.move_pen(&x, &y);
  GetCurrentPositionEx(dc, &p);
  EXPECT_EQ(p.y, 500);
}

TEST_F(CanvasOnMemory, RectangleIsNegatedInTheCallersRecord) {
  RECT r{0, 100, 800, 400};
  canvas.write_text_in_rect("abc", r, 0);
  EXPECT_EQ(r.top, -100);
  EXPECT_EQ(r.bottom, -400);
  canvas.write_text_in_rect("abc", r, 0);  // a second call mirrors it back
  EXPECT_EQ(r.top, 100);
}

// An inch of the metric mapping is the device's pixels per inch exactly,
// and callers still count y downwards.
TEST_F(CanvasOnMemory, ScaleByResolutionIsExact) {
  canvas.scale_by_resolution();
  EXPECT_EQ(canvas.mapping(), MM_LOMETRIC);
  POINT inch{254, -254};
  LPtoDP(dc, &inch, 1);
  EXPECT_EQ(inch.x, GetDeviceCaps(dc, LOGPIXELSX));
  EXPECT_EQ(inch.y, GetDeviceCaps(dc, LOGPIXELSY));
  canvas.set_mapping(MM_TEXT);
  canvas.scale_by_resolution();  // nothing to do without a metric mapping
  EXPECT_EQ(GetMapMode(dc), MM_TEXT);
}

TEST(Canvas, ConvertUnitsNeedsATargetAndAMetricMapping) {
  ui::Canvas canvas;
  EXPECT_EQ(canvas.convert_units(-27, 4), -27);
  HDC dc = CreateCompatibleDC(nullptr);
  canvas.bind_target(dc);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  EXPECT_EQ(canvas.convert_units(-27, 4), MulDiv(-27, 339, dpi));
  EXPECT_EQ(canvas.convert_units(-27, 9), -27);
  canvas.set_mapping(MM_TEXT);
  EXPECT_EQ(canvas.convert_units(-27, 4), -27);
  canvas.bind_target(nullptr);
  DeleteDC(dc);
}

// The platform's GDI object counter reads 0 under Wine, so ownership is
// checked on the objects themselves: every font the canvas was handed or
// made is gone except the current one.
TEST_F(CanvasOnMemory, FontsNeverLeakOverManyPages) {
  std::set<HGDIOBJ> seen;
  for (int page = 0; page < 300; ++page) {
    canvas.set_mapping(MM_LOMETRIC);
    seen.insert(canvas.font());
    for (int size : {20, 18}) {
      HFONT given = app::make_print_font("宋体", size * 3, true);
      canvas.set_font(given);
      EXPECT_EQ(GetObjectType(given), 0u) << "the canvas takes the caller's font over";
      seen.insert(given);
      seen.insert(canvas.font());
      int x = 100, y = 200;
      canvas.write_text(&x, &y, "张三");
      RECT r{0, 0, 800, 300};
      canvas.write_text_in_rect("浙江省\r\n杭州市", r, 0);
    }
  }
  int alive = 0;
  for (HGDIOBJ font : seen)
    if (GetObjectType(font) != 0) ++alive;
  EXPECT_EQ(alive, 1);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), canvas.font());
}

bool test_printers_installed() {
  std::vector<std::string> printers;
  ui::Canvas::list_printers(printers);
  for (const char* name : {"slipjet-pdf", "slipjet-pdf-600", "slipjet-pdf-noform"})
    if (std::find(printers.begin(), printers.end(), name) == printers.end()) return false;
  return true;
}

TEST(CanvasOnPrinter, OpeningAgainDropsTheFirstDcAndReleaseDeletesIt) {
  if (!test_printers_installed())
    GTEST_SKIP() << "no test printers (run under scripts/testenv --cups)";
  ui::Canvas canvas;
  std::string name = "slipjet-pdf";
  int orientation = 1, width = 2200, length = 1270;
  ASSERT_TRUE(canvas.open_on_printer(&name, nullptr, &orientation, &width, &length));
  HDC first = canvas.printer_dc();
  EXPECT_EQ(GetObjectType(first), DWORD(OBJ_DC));
  ASSERT_TRUE(canvas.open_on_printer(&name, nullptr, &orientation, &width, &length));
  EXPECT_EQ(GetObjectType(first), 0u);
  HDC second = canvas.printer_dc();
  EXPECT_EQ(canvas.target_dc(), second);
  canvas.release_printer_dc();
  EXPECT_EQ(GetObjectType(second), 0u);
  EXPECT_EQ(canvas.target_dc(), nullptr);

  std::string missing = "没有这台打印机";
  EXPECT_FALSE(canvas.open_on_printer(&missing, nullptr, &orientation, &width, &length));
  EXPECT_EQ(canvas.printer_dc(), nullptr);
}

// The test queues' default paper is A4: the form is chosen by the driver's
// paper number, whatever the resolution; a queue without it says so.
TEST(CanvasOnPrinter, OpenForPaperChoosesTheFormOrSaysWhatItPrintsOn) {
  if (!test_printers_installed())
    GTEST_SKIP() << "no test printers (run under scripts/testenv --cups)";
  ui::Canvas canvas;
  for (std::string name : {"slipjet-pdf", "slipjet-pdf-600"}) {
    ui::PaperFit fit = canvas.open_for_paper(name, 2200, 1270);
    ASSERT_TRUE(fit.opened) << name;
    EXPECT_TRUE(fit.fits) << name;
    EXPECT_NEAR(fit.width, 2200, 10) << name;
    EXPECT_NEAR(fit.length, 1270, 10) << name;
    HDC dc = canvas.printer_dc();
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    EXPECT_EQ(dpi, name == "slipjet-pdf" ? 300 : 600);
    EXPECT_NEAR(MulDiv(GetDeviceCaps(dc, PHYSICALWIDTH), 254, dpi), 2200, 10) << name;
  }
  std::string noform = "slipjet-pdf-noform";
  ui::PaperFit fit = canvas.open_for_paper(noform, 2200, 1270);
  ASSERT_TRUE(fit.opened);
  EXPECT_FALSE(fit.fits);
  EXPECT_EQ(fit.paper_name, "A4");
  EXPECT_NEAR(fit.width, 2100, 10);
  EXPECT_NEAR(fit.length, 2970, 10);
  EXPECT_EQ(GetDeviceCaps(canvas.printer_dc(), LOGPIXELSY), 180);

  std::string empty;
  EXPECT_TRUE(canvas.open_for_paper(empty, 2200, 1270).fits);
  EXPECT_EQ(empty, "slipjet-pdf");  // the default printer, stored back
  std::string missing = "没有这台打印机";
  EXPECT_FALSE(canvas.open_for_paper(missing, 2200, 1270).opened);
  EXPECT_EQ(canvas.printer_dc(), nullptr);
}

TEST(CanvasOnPrinter, DefaultPrinterNameEndsAtItsTerminatingZero) {
  if (!test_printers_installed())
    GTEST_SKIP() << "no test printers (run under scripts/testenv --cups)";
  std::string name = ui::Canvas::default_printer_name();
  EXPECT_EQ(name, "slipjet-pdf");
  EXPECT_EQ(name.find('\0'), std::string::npos);
}

}  // namespace
