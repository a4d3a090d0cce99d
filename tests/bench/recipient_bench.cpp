// The address parser on 10,000 recipient texts of the shapes sellers paste,
// short and as long as real ones (realistic ones within 50 ms natively), on
// hostile number-like text, and the division table's one-time load.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "recipient/divisions.h"
#include "recipient/parser.h"

namespace {

// `n` texts of the shapes in turn, each "{i}" a number of four digits.
std::vector<std::string> filled(const std::vector<std::string>& shapes, size_t n) {
  std::vector<std::string> out;
  for (size_t i = 0; i < n; ++i) {
    std::string text = shapes[i % shapes.size()];
    std::string number = std::to_string(1000 + i % 9000);
    for (size_t at; (at = text.find("{i}")) != std::string::npos;) text.replace(at, 3, number);
    out.push_back(text);
  }
  return out;
}

std::vector<std::string> texts(size_t n) {
  const std::vector<std::string> shapes = {
      "张三，1380013{i}，浙江省杭州市西湖区文三路{i}号",
      "收货人: 李丽 手机号码: 1316666{i} 所在地区: 上海市黄浦区 详细地址: 南苏州路{i}号",
      "深圳市宝安区盘山路{i}号幸福茶庄,王五，1777777{i}",
      "广西南宁良庆区五象航洋城{i}楼马云1500000{i}",
      "王晓光 万州区 太平镇{i}号，1331111{i}",
      "姓名：赵六\n电话：0571-8888{i}\n地址：廣東省東莞市虎門鎮人民路{i}號",
  };
  return filled(shapes, n);
}

// Texts as long as real ones: chat messages with a lead-in and remarks,
// spreadsheet rows with their cells, order pages with their noise; read as
// the window reads them (lists included).
std::vector<std::string> realistic_texts(size_t n) {
  const std::vector<std::string> shapes = {
      "亲，您好呀～宝贝发这里哦：浙江省杭州市西湖区文三路{i}号东方通信大厦5楼 张伟 1380013{i} "
      "麻烦尽快发货，放门卫就行，辛苦啦，谢谢老板！",
      "李娜 2026-05-06 09:12\n改一下地址哦\n收件人：李娜\n电话：1391234{i}\n"
      "地址：江苏省南京市鼓楼区中山路{i}号金鹰国际购物中心B座1203室\n下午再送，不要放快递柜",
      "{i}\t王芳\t1588888{i}\t广东省广州市天河区天河路{i}号太古汇写字楼\t男士卫衣加绒款\tXL\t2\t"
      "159.00\t加急\t510000",
      "订单编号：2026050612{i}88 下单时间：2026-05-06 09:12:33 买家留言：尽快发货 "
      "收货人：赵六 联系电话：0571-8888{i} 收货地址：廣東省東莞市虎門鎮人民路{i}號 商品：保温杯 "
      "数量：1 实付款：￥59.00 售后电话：400-820-8820",
      "周八\n1350000{i}\n四川省成都市武侯区人民南路四段{i}号\n吴九\n1890000{i}\n"
      "山东省青岛市市南区香港中路{i}号",
  };
  return filled(shapes, n);
}

void BM_parse_10000_realistic_texts(benchmark::State& state) {
  std::vector<std::string> input = realistic_texts(10000);
  recipient::parse_recipients("浙江省杭州市留下街道1号");  // the tables, towns too, loaded once
  for (auto _ : state)
    for (const std::string& text : input) benchmark::DoNotOptimize(recipient::parse_recipients(text));
}
BENCHMARK(BM_parse_10000_realistic_texts)->Unit(benchmark::kMillisecond);

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

// Hostile number-like text (200 KB pasted by mistake, or sent to break the
// program), one kind of run per figure: the parser stays linear, well
// under 50 ms each.
void BM_parse_200k_of_number_like_text(benchmark::State& state) {
  static constexpr std::string_view units[] = {"1*1", "11x", "111*", "1*1-", "1 1", "13812345678\n"};
  std::string_view unit = units[size_t(state.range(0))];
  std::string page;
  while (page.size() < 200 * 1024) page += unit;
  recipient::divisions();
  for (auto _ : state) benchmark::DoNotOptimize(recipient::parse_recipients(page));
  state.SetLabel(std::string(unit.substr(0, unit.find('\n'))));
}
BENCHMARK(BM_parse_200k_of_number_like_text)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// Hostile labelled text: labels and their values repeated, and spaced
// surnames; each stays linear too.
void BM_parse_200k_of_labelled_text(benchmark::State& state) {
  static constexpr std::string_view units[] = {"数量:2 ", "颜色:白x2 ", "电话:1234567 ", "王 李 "};
  std::string_view unit = units[size_t(state.range(0))];
  std::string page;
  while (page.size() < 200 * 1024) page += unit;
  recipient::divisions();
  for (auto _ : state) benchmark::DoNotOptimize(recipient::parse_recipients(page));
}
BENCHMARK(BM_parse_200k_of_labelled_text)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_load_division_table(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(recipient::Divisions());
}
BENCHMARK(BM_load_division_table)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
