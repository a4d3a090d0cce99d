#!/usr/bin/env python3
"""The product preset refuses a release key whose private half is in the
repository and takes one made outside it; a build needs a key; a release
is published only as the version it was built as, and only with the key
the program trusts. Usage: release_key_test.py SOURCE"""
import pathlib
import subprocess
import sys
import tempfile
import unittest

SOURCE = pathlib.Path(sys.argv.pop(1) if len(sys.argv) > 1 else ".").resolve()


def configure_product(build, key):
    return subprocess.run(
        ["cmake", "--preset", "windows", "-B", str(build), f"-DSLIPJET_UPDATE_PUBLIC_KEY={key}"],
        cwd=SOURCE, capture_output=True, text=True)


class ProductPreset(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.path = pathlib.Path(self.dir.name)

    def tearDown(self):
        self.dir.cleanup()

    def test_refuses_the_tests_key_in_any_letter_case(self):
        key = (SOURCE / "tests/update/test-release-key.pub").read_text().strip()
        for variant in (key, key.upper()):
            result = configure_product(self.path / "build", variant)
            self.assertNotEqual(result.returncode, 0)
            said = " ".join((result.stdout + result.stderr).split())
            self.assertIn("whose private half is in this repository", said)

    def test_takes_a_key_made_outside_the_repository(self):
        pem = self.path / "release.pem"
        key = subprocess.run([str(SOURCE / "tools/release"), "key", str(pem)], check=True,
                             capture_output=True, text=True).stdout.strip()
        self.assertEqual(len(key), 128)
        result = configure_product(self.path / "build", key)
        self.assertEqual(result.returncode, 0, result.stderr)


class Build(unittest.TestCase):
    def test_stops_without_a_release_key(self):
        with tempfile.TemporaryDirectory() as folder:
            result = subprocess.run(
                [str(SOURCE / "tools/release"), "build", str(pathlib.Path(folder) / "missing.pem"),
                 "update.example.com"], capture_output=True, text=True)
            self.assertNotEqual(result.returncode, 0)
            self.assertIn("no release key pair", result.stderr)


class Publish(unittest.TestCase):
    """publish signs only a file built as the version it is published as."""

    def test_refuses_a_file_of_another_version_and_signs_its_own(self):
        with tempfile.TemporaryDirectory() as folder:
            path = pathlib.Path(folder)
            key = SOURCE / "tests/update/test-release-key.pem"
            program = path / "slipjet.exe"
            trusted = (SOURCE / "tests/update/test-release-key.pub").read_bytes().strip()
            program.write_bytes(b"MZ\0\0 slipjet-version=2.1\0 " + trusted + b"\0 rest")
            release = str(SOURCE / "tools/release")
            refused = subprocess.run([release, "publish", str(key), "2.2", str(program)],
                                     capture_output=True, text=True)
            self.assertNotEqual(refused.returncode, 0)
            self.assertIn("is version 2.1, not 2.2", refused.stderr)
            self.assertFalse((path / "slipjet.exe.manifest").exists())
            subprocess.run([release, "publish", str(key), "2.1", str(program)], check=True)
            self.assertIn(b"version=2.1\r\n", (path / "slipjet.exe.manifest").read_bytes())
            self.assertEqual((path / "slipjet.exe.manifest.sig").stat().st_size, 64)
            # A program that trusts another key would refuse the update.
            program.write_bytes(b"MZ\0\0 slipjet-version=2.1\0 " + b"0" * 128 + b"\0 rest")
            untrusted = subprocess.run([release, "publish", str(key), "2.1", str(program)],
                                       capture_output=True, text=True)
            self.assertNotEqual(untrusted.returncode, 0)
            self.assertIn("does not trust", untrusted.stderr)
            program.write_bytes(b"MZ no mark")
            unmarked = subprocess.run([release, "publish", str(key), "2.1", str(program)],
                                      capture_output=True, text=True)
            self.assertNotEqual(unmarked.returncode, 0)


if __name__ == "__main__":
    unittest.main()
