// Adding image files: the dialog's type list, the image files of a dropped
// folder and their order, the loop over the files with the carried
// placement cursor, and the one message naming the files not added.

#include "app/add_images.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "project/project_texts.h"
#include "project_fakes_for_app.h"

namespace piconel {
namespace {

// 画像ファイル (*.bmp;*.png;*.gif)
constexpr char kImageFilesName[] =
    "\x89\xe6\x91\x9c\x83\x74\x83\x40\x83\x43\x83\x8b (*.bmp;*.png;*.gif)";
// 次のファイルは追加できませんでした。
constexpr char kHeading[] =
    "\x8e\x9f\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcd\x92\xc7\x89\xc1\x82\xc5\x82\xab\x82"
    "\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
// 読み込めません
constexpr char kUnreadable[] = "\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1";

TEST(ImageFilters, ImageFilesFirstThenAllFilesThenThePlugins) {
  ImageFilters filters;
  build_image_filters(filters, [](std::span<char> rest) {
    const char pairs[] = "PNG\0*.png\0GIF\0*.gif;*.agif\0";  // and the closing zero
    std::memcpy(rest.data(), pairs, sizeof(pairs));
    return sizeof(pairs);
  });
  ASSERT_EQ(filters.pairs.size(), 4u);
  EXPECT_EQ(filters.pairs[0].description, kImageFilesName);
  EXPECT_EQ(filters.pairs[0].pattern, "*.bmp;*.png;*.gif");
  EXPECT_EQ(filters.pairs[1].description, project_texts::kAllFilesFilterName);
  EXPECT_EQ(filters.pairs[1].pattern, "*.*");
  EXPECT_EQ(filters.pairs[2].description, "PNG");
  EXPECT_EQ(filters.pairs[3].pattern, "*.gif;*.agif");

  // No plug-ins, and a writer that fills its whole span without a closing
  // zero: the reader stops at the buffer's end.
  ImageFilters none;
  build_image_filters(none, nullptr);
  EXPECT_EQ(none.pairs.size(), 2u);
  ImageFilters full;
  build_image_filters(full, [](std::span<char> rest) {
    std::memset(rest.data(), 'x', rest.size());
    return rest.size();
  });
  EXPECT_EQ(full.pairs.size(), 2u);
}

TEST(DroppedFolder, ImageFilesByExtensionInNameOrder) {
  const auto claims_jpg = [](std::string_view extension) { return extension == ".jpg"; };
  struct Case {
    const char* name;
    bool image;
  };
  const Case cases[] = {{"C:\\f\\a.BMP", true},  {"C:\\f\\b.png", true},
                        {"C:\\f\\c.Gif", true},  {"C:\\f\\d.jpg", true},
                        {"C:\\f\\e.txt", false}, {"C:\\f\\bmp", false},
                        {"C:\\f.png\\x", false}, {"C:\\f\\\x83\x5c.gif", true}};  // ソ.gif
  for (const Case& c : cases) {
    EXPECT_EQ(is_image_file_name(c.name, claims_jpg), c.image) << c.name;
  }
  EXPECT_FALSE(is_image_file_name("C:\\f\\d.jpg", nullptr));

  // Letters without case; the second byte of ソ (0x5C) and of ア (0x41 in
  // "\x83\x41") is never folded or taken for anything else.
  std::vector<ChosenFile> files = {{"C:\\f\\b.bmp"},        {"C:\\f\\A.bmp"},
                                   {"C:\\f\\\x83\x5c.bmp"}, {"C:\\f\\\x83\x41.bmp"},
                                   {"C:\\f\\a2.bmp"},       {"C:\\f\\10.bmp"}};
  sort_by_name(files);
  std::vector<std::string> order;
  for (const ChosenFile& file : files) {
    order.push_back(file.path);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"C:\\f\\10.bmp", "C:\\f\\A.bmp", "C:\\f\\a2.bmp",
                                             "C:\\f\\b.bmp", "C:\\f\\\x83\x41.bmp",
                                             "C:\\f\\\x83\x5c.bmp"}));
}

