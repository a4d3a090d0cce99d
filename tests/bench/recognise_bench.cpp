// Recognition of a generated batch page of 100, 1,000 and 10,000 orders,
// each with a goods block whose item code is already stored; expected to
// grow linearly with the number of orders.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "recognize/recognizer.h"
#include "regex/support_libraries.h"
#include "runtime/settings_file.h"
#include "tests/recognize/pages.h"
#include "view/memory_view.h"

namespace {

constexpr int kTitles = 20;

std::string title(int i) { return "运动鞋款式" + std::to_string(i % kTitles); }

std::string settings_with_codes() {
  std::string path = (std::filesystem::temp_directory_path() / "slipjet-bench-cfg.ini").string();
  std::filesystem::remove(path);
  for (int i = 0; i < kTitles; ++i)
    rt::ini_write(path, "baobeibiaotidaihao", title(i), "K" + std::to_string(i));
  return path;
}

void BM_recognise_batch_page(benchmark::State& state) {
  static const bool started = (rt_start_libraries(support_libraries), true);
  (void)started;
  static const std::string settings = settings_with_codes();
  std::vector<pages::Order> orders;
  for (int i = 1; i <= state.range(0); ++i)
    orders.push_back(pages::numbered_order(i, pages::goods_block(title(i))));
  std::string page = pages::batch_page_of(orders);

  view::MemoryView view;
  view::BoxAsker asker;
  recognize::Recognizer recognizer(view, settings, asker);
  for (auto _ : state) {
    recognizer.recognise(page);
    benchmark::DoNotOptimize(recognizer.records().data());
  }
  if (recognizer.records().size() != size_t(state.range(0))) state.SkipWithError("wrong count");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(page.size()));
  state.SetComplexityN(state.range(0));
  state.counters["page_bytes"] = double(page.size());
}

BENCHMARK(BM_recognise_batch_page)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
