#!/usr/bin/env python3
"""slipjet-cli recognise, parse-address and layout from the outside: UTF-8 pages in,
JSON out, item codes from --cfg, exit statuses. Usage: cli_test.py SLIPJET_CLI"""
import json
import pathlib
import subprocess
import sys
import tempfile
import unittest

CLI = sys.argv.pop(1) if len(sys.argv) > 1 else "slipjet-cli"
CRLF = "\r\n"


def run(*args, stdin=None):
    return subprocess.run([CLI, "recognise", *args], input=stdin, capture_output=True)


class RecogniseCommand(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.path = pathlib.Path(self.dir.name)
        self.cfg = self.path / "cfg.ini"
        self.cfg.write_bytes("[baobeibiaotidaihao]\r\n运动鞋=S1\r\n".encode("gbk"))

    def tearDown(self):
        self.dir.cleanup()

    def recognise(self, text, *extra):
        page = self.path / "page.txt"
        page.write_bytes(text.encode("utf-8"))
        result = run("--utf8", "--json", "--no-prompt", "--cfg", str(self.cfg), *extra, str(page))
        self.assertEqual(result.returncode, 0, result.stderr)
        return json.loads(result.stdout)

    def test_batch_page(self):
        order = ("关闭订单详情" + CRLF + "订单编号：9001 买家：amy" + CRLF + "买家留言：快" + CRLF +
                 "运动鞋" + CRLF + "鞋码: 40" + CRLF + "颜色分类: 白色" + CRLF + "单价 ×1双" + CRLF +
                 "收货信息：江苏省 南京市 玄武区 中山路1号 ，210000，赵六，13511112222 修改收货信息" + CRLF)
        page = ("第三步确认收货信息并填写运单号" + CRLF + order + order.replace("赵六", "钱七") +
                "填写运单号后确认，交易状态就会变成更改为")
        out = self.recognise(page)
        self.assertEqual(out["status"], "获取成功 2 条！ [批量页]")
        self.assertEqual(out["name"], "赵六")
        self.assertEqual(out["mobile"], "13511112222")
        self.assertEqual(out["address"], "江苏省南京市玄武区中山路1号")
        self.assertEqual(out["goods"], "S1_白色_40×1双▅")
        self.assertTrue(out["batch_print"])
        self.assertEqual([r["summary"] for r in out["records"]], ["9001__amy__快"] * 2)
        self.assertIn("钱七", out["records"][1]["line"])

    def test_short_kinds(self):
        ship = self.recognise("浙江省 杭州市 西湖区 文三路100号 ，310000，张三，0571-88886666 13812345678")
        self.assertEqual((ship["status"], ship["name"], ship["fixed"], ship["mobile"]),
                         ("已识别 1 个 [发货页]", "张三", "0571-88886666", "13812345678"))
        chat = self.recognise("张三  手机：13812345678 固话：0571-88886666 浙江省杭州市西湖区文三路100号 (310000)")
        self.assertEqual((chat["status"], chat["address"]), ("已识别 1 个 [旺旺窗口]", "浙江省杭州市西湖区文三路100号"))
        detail = self.recognise("张三，13812345678，浙江省 杭州市 西湖区 文三路100号 ，310000")
        self.assertEqual((detail["status"], detail["mobile"]), ("已识别 1 个 [详情页]", "13812345678"))

    def test_text_of_no_kind_says_so_and_empties_the_boxes(self):
        out = self.recognise("这段文字不属于任何一种页面，也没有可识别的结尾标记 abc")
        self.assertEqual(out["status"], "获取未成功 -未知")
        self.assertEqual([out[k] for k in ("name", "mobile", "fixed", "address", "goods")], [""] * 5)
        self.assertFalse(out["batch_print"])
        self.assertEqual(out["records"], [])

    def test_gbk_input_and_text_output(self):
        page = self.path / "page.txt"
        page.write_bytes("浙江省 杭州市 西湖区 文三路100号 ，310000，张三，13812345678".encode("gbk"))
        result = run("--no-prompt", str(page))
        self.assertEqual(result.returncode, 0)
        self.assertIn("status:  已识别 1 个 [发货页]".encode("gbk"), result.stdout)
        result = run("--utf8", stdin=page.read_bytes().decode("gbk").encode("utf-8"))
        self.assertIn("name:    张三".encode("utf-8"), result.stdout)

    def test_bad_usage_and_unreadable_input(self):
        for args in (["--bogus"], ["a", "b"], ["--cfg"]):
            result = run(*args)
            self.assertEqual(result.returncode, 2, args)
            self.assertIn(b"usage", result.stderr)
        result = run(str(self.path / "missing.txt"))
        self.assertEqual(result.returncode, 2)
        self.assertIn(b"cannot read", result.stderr)


    def test_recipient_of_no_page_kind_shown_as_the_window_would(self):
        out = self.recognise("张三，13800138000，浙江省杭州市西湖区文三路100号")
        self.assertEqual((out["status"], out["name"], out["mobile"], out["address"]),
                         ("已识别 1 个 [智能识别]", "张三", "13800138000", "浙江省杭州市西湖区文三路100号"))
        out = self.recognise("张三 13800138000 浙江省杭州市西湖区文三路100号\n"
                             "李四 13912345678 江苏省南京市鼓楼区中山路18号\n")
        self.assertEqual(out["status"], "获取成功 2 条！ [智能识别]")
        self.assertTrue(out["batch_print"])
        self.assertIn("李四", out["records"][1]["line"])


class ParseAddressCommand(unittest.TestCase):
    FIELDS = ["name", "mobile", "phone", "postcode", "province", "city", "district", "detail"]

    def parse(self, text, *args, status=0):
        result = subprocess.run([CLI, "parse-address", "--utf8", *args], input=text.encode("utf-8"),
                                capture_output=True)
        self.assertEqual(result.returncode, status, result.stderr)
        return result.stdout.decode("utf-8")

    def test_the_eight_fields_as_json(self):
        out = json.loads(self.parse("广西南宁良庆区五象航洋城38楼马云15000000000", "--json"))
        self.assertEqual(list(out), self.FIELDS + ["check"])
        self.assertEqual(list(out.values()), ["马云", "15000000000", "", "", "广西壮族自治区",
                                              "南宁市", "良庆区", "五象航洋城38楼", ["name"]])

    def test_a_list_is_an_array(self):
        out = json.loads(self.parse("张三 13800138000 浙江省杭州市西湖区文三路100号\n"
                                    "李四 13500001234-8888 江苏省南京市鼓楼区中山路18号\n", "--json"))
        self.assertEqual([r["name"] for r in out], ["张三", "李四"])
        self.assertEqual(out[1]["mobile"], "13500001234-8888")

    def test_text_output_and_nothing_found(self):
        out = self.parse("张三 138****8000 北京市朝阳区建国路88号")
        self.assertIn("province:  北京市", out)
        self.assertIn("masked:    138****8000", out)
        self.assertEqual(self.parse("没有收件人的一句话", status=1), "")
        empty = json.loads(self.parse("没有收件人的一句话", "--json", status=1))
        self.assertEqual(list(empty.values()), [""] * 8 + [[]])
        result = subprocess.run([CLI, "parse-address", "--bogus"], capture_output=True)
        self.assertEqual(result.returncode, 2)


class LayoutCommand(unittest.TestCase):
    def layout(self, *args):
        result = subprocess.run([CLI, "layout", "--utf8", "--json", *args], capture_output=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        return json.loads(result.stdout)

    def test_builtin_template_with_offsets(self):
        items = self.layout("--template", "1", "--cfg", "/nonexistent/cfg.ini", "--left", "5",
                            "--top", "3.9", "--name", "赵六", "--address", "广东省\\n深圳市",
                            "--date", "2015.7.5")
        self.assertEqual(len(items), 10)
        self.assertEqual((items[0]["x"], items[0]["y"], items[0]["text"]), (1250, 289, "赵六"))  # 3.9 mm is 39 tenths
        self.assertEqual([i["font_size"] for i in items], [20] * 7 + [18] * 3)
        self.assertEqual([i["kind"] for i in items], ["point"] * 7 + ["box"] * 2 + ["point"])
        self.assertEqual((items[8]["x"], items[8]["y"], items[8]["width"], items[8]["height"]),
                         (1230, 439, 800, 300))
        self.assertEqual(items[8]["text"], "广东省\r\n深圳市")
        self.assertEqual((items[9]["x"], items[9]["y"], items[9]["text"]), (250, 89, "2015.7.5"))

    def test_short_row_counts_missing_values_as_zero(self):
        items = self.layout("--row", "短,7,8")
        self.assertEqual((items[4]["x"], items[4]["y"]), (7, 8))  # sender name: f1, f2
        self.assertEqual((items[0]["x"], items[0]["y"]), (0, 0))

    def test_bad_usage(self):
        for args in ([], ["--row", "a", "--template", "1"], ["--left"], ["--row", "a", "--x", "1"]):
            result = subprocess.run([CLI, "layout", *args], capture_output=True)
            self.assertEqual(result.returncode, 2, args)


if __name__ == "__main__":
    unittest.main()
