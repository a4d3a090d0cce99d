// Release signatures checked with the system's cryptography against the
// test release key the test build carries.
#include "app/release_signature.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/files.h"

namespace {

std::string fixture(const char* name) {
  return rt::read_file(std::string("Z:") + SLIPJET_RELEASE_FIXTURES + "/" + name).value_or("");
}

TEST(ReleaseSignature, OnlyTheReleaseKeysSignatureOfTheSameBytesVerifies) {
  std::string image = fixture("slipjet.exe");
  std::string good = fixture("slipjet.exe.sig");
  ASSERT_GT(image.size(), 100000u);
  ASSERT_EQ(good.size(), app::kSignatureSize);
  EXPECT_TRUE(app::verify_release_signature(image, good));

  EXPECT_FALSE(app::verify_release_signature(image, fixture("slipjet.exe.other-key.sig")));
  std::string flipped = image;
  flipped[flipped.size() / 2] ^= 1;
  EXPECT_FALSE(app::verify_release_signature(flipped, good));
  EXPECT_FALSE(app::verify_release_signature(image.substr(0, image.size() - 1), good));
  std::string bad_signature = good;
  bad_signature[5] ^= 0x40;
  EXPECT_FALSE(app::verify_release_signature(image, bad_signature));
  EXPECT_FALSE(app::verify_release_signature(image, good.substr(0, 63)));
  EXPECT_FALSE(app::verify_release_signature(image, good + "x"));
  EXPECT_FALSE(app::verify_release_signature(image, ""));
  EXPECT_FALSE(app::verify_release_signature(image, std::string(64, '\0')));
  EXPECT_FALSE(app::verify_release_signature("", good));
}

}  // namespace
