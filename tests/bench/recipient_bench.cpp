// The address parser on 10,000 recipient texts of the shapes sellers paste
// (must stay under 100 ms natively), and the division table's one-time load.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "recipient/divisions.h"
#include "recipient/parser.h"

namespace {

std::vector<std::string> texts(size_t n) {
  const std::vector<std::string> shapes = {
      "张三，1380013{i}，浙江省杭州市西湖区文三路{i}号",
      "收货人: 李丽 手机号码: 1316666{i} 所在地区: 上海市黄浦区 详细地址: 南苏州路{i}号",
      "深圳市宝安区盘山路{i}号幸福茶庄,王五，1777777{i}",
      "广西南宁良庆区五象航洋城{i}楼马云1500000{i}",
      "王晓光 万州区 太平镇{i}号，1331111{i}",
      "姓名：赵六\n电话：0571-8888{i}\n地址：廣東省東莞市虎門鎮人民路{i}號",
  };
  std::vector<std::string> out;
  for (size_t i = 0; i < n; ++i) {
    std::string text = shapes[i % shapes.size()];
    std::string number = std::to_string(1000 + i % 9000);
    for (size_t at; (at = text.find("{i}")) != std::string::npos;) text.replace(at, 3, number);
    out.push_back(text);
  }
  return out;
}

void BM_parse_10000_recipients(benchmark::State& state) {
  recipient::divisions();  // loaded once, outside the measurement
  std::vector<std::string> input = texts(10000);
  for (auto _ : state)
    for (const std::string& text : input) benchmark::DoNotOptimize(recipient::parse_recipient(text));
}
BENCHMARK(BM_parse_10000_recipients)->Unit(benchmark::kMillisecond);

// A long copied page that holds no recipient (a whole web page, say): the
// parser must give up quickly rather than freeze the window.
void BM_parse_64k_page_of_no_recipient(benchmark::State& state) {
  std::string page;
  while (page.size() < 65536) page += "本店所有商品均为正品，支持七天无理由退换货，欢迎选购。\n";
  for (auto _ : state) benchmark::DoNotOptimize(recipient::parse_recipients(page));
}
BENCHMARK(BM_parse_64k_page_of_no_recipient)->Unit(benchmark::kMillisecond);

void BM_load_division_table(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(recipient::Divisions());
}
BENCHMARK(BM_load_division_table)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
