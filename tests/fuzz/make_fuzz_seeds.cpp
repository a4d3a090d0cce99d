// Writes the fuzzer's seed pages (GBK) into a folder:
//   make_fuzz_seeds tests/fuzz/corpus
#include <fstream>
#include <map>
#include <string>

#include "tests/recognize/pages.h"

std::string repeated(const std::string& unit, size_t bytes) {
  std::string text;
  while (text.size() < bytes) text += unit;
  return text;
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  using namespace pages;
  Order with_goods;
  with_goods.goods = goods_block("男士休闲运动鞋") +
                     goods_block("女鞋", "鞋码： 36", "颜色分类： 红色", "单价 ×1双", "赠品：鞋垫");
  Order fixed_line = numbered_order(2);
  fixed_line.address_line =
      "上海 上海市 浦东新区 世纪大道1号 ，200120，李四，021-58881234 13987654321";
  std::vector<Order> five;
  for (int i = 1; i <= 5; ++i)
    five.push_back(numbered_order(i, goods_block("款式" + std::to_string(i))));

  const std::map<std::string, std::string> seeds = {
      {"batch-1", batch_page_of({with_goods})},
      {"batch-2", batch_page_of({with_goods, fixed_line})},
      {"batch-5", batch_page_of(five)},
      {"batch-empty", batch_page("")},
      {"whole-ship", whole_ship_page(fixed_line.address_line, with_goods.goods)},
      {"ship", "浙江省 杭州市 西湖区 文三路100号 ，310000，张三，13812345678"},
      {"ship-fixed", "浙江省 杭州市 西湖区 文三路100号 ，310000，张三，0571-88886666 13812345678"},
      {"detail", "张三，13812345678，0571-88886666浙江省 杭州市 西湖区 文三路100号 ，310000"},
      {"chat",
       "张三  手机：13812345678 固话：0571-88886666 浙江省杭州市西湖区文三路100号 (310000)"},
      {"unknown", std::string(240, 'x')},
      // Number-like runs as long as an input may be: work that grows faster
      // than the text shows as a time-out.
      {"number-runs", repeated("1*1", 60000) + repeated("11x ", 4000)},
  };
  for (const auto& [name, text] : seeds) {
    std::ofstream out(std::string(argv[1]) + "/" + name + ".txt", std::ios::binary);
    out << text;
    if (!out) return 1;
  }
  return 0;
}
