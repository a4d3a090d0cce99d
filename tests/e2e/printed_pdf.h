// The PDFs the test printer writes, read back through poppler's tools
// (host programs, which Wine starts like its own).
#pragma once

#include <string>
#include <vector>

struct PrintedWord {
  double x_mm, y_mm;  // top-left corner, from the page's top-left
  double width_mm, height_mm;
  std::string gbk;  // the program's bytes (GB 18030)
};

struct PrintedPage {
  double width_mm = 0, height_mm = 0;
  std::vector<PrintedWord> words;
  // The word of this text, or null.
  const PrintedWord* find(const std::string& gbk) const;
};

// Starts a host shell command (without waiting for it).
bool run_host(const std::string& shell_command);

// The PDF folder's files in job order.
std::vector<std::string> printed_pdfs();
void clear_printed_pdfs();
// Waits until at least `count` PDFs are complete.
bool wait_for_pdfs(size_t count, int ms = 30000);
PrintedPage read_pdf(const std::string& windows_path);

// The page as grey pixels (0 black, 255 white), `dpi` pixels per inch.
struct PrintedImage {
  int width = 0, height = 0, dpi = 0;
  std::vector<unsigned char> grey;
  // Whether anything is drawn in the rectangle (millimetres from the top-left).
  bool inked(double left_mm, double top_mm, double right_mm, double bottom_mm) const;
};
PrintedImage render_pdf(const std::string& windows_path, int dpi = 100);
