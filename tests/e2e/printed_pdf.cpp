#include "tests/e2e/printed_pdf.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "runtime/text_encoding.h"

namespace {

// The folder as Wine sees it (drive Z: is the host's root).
std::string pdf_folder() {
  const char* unix_dir = std::getenv("SLIPJET_PDF_DIR");
  std::string dir = std::string("Z:") + (unix_dir ? unix_dir : "/root/PDF");
  std::replace(dir.begin(), dir.end(), '/', '\\');
  return dir;
}

std::string unix_path(std::string windows_path) {
  std::replace(windows_path.begin(), windows_path.end(), '\\', '/');
  return windows_path.substr(2);  // drop "Z:"
}


// The job number in cups-pdf's file name ("...-job_12.pdf").
int job_number(const std::string& path) {
  size_t at = path.rfind("job_");
  return at == std::string::npos ? 0 : std::atoi(path.c_str() + at + 4);
}

constexpr double kMmPerPoint = 25.4 / 72;

// pdftotext writes XHTML: its entities back to characters.
std::string unescaped(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (auto [entity, character] : entities)
    for (size_t at = 0; (at = text.find(entity, at)) != std::string::npos; ++at)
      text.replace(at, std::strlen(entity), character);
  return text;
}

}  // namespace

bool run_host(const std::string& shell_command) {
  std::string command = "/bin/sh -c \"" + shell_command + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return true;
}

const PrintedWord* PrintedPage::find(const std::string& gbk) const {
  for (const PrintedWord& w : words)
    if (w.gbk == gbk) return &w;
  return nullptr;
}

std::vector<std::string> printed_pdfs() {
  std::vector<std::string> files;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(pdf_folder(), ignored))
    if (entry.path().extension() == ".pdf") files.push_back(entry.path().string());
  std::sort(files.begin(), files.end(),
            [](const auto& a, const auto& b) { return job_number(a) < job_number(b); });
  return files;
}

void clear_printed_pdfs() {
  for (const std::string& f : printed_pdfs()) std::filesystem::remove(f);
}

bool wait_for_pdfs(size_t count, int ms) {
  for (int waited = 0; waited < ms; waited += 200) {
    std::vector<std::string> files = printed_pdfs();
    // A PDF is complete once it ends with its end-of-file marker.
    size_t complete = 0;
    for (const std::string& f : files) {
      std::ifstream in(f, std::ios::binary);
      std::string data((std::istreambuf_iterator<char>(in)), {});
      if (data.find("%%EOF") != std::string::npos) ++complete;
    }
    if (complete >= count) return true;
    Sleep(200);
  }
  return false;
}

// Runs a host program that writes `out` (a Windows path) and returns what
// it wrote; `command` writes to the path it is given.
std::string host_output(const std::string& out, const std::string& command) {
  std::filesystem::remove(out);
  run_host(command + " '" + unix_path(out) + ".part' && mv '" + unix_path(out) + ".part' '" +
           unix_path(out) + "'");
  // Wine does not wait for host programs: wait for the finished file.
  std::string bytes;
  for (int waited = 0; waited < 20000 && bytes.empty(); waited += 100) {
    std::ifstream in(out, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (bytes.empty()) Sleep(100);
  }
  std::filesystem::remove(out);
  return bytes;
}

PrintedPage read_pdf(const std::string& windows_path) {
  std::string html =
      host_output(windows_path + ".html", "pdftotext -bbox '" + unix_path(windows_path) + "'");
  PrintedPage page;
  std::smatch m;
  if (std::regex_search(html, m, std::regex(R"re(<page width="([\d.]+)" height="([\d.]+)")re"))) {
    page.width_mm = std::stod(m[1]) * kMmPerPoint;
    page.height_mm = std::stod(m[2]) * kMmPerPoint;
  }
  std::regex word(
      R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator();
       ++it) {
    auto mm = [&](int i) { return std::stod((*it)[i]) * kMmPerPoint; };
    page.words.push_back(
        PrintedWord{mm(1), mm(2), mm(3) - mm(1), mm(4) - mm(2), rt::from_utf8(unescaped((*it)[5]))});
  }
  return page;
}

PrintedImage render_pdf(const std::string& windows_path, int dpi) {
  // pdftoppm writes one page to standard output as a binary greymap (P5).
  std::string pgm =
      host_output(windows_path + ".pgm", "pdftoppm -gray -singlefile -r " + std::to_string(dpi) +
                                             " '" + unix_path(windows_path) + "' >");
  PrintedImage image;
  image.dpi = dpi;
  int max = 0, used = 0;
  if (std::sscanf(pgm.c_str(), "P5 %d %d %d%n", &image.width, &image.height, &max, &used) != 3)
    return image;
  size_t start = size_t(used) + 1;  // one white-space byte after the header
  size_t size = size_t(image.width) * size_t(image.height);
  if (pgm.size() >= start + size)
    image.grey.assign(pgm.begin() + long(start), pgm.begin() + long(start + size));
  return image;
}

bool PrintedImage::inked(double left_mm, double top_mm, double right_mm, double bottom_mm) const {
  auto px = [&](double mm, int limit) { return std::clamp(int(mm / 25.4 * dpi), 0, limit); };
  if (grey.empty()) return false;
  for (int y = px(top_mm, height); y < px(bottom_mm, height); ++y)
    for (int x = px(left_mm, width); x < px(right_mm, width); ++x)
      if (grey[size_t(y) * size_t(width) + size_t(x)] < 128) return true;
  return false;
}