TEST(AddImageFiles, CarriesTheCursorAndCollectsWhatWasNotAdded) {
  std::vector<std::string> opened;
  std::vector<std::pair<int, int>> starts;
  const std::vector<ChosenFile> files = {
      {"C:\\a.bmp"},
      {"C:\\x=y.bmp"},
      {"C:\\gone.bmp"},
      {"C:\\Jos?.bmp", NameProblem::WithoutCp932},
      {"C:\\long.bmp", NameProblem::TooLong},
      {"C:\\b.bmp"},
      {"C:\\full.bmp"},
  };
  PlacementCursor cursor;
  std::vector<NotAddedFile> not_added;
  const int added = add_image_files(
      files, &cursor,
      [&](std::string_view path, PlacementCursor* at) {
        opened.emplace_back(path);
        starts.emplace_back(at->x, at->y);
        if (path == "C:\\gone.bmp") {
          return AddOutcome::Unreadable;
        }
        if (path == "C:\\full.bmp") {
          return AddOutcome::PageFull;
        }
        at->x += 32;
        return AddOutcome::Added;
      },
      not_added);
  EXPECT_EQ(added, 2);
  // Refused names are never read.
  EXPECT_EQ(opened,
            (std::vector<std::string>{"C:\\a.bmp", "C:\\gone.bmp", "C:\\b.bmp", "C:\\full.bmp"}));
  EXPECT_EQ(starts, (std::vector<std::pair<int, int>>{{0, 0}, {32, 0}, {32, 0}, {64, 0}}));
  ASSERT_EQ(not_added.size(), 5u);
  const NotAddedReason reasons[] = {NotAddedReason::Unstorable, NotAddedReason::Unreadable,
                                    NotAddedReason::WithoutCp932, NotAddedReason::TooLong,
                                    NotAddedReason::PageFull};
  for (std::size_t i = 0; i < not_added.size(); ++i) {
    EXPECT_EQ(not_added[i].reason, reasons[i]) << i;
  }
  EXPECT_EQ(not_added[0].name, "C:\\x=y.bmp");
}

TEST(NotAddedMessage, NamesTenFilesThenCountsTheRest) {
  std::vector<NotAddedFile> files;
  for (int i = 0; i < 13; ++i) {
    files.push_back({"C:\\f" + std::to_string(i) + ".bmp", NotAddedReason::Unreadable});
  }
  struct Case {
    std::size_t count;
    std::size_t lines;      // after the heading and the blank line
    const char* last_line;  // nullptr: the last file's line
  };
  // …他1件 / …他3件
  const Case cases[] = {{1, 1, nullptr},
                        {10, 10, nullptr},
                        {11, 11,
                         "\x81\x63\x91\xbc"
                         "1\x8c\x8f"},
                        {13, 11,
                         "\x81\x63\x91\xbc"
                         "3\x8c\x8f"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    const std::string text = not_added_message(std::span(files).first(c.count));
    ASSERT_EQ(text.rfind(std::string(kHeading) + "\r\n\r\n", 0), 0u);
    std::vector<std::string> lines;
    std::size_t at = std::string(kHeading).size() + 4;
    while (at <= text.size()) {
      const std::size_t end = std::min(text.find("\r\n", at), text.size());
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    ASSERT_EQ(lines.size(), c.lines);
    EXPECT_EQ(lines.front(), std::string("C:\\f0.bmp (") + kUnreadable + ")");
    if (c.last_line != nullptr) {
      EXPECT_EQ(lines.back(), c.last_line);
    } else {
      EXPECT_EQ(lines.back().substr(0, 4), "C:\\f");
    }
  }

  RecordingPrompter prompter;
  report_not_added(prompter, {});
  EXPECT_TRUE(prompter.texts.empty());
  report_not_added(prompter, std::span(files).first(2));
  ASSERT_EQ(prompter.texts.size(), 1u);
  EXPECT_NE(prompter.texts[0].find("C:\\f1.bmp"), std::string::npos);
}

// The scripted prompter's several files arrive in the dialog's order.
TEST(ScriptedPrompter, SeveralFilesComeBackInTheDialogsOrder) {
  RecordingPrompter prompter;
  prompter.next_files = {{"C:\\b.bmp"}, {"C:\\a.bmp"}};
  std::vector<ChosenFile> files;
  ASSERT_TRUE(prompter.ask_file_names("caption", {}, files));
  EXPECT_EQ(files, prompter.next_files);
  // Without a script for several, the single-file dialog answers.
  prompter.next_files.clear();
  prompter.next_file = "C:\\one.bmp";
  ASSERT_TRUE(prompter.ask_file_names("caption", {}, files));
  EXPECT_EQ(files, (std::vector<ChosenFile>{{"C:\\one.bmp"}}));
}

}  // namespace
}  // namespace piconel
