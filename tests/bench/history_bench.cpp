// The print history of a busy seller: 100,000 log lines read (must stay
// well under 200 ms, the figure under Wine), filtered by a text, and the
// incremental read after one more waybill.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "print/history.h"

namespace {

std::string history_file(int lines) {
  std::string path = (std::filesystem::temp_directory_path() / "slipjet-bench-history.txt").string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (int i = 0; i < lines; ++i)
    out << "2026." << 1 + i % 12 << "." << 1 + i % 28 << "；客户" << i << "；广东省深圳市南山区科技园路"
        << i % 1000 << "号；139" << 10000000 + i << "；；运动鞋" << i % 20 << "_黑色_40×1双▅\r\n";
  return path;
}

void BM_read_100000_lines(benchmark::State& state) {
  std::string path = history_file(100000);
  for (auto _ : state) {
    print::History history(path);
    history.refresh();
    benchmark::DoNotOptimize(history.entries().size());
  }
}
BENCHMARK(BM_read_100000_lines)->Unit(benchmark::kMillisecond);

void BM_filter_100000_lines(benchmark::State& state) {
  print::History history(history_file(100000));
  history.refresh();
  for (auto _ : state) {
    size_t found = 0;
    for (const print::HistoryEntry& e : history.entries())
      found += print::contains_text(e.line, "客户99999");
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_filter_100000_lines)->Unit(benchmark::kMillisecond);

void BM_refresh_after_one_more_waybill(benchmark::State& state) {
  std::string path = history_file(100000);
  print::History history(path);
  history.refresh();
  for (auto _ : state) {
    std::ofstream(path, std::ios::binary | std::ios::app)
        << "2026.12.8；张三；浙江省杭州市西湖区文三路100号；13812345678；；A1▅\r\n";
    history.refresh();
  }
}
BENCHMARK(BM_refresh_after_one_more_waybill)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
