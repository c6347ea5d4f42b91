// The resource script stays ASCII, comments included, so any resource
// compiler reads it the same way; its Japanese texts are escaped CP932 bytes
// and the resources are marked Japanese. (Read from the source tree, so
// only in the native build, where that path is a plain file path.)

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace piconel {
namespace {

#ifndef _WIN32
TEST(ResourceScript, IsAsciiAndMarkedJapanese) {
  std::ifstream file(PICONEL_SOURCE_DIR "/src/app/piconel.rc", std::ios::binary);
  ASSERT_TRUE(file.is_open());
  const std::string script{std::istreambuf_iterator<char>(file), {}};
  int line = 1;
  for (const char c : script) {
    EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "line " << line;
    line += c == '\n' ? 1 : 0;
  }
  EXPECT_NE(script.find("#pragma code_page(932)"), std::string::npos);
  EXPECT_NE(script.find("LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT"), std::string::npos);
}
#endif

}  // namespace
}  // namespace piconel
