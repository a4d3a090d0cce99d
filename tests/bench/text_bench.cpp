// Throughput of the text operations over 1 MiB of GBK text with many
// separators, and their growth with the text length (expected: linear).
#include <benchmark/benchmark.h>

#include <string>

#include "runtime/text_ops.h"

namespace {

// GBK text of `size` bytes: two-byte characters, ASCII words, and a
// separator "," about every `period` bytes (about 100,000 in 1 MiB);
// framed by ASCII and full-width spaces.
std::string sample_text(size_t size, size_t period = 10) {
  std::string text = "\xA1\xA1  ";
  const std::string unit = "中文ab";  // 6 bytes in GBK
  while (text.size() < size - 4) {
    text += unit;
    if (text.size() % period < unit.size()) text += ',';
  }
  text.resize(size - 4);
  text += "  \xA1\xA1";
  return text;
}

const size_t mib = 1 << 20;

void set_bytes(benchmark::State& state, size_t size) {
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
  state.SetComplexityN(int64_t(size));
}

void BM_find(benchmark::State& state) {
  std::string text = sample_text(size_t(state.range(0))) + "needle";
  for (auto _ : state) benchmark::DoNotOptimize(rt::find(text, "needle"));
  set_bytes(state, text.size());
}

void BM_find_last(benchmark::State& state) {
  std::string text = "needle" + sample_text(size_t(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(rt::find_last(text, "needle"));
  set_bytes(state, text.size());
}

void BM_split(benchmark::State& state) {
  std::string text = sample_text(size_t(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(rt::split(text, ",").size());
  set_bytes(state, text.size());
}

void BM_replace_sub(benchmark::State& state) {
  std::string text = sample_text(size_t(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(rt::replace_sub(text, ",", "，", 1, INT_MAX, true).size());
  set_bytes(state, text.size());
}

void BM_trim(benchmark::State& state) {
  std::string text = sample_text(size_t(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(rt::trim(text).size());
  set_bytes(state, text.size());
}

void BM_strip_spaces(benchmark::State& state) {
  std::string text = sample_text(size_t(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(rt::strip_spaces(text).size());
  set_bytes(state, text.size());
}

// 64 KiB to 1 MiB: the fitted complexity tells linear from quadratic.
#define TEXT_BENCH(name) BENCHMARK(name)->RangeMultiplier(4)->Range(64 << 10, mib)->Complexity()

TEXT_BENCH(BM_find);
TEXT_BENCH(BM_find_last);
TEXT_BENCH(BM_split);
TEXT_BENCH(BM_replace_sub);
TEXT_BENCH(BM_trim);
TEXT_BENCH(BM_strip_spaces);

}  // namespace

BENCHMARK_MAIN();
