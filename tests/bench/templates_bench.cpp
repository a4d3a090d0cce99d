// Writing 10, 64 and 1,000 template rows into the settings file and filling
// the template list from them; both expected to grow linearly with the rows
// (one read and one write of the file, not one rewrite per row).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/templates.h"
#include "view/memory_view.h"

namespace {

std::string fresh_settings() {
  std::string path = (std::filesystem::temp_directory_path() / "slipjet-bench-rows.ini").string();
  std::filesystem::remove(path);
  return path;
}

std::vector<std::string> rows(int count, int variant) {
  std::vector<std::string> made;
  for (int i = 0; i < count; ++i)
    made.push_back(
        "快递" + std::to_string(i) + "," + std::to_string(variant) +
        ",250,690,600,360,600,260,400,1200,250,1600,600,1260,600,1180,400,200,0,200,50,,,");
  return made;
}

void BM_write_template_rows(benchmark::State& state) {
  std::string path = fresh_settings();
  std::vector<std::string> first = rows(int(state.range(0)), 1),
                           second = rows(int(state.range(0)), 2);
  bool flip = false;
  for (auto _ : state) {
    // Alternate, so every pass really writes.
    benchmark::DoNotOptimize(app::write_template_rows(path, (flip = !flip) ? first : second));
  }
  state.SetComplexityN(state.range(0));
  std::filesystem::remove(path);
}
BENCHMARK(BM_write_template_rows)->Arg(10)->Arg(64)->Arg(1000)->Complexity(benchmark::oN);

void BM_fill_template_list(benchmark::State& state) {
  std::string path = fresh_settings();
  app::write_template_rows(path, rows(int(state.range(0)), 1));
  view::MemoryView view;
  for (auto _ : state) app::fill_template_list(view, path);
  state.SetComplexityN(state.range(0));
  std::filesystem::remove(path);
}
BENCHMARK(BM_fill_template_list)->Arg(10)->Arg(64)->Arg(1000)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
