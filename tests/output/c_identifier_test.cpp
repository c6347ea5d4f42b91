#include "output/c_identifier.h"

#include <gtest/gtest.h>

namespace piconel {
namespace {

TEST(CIdentifier, WhatCompilesAsAnEnumerator) {
  const std::pair<const char*, bool> cases[] = {
      {"IMG_PAGE000_HERO", true},
      {"_x1", true},
      {"a", true},
      {"", false},
      {"1UP", false},
      {"IMG-A", false},
      {"IMG A", false},
      {"int", false},
      {"_Bool", false},
      {"Int", true},
      {"\x83\x5c", false},  // ソ
  };
  for (const auto& [name, valid] : cases) {
    EXPECT_EQ(is_c_identifier(name), valid) << name;
  }
}

TEST(CIdentifier, FromFileName) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\art\\hero_01.bmp", "HERO_01"},
      {"C:\\art\\1-up.v2.png", "_1_UP_V2"},
      {"walk cycle.gif", "WALK_CYCLE"},
      // ソード.bmp: each double-byte character is one '_', and the 0x5C
      // second byte of ソ splits nothing.
      {"C:\\art\\\x83\x5c\x81\x5b\x83\x68.bmp", "___"},
      {"C:\\art\\.bmp", ""},
  };
  for (const auto& [path, label] : cases) {
    EXPECT_EQ(c_identifier_from_file_name(path), label) << path;
  }
  EXPECT_EQ(c_identifier_from_file_name(std::string(70, 'a') + ".bmp"), std::string(63, 'A'));
}

}  // namespace
}  // namespace piconel
