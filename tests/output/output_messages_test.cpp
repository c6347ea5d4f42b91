#include "output/output_messages.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace piconel {
namespace {

// 出力しました:
const std::string kDone = "\x8f\x6f\x97\xcd\x82\xb5\x82\xdc\x82\xb5\x82\xbd: ";
// ページ →
const std::string kPagesTo = "\x83\x79\x81\x5b\x83\x57 \x81\xa8 ";

TEST(OutputSummary, SaysWhatWasWrittenWhereAndHowManyFailed) {
  struct Case {
    int pages;
    std::vector<std::string> failed_pages;
    std::vector<std::string> failed_files;
    std::string expected;
  };
  const std::string folder = "C:\\work\\\x83\x5c\x81\x5b\x83\x58\\out";  // C:\work\ソース\out
  const Case cases[] = {
      {3, {}, {}, kDone + "3" + kPagesTo + folder},
      {0, {}, {}, kDone + "0" + kPagesTo + folder},
      // （失敗 2件）: pages and table files together.
      {2,
       {"two"},
       {"imgidx.h"},
       kDone + "2" + kPagesTo + folder + "\x81\x69\x8e\xb8\x94\x73 2\x8c\x8f\x81\x6a"},
  };
  for (const Case& c : cases) {
    OutputRunResult result;
    result.ran = true;
    result.pages_output = c.pages;
    result.failed_pages = c.failed_pages;
    result.failed_files = c.failed_files;
    EXPECT_EQ(output_summary(result, folder), c.expected);
  }
}

TEST(PageErrorMessage, FirstLineNamesThePageTheSecondWhy) {
  // ページ出力エラー(p)
  const std::string heading = "\x83\x79\x81\x5b\x83\x57\x8f\x6f\x97\xcd\x83\x47\x83\x89\x81\x5b(p)";
  PagePassResult pass;
  pass.failure = PageFailure::FileNotWritten;
  pass.failed_file = "C:\\out\\p.bmp";
  pass.file_error = 0;  // no system reason: 書き込めませんでした
  EXPECT_EQ(page_error_message("p", pass),
            heading +
                "\nC:\\out\\p.bmp: \x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1\x82\xc5"
                "\x82\xb5\x82\xbd");
  // A page failing for no known reason keeps the one line.
  EXPECT_EQ(page_error_message("p", PagePassResult{}), heading);
  // Every reason gives a second line.
  for (const PageFailure failure :
       {PageFailure::NoMemory, PageFailure::SheetSize, PageFailure::TooManyImages,
        PageFailure::BadFileName, PageFailure::TooManyPages}) {
    pass.failure = failure;
    const std::string text = page_error_message("p", pass);
    EXPECT_GT(text.size(), heading.size() + 1);
    EXPECT_EQ(text.substr(0, heading.size() + 1), heading + "\n");
  }
}

}  // namespace
}  // namespace piconel
