// Release signatures checked with the system's cryptography against the
// test release key the test build carries.
#include "app/release_signature.h"

#include <gtest/gtest.h>

#include <string>

#include "app/self_update.h"
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

// The manifest's hash of the program is the one the release tool wrote.
TEST(ReleaseSignature, Sha256OfTheProgramMatchesTheSignedManifest) {
  std::string image = fixture("slipjet.exe");
  auto manifest = app::parse_manifest(fixture("slipjet.exe.manifest"));
  ASSERT_TRUE(manifest);
  EXPECT_EQ(app::sha256_hex(image), manifest->sha256);
  EXPECT_EQ(manifest->length, image.size());
  EXPECT_EQ(manifest->version, "2.2");
  EXPECT_TRUE(app::verify_release_signature(fixture("slipjet.exe.manifest"),
                                            fixture("slipjet.exe.manifest.sig")));
  EXPECT_EQ(app::sha256_hex(""),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

}  // namespace
