#include "project/project_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "project/current_page.h"
#include "project/image_path_check.h"
#include "project/image_rows.h"
#include "project/page_operations.h"
#include "project_fakes.h"
#include "store/file_io.h"

namespace piconel {
namespace {

using testing::ProjectFixture;
using testing::ProjectTempFolder;
using Names = std::vector<std::string>;

// ピコネルプロジェクト
constexpr char kAppName[] =
    "\x83s\x83R\x83l\x83\x8B\x83v\x83\x8D\x83W\x83"
    "F\x83N\x83g";
// ピコネル - [game *] / ピコネル - [game] / ピコネル - [(新規)]
constexpr char kTitleGameModified[] = "\x83s\x83R\x83l\x83\x8B - [game *]";
constexpr char kTitleGame[] = "\x83s\x83R\x83l\x83\x8B - [game]";
constexpr char kTitleUntitled[] = "\x83s\x83R\x83l\x83\x8B - [(\x90V\x8BK)]";
constexpr char kTitleUntitledModified[] = "\x83s\x83R\x83l\x83\x8B - [(\x90V\x8BK) *]";
// ピコネル：プロジェクト
constexpr char kProjectCaption[] =
    "\x83s\x83R\x83l\x83\x8B\x81"
    "F\x83v\x83\x8D\x83W\x83"
    "F\x83N\x83g";
// プロジェクトの読込に失敗しました。
constexpr char kLoadFailed[] =
    "\x83v\x83\x8D\x83W\x83"
    "F\x83N\x83g\x82\xCC\x93\xC7\x8D\x9E\x82\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81"
    "B";
// ピコネル：プロジェクトの保存
constexpr char kSaveCaption[] =
    "\x83s\x83R\x83l\x83\x8B\x81"
    "F\x83v\x83\x8D\x83W\x83"
    "F\x83N\x83g\x82\xCC\x95\xDB\x91\xB6";
// プロジェクトが変更されています。\r\n保存しますか？
constexpr char kSaveQuestion[] =
    "\x83v\x83\x8D\x83W\x83"
    "F\x83N\x83g\x82\xAA\x95\xCF\x8DX\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81"
    "B\r\n\x95\xDB\x91\xB6\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81H";
// プロジェクトの保存に失敗しました。
constexpr char kSaveFailed[] =
    "\x83v\x83\x8D\x83W\x83"
    "F\x83N\x83g\x82\xCC\x95\xDB\x91\xB6\x82\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81"
    "B";
// ピコネル：プロジェクトを開く
constexpr char kOpenCaption[] =
    "\x83s\x83R\x83l\x83\x8B\x81"
    "F\x83v\x83\x8D\x83W\x83"
    "F\x83N\x83g\x82\xF0\x8A"
    "J\x82\xAD";
// ピコネル：プロジェクトを名前を付けて保存
constexpr char kSaveAsCaption[] =
    "\x83s\x83R\x83l\x83\x8B\x81"
    "F\x83v\x83\x8D\x83W\x83"
    "F\x83N\x83g\x82\xF0\x96\xBC\x91O\x82\xF0\x95t\x82\xAF\x82\xC4\x95\xDB\x91\xB6";

bool write_file(const std::string& path, std::string_view bytes) {
  return write_file_replacing(
      path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::string read_file(const std::string& path) {
  const FileBytes file = read_whole_file(path);
  return std::string(file.bytes.begin(), file.bytes.end());
}

Names page_names(Project& project) {
  Names names;
  for (int i = 0; i < project.store->entry_count("PAGELIST"); ++i) {
    names.emplace_back(*project.store->row_at("PAGELIST", i));
  }
  return names;
}

std::string info_block() {
  return std::string("[INFOMATION]\r\nAPPLICATIONNAME=") + kAppName +
         "\r\nAPPLICATIONVERSION=1.0.8\r\n";
}

// --- open ------------------------------------------------------------------

TEST(OpenProjectTest, NewProjectHasPage000) {
  ProjectFixture f;
  open_project(f.project, "");
  ASSERT_TRUE(f.project.store);
  EXPECT_EQ(f.project.path, "");
  EXPECT_EQ(f.project.folder, "");
  EXPECT_EQ(f.project.current_page, 0);
  EXPECT_EQ(f.project.page_count, 1);
  EXPECT_EQ(page_names(f.project), (Names{"page000"}));
  EXPECT_FALSE(f.project.modified);
  EXPECT_EQ(f.title.last(), kTitleUntitled);
  EXPECT_EQ(f.page_list.names(), (Names{"page000"}));
  EXPECT_EQ(f.page_list.selected, 0);
  EXPECT_TRUE(f.prompter.boxes.empty());
  // Showing the page reads its settings without adding an empty PROPERTY.
  EXPECT_EQ(f.project.store->serialize(),
            info_block() + "[PAGELIST]\r\npage000\r\n[PROPERTY:page000]\r\nPAGELABEL=PAGE000\r\n");
}

TEST(OpenProjectTest, NewProjectEmptiesThePreviousOne) {
  ProjectFixture f;
  open_project(f.project, "");
  ASSERT_TRUE(f.project.store->insert_row("PAGELIST", -1, "extra"));
  f.project.modified = true;
  open_project(f.project, "");
  EXPECT_EQ(page_names(f.project), (Names{"page000"}));
  EXPECT_FALSE(f.project.modified);
}

TEST(OpenProjectTest, EmptyFileIsTheWrongFile) {
  ProjectTempFolder temp;
  ASSERT_TRUE(temp.ok());
  const std::string path = temp.file("empty.ijp");
  ASSERT_TRUE(write_file(path, ""));
  ProjectFixture f;
  open_project(f.project, path);
  ASSERT_EQ(f.prompter.boxes.size(), 1u);
  EXPECT_EQ(f.prompter.boxes[0].text, kLoadFailed);
  EXPECT_EQ(f.prompter.boxes[0].caption, kProjectCaption);
  EXPECT_EQ(f.prompter.boxes[0].type, kMbOk | kMbIconError);
  EXPECT_EQ(f.project.path, "");
  EXPECT_EQ(f.project.folder, "");
  EXPECT_EQ(page_names(f.project), (Names{"page000"}));
  EXPECT_EQ(f.project.current_page, 0);
  EXPECT_EQ(f.title.last(), kTitleUntitled);
}

TEST(OpenProjectTest, WrongIdentificationKeepsWhatWasRead) {
  ProjectTempFolder temp;
  const std::string path = temp.file("other.ijp");
  ASSERT_TRUE(write_file(path,
                         "[INFOMATION]\r\nAPPLICATIONNAME=Other\r\nAPPLICATIONVERSION=1.0.0\r\n"
                         "[PAGELIST]\r\nfirst\r\nsecond\r\n"));
  ProjectFixture f;
  open_project(f.project, path);
  ASSERT_EQ(f.prompter.boxes.size(), 1u);
  EXPECT_EQ(f.prompter.boxes[0].text, kLoadFailed);
  EXPECT_EQ(f.project.path, "");
  EXPECT_EQ(page_names(f.project), (Names{"first", "second"}));
  // The identification is now the project's own.
  EXPECT_EQ(f.project.store->check_info(kAppName), kApplicationVersion);
}

TEST(OpenProjectTest, ParseErrorReportsLine) {
  ProjectTempFolder temp;
  const std::string path = temp.file("bad.ijp");
  ASSERT_TRUE(write_file(path, "[PAGELIST]\r\npage000\r\nbad\rline\r\n"));
  ProjectFixture f;
  open_project(f.project, path);
  ASSERT_EQ(f.prompter.boxes.size(), 1u);
  // プロジェクトの読込に失敗しました。\r\n(line:3)
  EXPECT_EQ(f.prompter.boxes[0].text, std::string(kLoadFailed) + "\r\n(line:3)");
  EXPECT_EQ(f.prompter.boxes[0].caption, kProjectCaption);
  EXPECT_EQ(f.prompter.boxes[0].type, kMbOk | kMbIconError);
  EXPECT_EQ(f.project.path, "");
  EXPECT_EQ(page_names(f.project), (Names{"page000"}));
}

TEST(OpenProjectTest, MissingFileReportsLoadFailure) {
  ProjectTempFolder temp;
  ProjectFixture f;
  open_project(f.project, temp.file("missing.ijp"));
  ASSERT_EQ(f.prompter.boxes.size(), 1u);
  EXPECT_EQ(f.prompter.boxes[0].text, std::string(kLoadFailed) + "\r\n(line:0)");
  EXPECT_EQ(f.project.path, "");
}

// With a project open, a file that does not load (chosen in the dialog or
// given) is reported and changes nothing: path, rows, entries, modified
// flag and title stay, and no save question is asked. Only a file that loads
// asks whether the open project may be replaced.
TEST(OpenProjectTest, FailedOpenKeepsTheOpenProjectAndItsChanges) {
  ProjectTempFolder temp;
  ASSERT_TRUE(temp.ok());
  const std::string game = temp.file("game.ijp");
  ASSERT_TRUE(write_file(game, info_block() + "[PAGELIST]\r\np0\r\n[FILELIST:p0]\r\n" +
                                   temp.file("a.bmp") + "\t0\t0\r\n"));
  const std::string garbled = temp.file("garbled.ijp");
  ASSERT_TRUE(write_file(garbled, "[PAGELIST]\r\np0\r\nbad\rline\r\n"));
  const std::string foreign = temp.file("foreign.ijp");
  ASSERT_TRUE(write_file(foreign, "[INFOMATION]\r\nAPPLICATIONNAME=Other\r\n"));
  const std::string good = temp.file("good.ijp");
  ASSERT_TRUE(write_file(good, info_block() + "[PAGELIST]\r\nq0\r\nq1\r\n"));

  struct Case {
    std::optional<std::string> path;  // none: chosen in the open dialog
    std::optional<std::string> dialog_choice;
    OpenResult result;
    bool replaced;
  };
  const Case cases[] = {
      {garbled, std::nullopt, OpenResult::LoadFailed, false},
      {std::nullopt, foreign, OpenResult::WrongFile, false},
      {std::nullopt, temp.file("missing.ijp"), OpenResult::LoadFailed, false},
      {good, std::nullopt, OpenResult::Cancelled, false},  // the question said no
      {std::nullopt, good, OpenResult::Opened, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.value_or(c.dialog_choice.value_or("")));
    ProjectFixture f;
    f.source.add(temp.file("a.bmp"));
    ASSERT_EQ(open_project(f.project, game), OpenResult::Opened);
    ASSERT_TRUE(f.project.store->insert_row("PAGELIST", -1, "added"));
    f.project.page_count = 2;
    mark_modified(f.project);
    const std::string rows_before = f.project.store->serialize();
    f.prompter.boxes.clear();
    f.prompter.file_names.push_back(c.dialog_choice);
    int questions = 0;
    const OpenResult result =
        open_project(f.project, c.path ? std::optional<std::string_view>(*c.path) : std::nullopt,
                     [&] { return ++questions, c.replaced; });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(questions,
              c.result == OpenResult::LoadFailed || c.result == OpenResult::WrongFile ? 0 : 1);
    if (c.replaced) {
      EXPECT_EQ(page_names(f.project), (Names{"q0", "q1"}));
      EXPECT_FALSE(f.project.modified);
      EXPECT_EQ(f.project.path, good);
      continue;
    }
    EXPECT_EQ(f.prompter.boxes.size(), c.result == OpenResult::Cancelled ? 0u : 1u);
    EXPECT_EQ(f.project.store->serialize(), rows_before);
    EXPECT_EQ(f.project.path, game);
    EXPECT_EQ(f.project.folder, temp.path());
    EXPECT_TRUE(f.project.modified);
    EXPECT_EQ(f.title.last(), kTitleGameModified);
    ASSERT_EQ(f.project.images.entries().size(), 1u);
    EXPECT_EQ(f.project.images.entries().front().path, temp.file("a.bmp"));
  }
}

std::string three_page_file(std::string_view current) {
  return info_block() +
         "[PAGELIST]\r\np0\r\np1\r\np2\r\n[PROPERTY]\r\nCURRENTPAGE=" + std::string(current) +
         "\r\n[FILELIST:p2]\r\nimg\\c.bmp\t1\t2\r\n";
}

TEST(OpenProjectTest, RestoresCurrentPage) {
  ProjectTempFolder temp;
  const std::string path = temp.file("game.ijp");
  ASSERT_TRUE(write_file(path, three_page_file("2")));
  ProjectFixture f;
  f.source.add(temp.file("img\\c.bmp"));
  open_project(f.project, path);
  EXPECT_TRUE(f.prompter.boxes.empty());
  EXPECT_EQ(f.project.path, path);
  EXPECT_EQ(f.project.folder, temp.path());
  EXPECT_EQ(f.project.current_page, 2);
  EXPECT_EQ(f.project.page_count, 3);
  EXPECT_EQ(f.page_list.names(), (Names{"p0", "p1", "p2"}));
  EXPECT_EQ(f.page_list.selected, 2);
  ASSERT_EQ(f.project.images.entries().size(), 1u);
  EXPECT_EQ(f.project.images.entries().front().path, temp.file("img\\c.bmp"));
  EXPECT_EQ(f.title.last(), kTitleGame);
  EXPECT_FALSE(f.project.modified);
}

TEST(OpenProjectTest, CurrentPageOutsideThePagesReadsAsZero) {
  for (const char* value : {"3", "-1", "99999999999", "x", ""}) {
    SCOPED_TRACE(value);
    ProjectTempFolder temp;
    const std::string path = temp.file("game.ijp");
    ASSERT_TRUE(write_file(path, three_page_file(value)));
    ProjectFixture f;
    open_project(f.project, path);
    EXPECT_EQ(f.project.current_page, 0);
    EXPECT_EQ(f.page_list.selected, 0);
  }
}

TEST(OpenProjectTest, LongAndDuplicatePageNamesStayUsable) {
  ProjectTempFolder temp;
  const std::string path = temp.file("edited.ijp");
  const std::string long_name(300, 'n');
  ASSERT_TRUE(write_file(path, info_block() + "[PAGELIST]\r\n" + long_name +
                                   "\r\ndup\r\ndup\r\n[PROPERTY]\r\nCURRENTPAGE=1\r\n"
                                   "[FILELIST:dup]\r\nC:\\d.bmp\t0\t0\r\n"));
  ProjectFixture f;
  f.source.add("C:\\d.bmp");
  open_project(f.project, path);
  EXPECT_EQ(f.project.page_count, 3);
  EXPECT_EQ(f.page_list.items[0].name, long_name);
  select_page(f.project, 0);
  select_page(f.project, 2);
  // Both "dup" rows share the one set of sections.
  ASSERT_EQ(f.project.images.entries().size(), 1u);
  EXPECT_FALSE(rename_page(f.project, 0, "dup"));
  ASSERT_TRUE(rename_page(f.project, 0, "short"));
  f.prompter.answers = {kIdYes};
  ASSERT_TRUE(delete_page(f.project, 2, f.prompter));
  EXPECT_EQ(page_names(f.project), (Names{"short", "dup"}));
  EXPECT_EQ(f.project.current_page, 1);
  EXPECT_EQ(save_project(f.project, std::nullopt), SaveResult::Saved);
}

TEST(OpenProjectTest, CancelledDialogChangesNothing) {
  ProjectFixture f;
  open_project(f.project, "");
  f.project.modified = true;
  f.project.path = "C:\\keep.ijp";
  const std::string before = f.project.store->serialize();
  const auto titles = f.title.titles.size();
  f.prompter.file_names = {std::nullopt};
  open_project(f.project, std::nullopt);
  ASSERT_EQ(f.prompter.dialogs.size(), 1u);
  EXPECT_EQ(f.prompter.dialogs[0].caption, kOpenCaption);
  EXPECT_EQ(f.prompter.dialogs[0].initial_name, "");
  EXPECT_FALSE(f.prompter.dialogs[0].save_mode);
  EXPECT_EQ(f.prompter.dialogs[0].filter_count, 2u);
  EXPECT_EQ(f.project.store->serialize(), before);
  EXPECT_EQ(f.project.path, "C:\\keep.ijp");
  EXPECT_TRUE(f.project.modified);
  EXPECT_EQ(f.title.titles.size(), titles);
}

TEST(OpenProjectTest, DialogChoiceIsOpened) {
  ProjectTempFolder temp;
  const std::string path = temp.file("game.ijp");
  ASSERT_TRUE(write_file(path, three_page_file("1")));
  ProjectFixture f;
  f.prompter.file_names = {path};
  open_project(f.project, std::nullopt);
  EXPECT_EQ(f.project.path, path);
  EXPECT_EQ(f.project.current_page, 1);
}

// --- save ------------------------------------------------------------------

TEST(SaveProjectTest, UntitledAsksWithIjpAndCancelKeepsEverything) {
  ProjectFixture f;
  open_project(f.project, "");
  mark_modified(f.project);
  const auto titles = f.title.titles.size();
  f.prompter.file_names = {std::nullopt};
  EXPECT_EQ(save_project(f.project, std::nullopt), SaveResult::Cancelled);
  ASSERT_EQ(f.prompter.dialogs.size(), 1u);
  EXPECT_EQ(f.prompter.dialogs[0].caption, kSaveAsCaption);
  EXPECT_EQ(f.prompter.dialogs[0].initial_name, ".ijp");
  EXPECT_TRUE(f.prompter.dialogs[0].save_mode);
  EXPECT_EQ(f.prompter.dialogs[0].filter_count, 2u);
  EXPECT_TRUE(f.project.modified);
  EXPECT_EQ(f.title.titles.size(), titles);
  EXPECT_EQ(f.title.last(), kTitleUntitledModified);
  EXPECT_EQ(f.project.path, "");
}

TEST(SaveProjectTest, SaveAsAlwaysAsks) {
  ProjectTempFolder temp;
  ProjectFixture f;
  open_project(f.project, "");
  ASSERT_EQ(save_project(f.project, temp.file("game.ijp")), SaveResult::Saved);
  f.prompter.file_names = {temp.file("copy.ijp")};
  EXPECT_EQ(save_project(f.project, ""), SaveResult::Saved);
  EXPECT_EQ(f.prompter.dialogs.size(), 1u);
  EXPECT_EQ(f.project.path, temp.file("copy.ijp"));
  EXPECT_EQ(read_file(temp.file("copy.ijp")), read_file(temp.file("game.ijp")));
}

TEST(SaveProjectTest, ModifiedProjectTitleSequence) {
  ProjectTempFolder temp;
  ProjectFixture f;
  open_project(f.project, "");
  mark_modified(f.project);
  f.title.titles.clear();
  ASSERT_EQ(save_project(f.project, temp.file("game.ijp")), SaveResult::Saved);
  EXPECT_EQ(f.title.titles, (Names{kTitleGameModified, kTitleGame}));
  EXPECT_FALSE(f.project.modified);
  EXPECT_EQ(f.project.store->get_string("PROPERTY", "CURRENTPAGE"), "0");
}

TEST(SaveProjectTest, SaveUnderProjectPath) {
  ProjectTempFolder temp;
  const std::string path = temp.file("game.ijp");
  ASSERT_TRUE(write_file(path, three_page_file("0")));
  ProjectFixture f;
  open_project(f.project, path);
  select_page(f.project, 1);
  mark_modified(f.project);
  ASSERT_EQ(save_project(f.project, std::nullopt), SaveResult::Saved);
  EXPECT_TRUE(f.prompter.dialogs.empty());
  EXPECT_NE(read_file(path).find("CURRENTPAGE=1\r\n"), std::string::npos);
  EXPECT_FALSE(f.project.modified);
}

TEST(SaveProjectTest, FailedWriteIsReportedAndStaysModified) {
  ProjectTempFolder temp;
  const std::string path = temp.file("game.ijp");
  ProjectFixture f;
  open_project(f.project, "");
  ASSERT_EQ(save_project(f.project, path), SaveResult::Saved);
  const std::string saved = read_file(path);
  mark_modified(f.project);
  ASSERT_TRUE(f.project.store->insert_row("PAGELIST", -1, "more"));

  EXPECT_EQ(save_project(f.project, temp.file("no-such-folder\\game.ijp")), SaveResult::Failed);
  ASSERT_EQ(f.prompter.boxes.size(), 1u);
  EXPECT_EQ(f.prompter.boxes[0].text, kSaveFailed);
  EXPECT_EQ(f.prompter.boxes[0].caption, kSaveCaption);
  EXPECT_EQ(f.prompter.boxes[0].type, kMbOk | kMbIconError);
  EXPECT_TRUE(f.project.modified);
  EXPECT_EQ(read_file(path), saved);
}

TEST(SaveProjectTest, NothingWithoutStore) {
  ProjectFixture f;
  EXPECT_EQ(save_project(f.project, std::nullopt), SaveResult::NoStore);
  EXPECT_TRUE(f.prompter.dialogs.empty());
}

// --- relative paths ----------------------------------------------------------

TEST(RelativePathTest, RowsUnderTheProjectFolderLoseThePrefix) {
  DocumentStore store;
  ASSERT_TRUE(store.parse(
      "[PAGELIST]\r\na\r\nb\r\n[FILELIST:a]\r\nC:\\work\\img\\a.bmp\t0\t0\r\n"
      "D:\\other\\b.bmp\t0\t0\r\nc:\\work\\img\\c.bmp\t0\t0\r\nC:\\workshop\\d.bmp\t0\t0\r\n"
      "[FILELIST:b]\r\nC:\\work\\e.bmp\t1\t1\r\n[FILELIST:orphan]\r\nC:\\work\\f.bmp\r\n"));
  make_image_rows_relative(store, "C:\\work\\game.ijp");
  EXPECT_EQ(store.serialize(),
            "[PAGELIST]\r\na\r\nb\r\n[FILELIST:a]\r\nimg\\a.bmp\t0\t0\r\n"
            "D:\\other\\b.bmp\t0\t0\r\nc:\\work\\img\\c.bmp\t0\t0\r\nC:\\workshop\\d.bmp\t0\t0\r\n"
            "[FILELIST:b]\r\ne.bmp\t1\t1\r\n[FILELIST:orphan]\r\nC:\\work\\f.bmp\r\n");
}

TEST(RelativePathTest, DuplicatePageIsRewrittenOnce) {
  DocumentStore store;
  ASSERT_TRUE(store.parse("[PAGELIST]\r\na\r\na\r\n[FILELIST:a]\r\nC:\\w\\C:\\w\\x.bmp\r\n"));
  make_image_rows_relative(store, "C:\\w\\p.ijp");
  EXPECT_EQ(store.row_at("FILELIST:a", 0), "C:\\w\\x.bmp");
}

TEST(RelativePathTest, DoubleByteFolder) {
  // C:\ソ\ : the folder ends at the real separator, not at ソ's second byte.
  DocumentStore store;
  ASSERT_TRUE(store.parse("[PAGELIST]\r\na\r\n[FILELIST:a]\r\nC:\\\x83\x5C\\x.bmp\t0\t0\r\n"));
  make_image_rows_relative(store, "C:\\\x83\x5C\\game.ijp");
  EXPECT_EQ(store.row_at("FILELIST:a", 0), "x.bmp\t0\t0");
}

TEST(RelativePathTest, MakeFull) {
  DocumentStore store;
  ASSERT_TRUE(
      store.parse("[PAGELIST]\r\na\r\n[FILELIST:a]\r\nimg\\a.bmp\t0\t0\r\nD:\\b.bmp\t0\t0\r\n"
                  "\\\\srv\\c.bmp\t0\t0\r\n\t5\t5\r\n" +
                  std::string(255, 'x') + "\t1\t1\r\n"));
  make_image_rows_full(store, "C:\\old\\");
  EXPECT_EQ(store.row_at("FILELIST:a", 0), "C:\\old\\img\\a.bmp\t0\t0");
  EXPECT_EQ(store.row_at("FILELIST:a", 1), "D:\\b.bmp\t0\t0");
  EXPECT_EQ(store.row_at("FILELIST:a", 2), "\\\\srv\\c.bmp\t0\t0");
  EXPECT_EQ(store.row_at("FILELIST:a", 3), "\t5\t5");
  EXPECT_EQ(store.row_at("FILELIST:a", 4), std::string(255, 'x') + "\t1\t1");
}

void set_relative_mode(ProjectFixture& f) {
  ASSERT_TRUE(f.settings.set_string("PROPERTY", "PROJ_RELATIVEPATH", "1"));
}

TEST(RelativePathTest, SaveInRelativeMode) {
  ProjectTempFolder temp;
  ProjectFixture f;
  set_relative_mode(f);
  open_project(f.project, "");
  f.source.add(temp.file("img\\a.bmp"));
  f.source.add("D:\\other\\b.bmp");
  Prompter* owner = &f.prompter;
  ASSERT_TRUE(add_image_row(f.project, temp.file("img\\a.bmp") + "\t0\t0", &owner));
  ASSERT_TRUE(add_image_row(f.project, "D:\\other\\b.bmp\t16\t0", &owner));
  ASSERT_TRUE(sync_current_page(f.project));
  ASSERT_EQ(save_project(f.project, temp.file("game.ijp")), SaveResult::Saved);
  const std::string file = read_file(temp.file("game.ijp"));
  EXPECT_NE(file.find("\r\nimg\\a.bmp\t0\t0\t"), std::string::npos);
  EXPECT_NE(file.find("\r\nD:\\other\\b.bmp\t16\t0\t"), std::string::npos);
}

TEST(RelativePathTest, SaveAsToAnotherFolderKeepsUnloadedRowsValid) {
  ProjectTempFolder temp;
  const std::string old_path = temp.file("old\\game.ijp");
  ASSERT_TRUE(make_directories(temp.file("old")));
  ASSERT_TRUE(make_directories(temp.file("new")));
  ASSERT_TRUE(write_file(old_path, info_block() +
                                       "[PAGELIST]\r\np0\r\np1\r\n[PROPERTY]\r\nCURRENTPAGE=0\r\n"
                                       "[FILELIST:p1]\r\nimg\\x.bmp\t1\t2\r\n"));
  ProjectFixture f;
  set_relative_mode(f);
  open_project(f.project, old_path);
  ASSERT_TRUE(sync_current_page(f.project));
  ASSERT_EQ(save_project(f.project, temp.file("new\\game.ijp")), SaveResult::Saved);
  // Outside the new folder: stored with its full path.
  EXPECT_NE(read_file(temp.file("new\\game.ijp")).find("\r\n" + temp.file("old\\img\\x.bmp")),
            std::string::npos);
  EXPECT_EQ(f.project.folder, temp.file("new\\"));

  // An image inside the new folder becomes relative to it.
  f.source.add(temp.file("new\\y.bmp"));
  select_page(f.project, 1);
  Prompter* owner = &f.prompter;
  ASSERT_TRUE(add_image_row(f.project, temp.file("new\\y.bmp") + "\t0\t0", &owner));
  ASSERT_TRUE(sync_current_page(f.project));
  ASSERT_EQ(save_project(f.project, std::nullopt), SaveResult::Saved);
  ProjectFixture g;
  open_project(g.project, temp.file("new\\game.ijp"));
  EXPECT_EQ(g.project.store->row_at("FILELIST:p1", 0), temp.file("old\\img\\x.bmp") + "\t1\t2");
  EXPECT_EQ(g.project.store->row_at("FILELIST:p1", 1), "y.bmp\t0\t0\t\t0\t0\t0\t0\t0");
}

TEST(RelativePathTest, SaveAsWithoutRelativeModeAlsoFixesOldRelativeRows) {
  ProjectTempFolder temp;
  ASSERT_TRUE(make_directories(temp.file("old")));
  ASSERT_TRUE(
      write_file(temp.file("old\\game.ijp"),
                 info_block() + "[PAGELIST]\r\np0\r\np1\r\n[FILELIST:p1]\r\nimg\\x.bmp\r\n"));
  ProjectFixture f;
  open_project(f.project, temp.file("old\\game.ijp"));
  ASSERT_EQ(save_project(f.project, temp.file("moved.ijp")), SaveResult::Saved);
  EXPECT_EQ(f.project.store->row_at("FILELIST:p1", 0), temp.file("old\\img\\x.bmp"));
}

// The first column of every entry of every page's FILELIST, in page order; a
// keyed entry (a row that did not read back) shows as "KEYED".
Names stored_image_paths(DocumentStore& store) {
  Names paths;
  for (int page = 0; page < store.entry_count("PAGELIST"); ++page) {
    const std::string name(*store.row_at("PAGELIST", page));
    if (const StoreSection* section = store.find_section("FILELIST:" + name)) {
      for (const StoreEntry& entry : section->entries()) {
        const std::string_view value = entry.value();
        paths.emplace_back(entry.is_row() ? value.substr(0, value.find('\t')) : "KEYED");
      }
    }
  }
  return paths;
}

// A project folder named a=b: rows with the folder in front would read back
// as keyed entries, so no route (sync in absolute mode, the Save As mend,
// carried rows) may write one. Save As elsewhere, where no row could name
// the images, is refused and changes nothing; Save As back into the folder
// works; every image survives each reopen.
TEST(RelativePathTest, FolderWithEqualsSignKeepsEveryImage) {
  for (const bool relative : {false, true}) {
    SCOPED_TRACE(relative ? "relative" : "absolute");
    ProjectTempFolder temp;
    const std::string folder = temp.file("a=b\\");
    ASSERT_TRUE(make_directories(temp.file("a=b")));
    ASSERT_TRUE(make_directories(temp.file("elsewhere")));
    ASSERT_TRUE(write_file(folder + "game.ijp",
                           info_block() +
                               "[PAGELIST]\r\np0\r\np1\r\n[FILELIST:p0]\r\nx.bmp\t1\t2\r\n"
                               "gone.bmp\t3\t4\r\n[FILELIST:p1]\r\ny.bmp\t5\t6\r\n"));
    const Names all = {"x.bmp", "gone.bmp", "y.bmp"};
    ProjectFixture f;
    if (relative) {
      set_relative_mode(f);
    }
    f.source.add(folder + "x.bmp");
    f.source.add(folder + "y.bmp");
    open_project(f.project, folder + "game.ijp");
    ASSERT_EQ(f.project.images.entries().size(), 1u);
    ASSERT_TRUE(sync_current_page(f.project));
    ASSERT_EQ(save_project(f.project, std::nullopt), SaveResult::Saved);

    ProjectFixture g;
    g.source.readable = f.source.readable;
    open_project(g.project, folder + "game.ijp");
    EXPECT_EQ(stored_image_paths(*g.project.store), all);
    EXPECT_EQ(g.project.images.entries().size(), 1u);
    select_page(g.project, 1);
    EXPECT_EQ(g.project.images.entries().size(), 1u);

    f.prompter.boxes.clear();
    const std::string title = f.title.last();
    EXPECT_EQ(save_project(f.project, temp.file("elsewhere\\game.ijp")), SaveResult::Refused);
    ASSERT_EQ(f.prompter.boxes.size(), 1u);
    EXPECT_NE(f.prompter.boxes[0].text.find("x.bmp"), std::string::npos);
    EXPECT_EQ(f.prompter.boxes[0].type, kMbOk | kMbIconExclamation);
    EXPECT_FALSE(file_exists(temp.file("elsewhere\\game.ijp")));
    EXPECT_EQ(f.project.path, folder + "game.ijp");
    EXPECT_EQ(f.title.last(), title);

    ASSERT_EQ(save_project(f.project, folder + "copy.ijp"), SaveResult::Saved);
    ProjectFixture h;
    h.source.readable = f.source.readable;
    open_project(h.project, folder + "copy.ijp");
    EXPECT_EQ(stored_image_paths(*h.project.store), all);
    EXPECT_EQ(h.project.images.entries().size(), 1u);
    ASSERT_EQ(h.project.carried_rows.size(), 1u);
    EXPECT_EQ(h.project.carried_rows[0].row, "gone.bmp\t3\t4");
  }
}

// A Save As whose write fails leaves the session as it was: the next Save
// goes to the old file without a dialog.
TEST(SaveProjectTest, FailedSaveAsLeavesTheSessionAsBefore) {
  for (const bool relative : {false, true}) {
    SCOPED_TRACE(relative ? "relative" : "absolute");
    ProjectTempFolder temp;
    ASSERT_TRUE(make_directories(temp.file("old")));
    const std::string path = temp.file("old\\game.ijp");
    ASSERT_TRUE(write_file(path, info_block() + "[PAGELIST]\r\np0\r\np1\r\n"
                                                "[FILELIST:p1]\r\nimg\\x.bmp\t1\t2\r\n"));
    ProjectFixture f;
    if (relative) {
      set_relative_mode(f);
    }
    open_project(f.project, path);
    f.project.carried_rows.push_back({0, "img\\kept.bmp\t0\t0"});
    mark_modified(f.project);
    const std::string store_before = f.project.store->serialize();
    const std::string title = f.title.last();

    EXPECT_EQ(save_project(f.project, temp.file("no-such-folder\\game.ijp")), SaveResult::Failed);
    EXPECT_EQ(f.project.path, path);
    EXPECT_EQ(f.project.folder, temp.file("old\\"));
    EXPECT_EQ(f.project.store->file_path(), path);
    EXPECT_EQ(f.project.store->serialize(), store_before);
    EXPECT_EQ(f.project.carried_rows[0].row, "img\\kept.bmp\t0\t0");
    EXPECT_EQ(f.title.last(), title);
    EXPECT_TRUE(f.project.modified);

    ASSERT_EQ(save_project(f.project, std::nullopt), SaveResult::Saved);
    EXPECT_TRUE(f.prompter.dialogs.empty());
    EXPECT_NE(read_file(path).find("\r\nimg\\x.bmp\t1\t2\r\n"), std::string::npos);
  }
}

// Relative rows stay relative when Save As names the same folder in other
// letter case, as Windows compares folders; a double-byte character whose
// second byte is a letter is never folded (ア 83 41 and ャ 83 61 differ).
TEST(RelativePathTest, SameFolderInOtherLetterCaseKeepsRelativeRows) {
  const struct {
    const char* folder;
    const char* save_as_folder;
    bool stays_relative;
  } cases[] = {
      {"Proj", "pROJ", true},
      {"\x83\x41", "\x83\x61", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.save_as_folder);
    ProjectTempFolder temp;
    // On a case-sensitive file system these are two folders, on Windows one.
    ASSERT_TRUE(make_directories(temp.file(c.folder)));
    ASSERT_TRUE(make_directories(temp.file(c.save_as_folder)));
    const std::string path = temp.file(c.folder) + "\\game.ijp";
    ASSERT_TRUE(write_file(
        path, info_block() + "[PAGELIST]\r\np0\r\np1\r\n[FILELIST:p1]\r\nimg\\x.bmp\t1\t2\r\n"));
    ProjectFixture f;
    set_relative_mode(f);
    open_project(f.project, path);
    ASSERT_EQ(save_project(f.project, temp.file(c.save_as_folder) + "\\copy.ijp"),
              SaveResult::Saved);
    const std::string row = c.stays_relative ? "img\\x.bmp" : temp.file(c.folder) + "\\img\\x.bmp";
    EXPECT_EQ(f.project.store->row_at("FILELIST:p1", 0), row + "\t1\t2");
  }
}

// --- round trip --------------------------------------------------------------

void build_sample_project(ProjectFixture& f, ProjectTempFolder& temp) {
  open_project(f.project, "");
  for (int i = 0; i < 3; ++i) {
    f.source.add(temp.file("img\\i" + std::to_string(i) + ".bmp"), 8 + i, 8);
  }
  f.source.add("D:\\far\\\x95\x5C.bmp", 4, 4);
  Prompter* owner = &f.prompter;
  ASSERT_TRUE(
      add_image_row(f.project, temp.file("img\\i0.bmp") + "\t0\t0\tZERO\t0\t8\t8\t1\t2", &owner));
  ASSERT_TRUE(add_image_row(f.project, "D:\\far\\\x95\x5C.bmp\t8\t0", &owner));
  ASSERT_TRUE(new_page_command(f.project, -1));
  ASSERT_TRUE(add_image_row(f.project, temp.file("img\\i1.bmp") + "\t3\t4", &owner));
  ASSERT_TRUE(new_page_command(f.project, 0));
  ASSERT_TRUE(add_image_row(f.project, temp.file("img\\i2.bmp") + "\t5\t6", &owner));
  ASSERT_TRUE(f.project.store->set_string("PROPERTY:page002", "TRANSPARENTENABLE", "1"));
  ASSERT_TRUE(f.project.store->set_string("PROPERTY:page002", "TRANSPARENTCOLOR", "1,2,3"));
  ASSERT_TRUE(f.project.store->set_string("PROPERTY", "OUTPUT_LABEL", "1"));
  // An image that cannot be read when page000 is loaded again is carried.
  ASSERT_TRUE(
      f.project.store->insert_row("FILELIST:page000", 1, temp.file("img\\gone.bmp") + "\t7\t7"));
  select_page(f.project, 1);
  EXPECT_EQ(f.prompter.boxes.size(), 1u);
  ASSERT_TRUE(sync_current_page(f.project));
}

void round_trip(bool relative) {
  ProjectTempFolder temp;
  ProjectFixture f;
  if (relative) {
    set_relative_mode(f);
  }
  build_sample_project(f, temp);
  const std::string path = temp.file("game.ijp");
  ASSERT_EQ(save_project(f.project, path), SaveResult::Saved);
  const std::string first = read_file(path);

  ProjectFixture g;
  if (relative) {
    set_relative_mode(g);
  }
  g.source.readable = f.source.readable;
  open_project(g.project, path);
  EXPECT_EQ(g.prompter.boxes.size(), 1u);  // the missing image
  EXPECT_EQ(g.project.store->serialize(), f.project.store->serialize());
  EXPECT_EQ(g.project.current_page, 1);
  EXPECT_EQ(page_names(g.project), (Names{"page002", "page000", "page001"}));
  EXPECT_EQ(g.project.images.entries().size(), 2u);
  ASSERT_TRUE(sync_current_page(g.project));
  ASSERT_EQ(save_project(g.project, std::nullopt), SaveResult::Saved);
  EXPECT_EQ(read_file(path), first);
  const std::string gone_row =
      (relative ? std::string("img\\gone.bmp") : temp.file("img\\gone.bmp")) + "\t7\t7";
  EXPECT_EQ(g.project.store->row_at("FILELIST:page000", 1), gone_row);
}

TEST(RoundTripTest, SaveReopenSaveIsByteIdentical) {
  round_trip(false);
}

TEST(RoundTripTest, SaveReopenSaveIsByteIdenticalInRelativeMode) {
  round_trip(true);
}

// --- ask_save_changes, mark_modified, update_title ----------------------------

TEST(AskSaveChangesTest, UnmodifiedAsksNothing) {
  ProjectFixture f;
  open_project(f.project, "");
  EXPECT_TRUE(ask_save_changes(f.project));
  EXPECT_TRUE(f.prompter.boxes.empty());
}

TEST(AskSaveChangesTest, Answers) {
  struct Case {
    const char* name;
    int answer;
    std::optional<std::string> file;  // save dialog answer
    bool result;
    bool saved;
  };
  const Case cases[] = {
      {"Cancel", kIdCancel, std::nullopt, false, false},
      {"No", kIdNo, std::nullopt, true, false},
      {"YesSaves", kIdYes, std::string("game.ijp"), true, true},
      {"YesThenDialogCancelled", kIdYes, std::nullopt, true, false},
      {"BoxNotShown", 0, std::nullopt, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProjectTempFolder temp;
    ProjectFixture f;
    open_project(f.project, "");
    mark_modified(f.project);
    f.prompter.answers = {c.answer};
    f.prompter.file_names = {c.file ? std::optional(temp.file(*c.file)) : std::nullopt};
    EXPECT_EQ(ask_save_changes(f.project), c.result);
    ASSERT_EQ(f.prompter.boxes.size(), 1u);
    EXPECT_EQ(f.prompter.boxes[0].text, kSaveQuestion);
    EXPECT_EQ(f.prompter.boxes[0].caption, kSaveCaption);
    EXPECT_EQ(f.prompter.boxes[0].type, kMbYesNoCancel | kMbIconQuestion);
    EXPECT_EQ(file_exists(temp.file("game.ijp")), c.saved);
    EXPECT_EQ(f.project.modified, !c.saved);
  }
}

TEST(AskSaveChangesTest, FailedWriteKeepsTheChanges) {
  ProjectTempFolder temp;
  ProjectFixture f;
  open_project(f.project, "");
  mark_modified(f.project);
  f.prompter.answers = {kIdYes};
  f.prompter.file_names = {temp.file("missing\\game.ijp")};
  EXPECT_FALSE(ask_save_changes(f.project));
  EXPECT_TRUE(f.project.modified);
}

TEST(AskSaveChangesTest, YesSynchronisesTheCurrentPage) {
  ProjectTempFolder temp;
  ProjectFixture f;
  open_project(f.project, "");
  f.source.add("C:\\a.bmp");
  Prompter* owner = &f.prompter;
  ASSERT_TRUE(add_image_row(f.project, "C:\\a.bmp\t1\t2", &owner));
  mark_modified(f.project);
  f.prompter.answers = {kIdYes};
  f.prompter.file_names = {temp.file("game.ijp")};
  ASSERT_TRUE(ask_save_changes(f.project));
  EXPECT_NE(read_file(temp.file("game.ijp")).find("C:\\a.bmp\t1\t2\t"), std::string::npos);
}

TEST(MarkModifiedTest, SetsFlagAndTitleOnce) {
  ProjectFixture f;
  open_project(f.project, "");
  const auto titles = f.title.titles.size();
  mark_modified(f.project);
  mark_modified(f.project);
  EXPECT_TRUE(f.project.modified);
  EXPECT_EQ(f.title.titles.size(), titles + 1);
  EXPECT_EQ(f.title.last(), kTitleUntitledModified);
}

TEST(UpdateTitleTest, NamePart) {
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\work\\game.ijp", "game"},
      {"C:\\work\\game", "game"},
      {"C:\\work\\my.game.ijp", "my.game"},
      // ソ.ijp under 表\ : neither second byte 0x5C splits the path.
      {"C:\\\x95\x5C\\\x83\x5C.ijp", "\x83\x5C"},
  };
  for (const auto& [path, name] : cases) {
    ProjectFixture f;
    f.project.path = path;
    EXPECT_EQ(update_title(f.project), "\x83s\x83R\x83l\x83\x8B - [" + name + "]");
    EXPECT_EQ(f.title.last(), "\x83s\x83R\x83l\x83\x8B - [" + name + "]");
  }
}

TEST(UpdateTitleTest, LongNameIsCutTo255Bytes) {
  ProjectFixture f;
  f.project.path = "C:\\" + std::string(300, 'n') + ".ijp";
  EXPECT_EQ(update_title(f.project).size(), 255u);
}

TEST(FileDialogTest, DefaultExtension) {
  const std::pair<std::string, std::string> cases[] = {
      {".ijp", "ijp"},
      {"", ""},
      {"game", ""},
      {"a.b.c", "c"},
      {"x." + std::string(20, 'e'), std::string(15, 'e')},
      // The second byte of a double-byte character is never a dot.
      {"\x83.", ""},
      {"\x83.x.bmp", "bmp"},
  };
  for (const auto& [initial, extension] : cases) {
    EXPECT_EQ(file_dialog_default_extension(initial), extension) << initial;
  }
}

TEST(FileDialogTest, ProjectFilters) {
  const auto filters = project_file_filters();
  ASSERT_EQ(filters.size(), 2u);
  // ピコネルプロジェクトファイル (*.ijp)
  EXPECT_EQ(filters[0].description,
            "\x83s\x83R\x83l\x83\x8B\x83v\x83\x8D\x83W\x83"
            "F\x83N\x83g\x83t\x83@\x83"
            "C\x83\x8B (*.ijp)");
  EXPECT_EQ(filters[0].pattern, "*.ijp");
  // すべてのファイル (*.*)
  EXPECT_EQ(filters[1].description,
            "\x82\xB7\x82\xD7\x82\xC4\x82\xCC\x83t\x83@\x83"
            "C\x83\x8B (*.*)");
  EXPECT_EQ(filters[1].pattern, "*.*");
}

TEST(ReleaseProjectTest, FreesStoreAndEntries) {
  ProjectFixture f;
  open_project(f.project, "");
  static_cast<void>(f.project.images.load_entry([](ImageEntry&) { return true; }));
  release_project(f.project);
  EXPECT_FALSE(f.project.store);
  EXPECT_TRUE(f.project.images.entries().empty());
}

// --- image paths ---------------------------------------------------------------

TEST(ImagePathCheckTest, EqualsSignIsRefused) {
  EXPECT_TRUE(is_storable_image_path("C:\\img\\a.bmp"));
  EXPECT_TRUE(is_storable_image_path("C:\\\x83\x5C\\a.bmp"));
  EXPECT_FALSE(is_storable_image_path("C:\\a=b\\x.bmp"));
  EXPECT_FALSE(is_storable_image_path("C:\\a\tb.bmp"));

  testing::FakePrompter prompter;
  EXPECT_TRUE(check_image_path_storable("C:\\ok.bmp", &prompter));
  EXPECT_TRUE(prompter.boxes.empty());
  EXPECT_FALSE(check_image_path_storable("C:\\x=1.bmp", nullptr));
  EXPECT_FALSE(check_image_path_storable("C:\\x=1.bmp", &prompter));
  ASSERT_EQ(prompter.boxes.size(), 1u);
  // ファイルのパスに「=」が含まれているため、この画像は追加できません。\nC:\x=1.bmp
  EXPECT_EQ(prompter.boxes[0].text,
            "\x83t\x83@\x83"
            "C\x83\x8B\x82\xCC\x83p\x83X\x82\xC9\x81u=\x81v\x82\xAA\x8A\xDC\x82\xDC\x82\xEA\x82\xC4"
            "\x82\xA2\x82\xE9\x82\xBD\x82\xDF\x81"
            "A\x82\xB1\x82\xCC\x89\xE6\x91\x9C\x82\xCD\x92\xC7\x89\xC1\x82\xC5\x82\xAB\x82\xDC\x82"
            "\xB9\x82\xF1\x81"
            "B\nC:\\x=1.bmp");
  // ピコネル：画像の追加
  EXPECT_EQ(prompter.boxes[0].caption,
            "\x83s\x83R\x83l\x83\x8B\x81"
            "F\x89\xE6\x91\x9C\x82\xCC\x92\xC7\x89\xC1");
  EXPECT_EQ(prompter.boxes[0].type, kMbOk | kMbIconExclamation);
}

TEST(ImagePathCheckTest, RefusedPathWouldNotSurviveReload) {
  // Why the check exists: such a row comes back as a keyed entry.
  DocumentStore store;
  ASSERT_TRUE(store.insert_row("FILELIST:a", -1, "C:\\x=1.bmp\t0\t0"));
  DocumentStore reloaded;
  ASSERT_TRUE(reloaded.parse(store.serialize()));
  EXPECT_NE(reloaded.row_at("FILELIST:a", 0), "C:\\x=1.bmp\t0\t0");
}

}  // namespace
}  // namespace piconel
