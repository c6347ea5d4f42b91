// Mutated project files opened as projects. Whatever the bytes, the open and
// the page operations that follow keep the project consistent, never crash
// and never read out of bounds (the sanitizer build runs this too), and what
// is saved loads again. Seeds are fixed so a failure repeats; the number of
// files is fixed, so the test is bounded.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <span>
#include <string>

#include "project/current_page.h"
#include "project/page_name.h"
#include "project/page_operations.h"
#include "project/project_file.h"
#include "project/project_texts.h"
#include "project_fakes.h"
#include "store/file_io.h"
#include "store/text_mutation.h"

namespace piconel {
namespace {

using testing::ProjectFixture;
using testing::ProjectTempFolder;

bool write_file(const std::string& path, std::string_view bytes) {
  return write_file_replacing(
      path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// A project holding what edited files tend to break: a double-byte page name
// holding the backslash byte, a name over 30 bytes, relative, absolute and
// overlong image paths, huge and negative numbers, short and long rows, the
// chained settings at every level.
std::string sample_file() {
  std::string text = "[INFOMATION]\r\nAPPLICATIONNAME=";
  text += project_texts::kProjectApplicationName;
  text +=
      "\r\nAPPLICATIONVERSION=1.0.8\r\n"
      "[PAGELIST]\r\npage000\r\n\x95\x5C\x83\x5C_01\r\n" +
      std::string(40, 'L') +
      "\r\npage003\r\n"
      "[PROPERTY:page000]\r\nPAGELABEL=PAGE000\r\nPUTIMAGEWIDTH=64\r\nPUTIMAGEHEIGHT=32\r\n"
      "FIXEDSHEET=1\r\nSHEETSIZEMANUAL=1\r\nSHEETWIDTH=2147483647\r\nSHEETHEIGHT=-5\r\n"
      "TRANSPARENTENABLE=1\r\nTRANSPARENTCOLOR=1,2\r\n"
      "[PROPERTY]\r\nCURRENTPAGE=1\r\nTRANSPARENTENABLE=1\r\nTRANSPARENTCOLOR=255,0,255,9\r\n"
      "FIXEDSHEET=1\r\nSHEETSIZEMANUAL=0\r\n"
      "[FILELIST:page000]\r\nimg\\a.bmp\t0\t0\tA\t0\t16\t16\t1\t-1\r\n"
      "C:\\abs.bmp\t99999999999\t-2147483648\r\n"
      "\\\\srv\\x.bmp\r\n" +
      std::string(300, 'p') +
      "\t1\t1\r\n"
      "\t\t\t\t\t\t\t\t\t\t\t\r\n"
      "[FILELIST:\x95\x5C\x83\x5C_01]\r\nimg\\a.bmp\t16\t0\t" +
      std::string(70, 'x') +
      "\r\nmissing.bmp\t3\t3\r\n"
      "[PROPERTY:\x95\x5C\x83\x5C_01]\r\nPAGELABEL=\x95\x5C\r\n";
  return text;
}

// Bytes the file format and the page and row rules care about.
constexpr char kAlphabet[] = {'[', ']', '=',    '\t',   ' ',    '\r', '\n', '\0', '0',   '9',
                              '-', ',', '\x83', '\x5C', '\x95', ':',  'p',  '_',  '\x01'};

// The byte edits of the store's fuzz test, then now and again a copy of some
// stretch elsewhere (duplicate sections, rows, names) or a cut.
std::string mutate(const std::string& valid, std::mt19937& random) {
  std::string text = testing::mutate_text(valid, random, kAlphabet, 6);
  if (random() % 2 == 0) {
    const std::size_t from = random() % (text.size() + 1);
    const std::string piece = text.substr(from, random() % 40);
    text.insert(random() % (text.size() + 1), piece);
  }
  if (random() % 8 == 0) {
    text.resize(random() % (text.size() + 1));
  }
  return text;
}

void check_consistent(Project& project) {
  ASSERT_TRUE(project.store);
  ASSERT_EQ(project.page_count, project.store->entry_count(kPageListSection));
  ASSERT_GE(project.current_page, -1);
  ASSERT_LT(project.current_page, project.page_count);
  ASSERT_LE(project.images.entries().size(), 256u);
}

// Opens `text` as a project, works on it and saves it; the saved file must
// load again as a project of this program.
void exercise(const ProjectTempFolder& temp, const std::string& text) {
  const std::string path = temp.file("fuzz.ijp");
  ASSERT_TRUE(write_file(path, text));
  ProjectFixture f;
  ASSERT_TRUE(f.settings.set_string("PROPERTY", "PROJ_RELATIVEPATH", "1"));
  f.source.add(temp.file("img\\a.bmp"), 16, 16);
  f.source.add("C:\\abs.bmp", 8, 8);
  f.prompter.answers = {kIdOk, kIdOk};  // then Cancel silences the prompts

  open_project(f.project, path);
  check_consistent(f.project);
  ASSERT_GE(f.project.current_page, 0);

  for (int index = f.project.page_count - 1; index >= 0; --index) {
    select_page(f.project, index);
  }
  check_consistent(f.project);
  move_page_down(f.project, 0);
  move_page_up(f.project, f.project.page_count - 1);
  (void)new_page_command(f.project, 1);
  if (const auto name = page_name_at(f.project, 0)) {
    (void)check_page_name(*name, &f.prompter);
  }
  (void)rename_page(f.project, -1, "renamed");
  f.prompter.answers = {kIdYes};
  (void)delete_page(f.project, 0, f.prompter);
  check_consistent(f.project);
  ASSERT_TRUE(sync_current_page(f.project));
  check_consistent(f.project);

  const std::string saved = temp.file("saved.ijp");
  ASSERT_EQ(save_project(f.project, saved), SaveResult::Saved);
  DocumentStore reloaded;
  ASSERT_TRUE(reloaded.load(saved, false)) << "line " << reloaded.line_count();
  ASSERT_NE(reloaded.check_info(project_texts::kProjectApplicationName), 0u);

  ProjectFixture g;
  open_project(g.project, saved);
  check_consistent(g.project);
  for (const testing::MessageBoxCall& box : g.prompter.boxes) {
    ASSERT_NE(box.caption.find(project_texts::kProjectCaption), std::string::npos);
    ASSERT_EQ(box.type, kMbOkCancel | kMbIconExclamation);  // only unreadable images
  }
}

TEST(ProjectFuzz, SampleFileOpensCleanly) {
  ProjectTempFolder temp;
  ASSERT_TRUE(temp.ok());
  exercise(temp, sample_file());
}

TEST(ProjectFuzz, MutatedProjectFiles) {
  ProjectTempFolder temp;
  ASSERT_TRUE(temp.ok());
  const std::string valid = sample_file();
  std::mt19937 random(20261207);
  for (int round = 0; round < 600; ++round) {
    const std::string text = mutate(valid, random);
    SCOPED_TRACE(::testing::PrintToString(text));
    exercise(temp, text);
    if (::testing::Test::HasFatalFailure()) {
      return;
    }
  }
}

TEST(ProjectFuzz, EveryPrefixOfTheSampleFile) {
  ProjectTempFolder temp;
  ASSERT_TRUE(temp.ok());
  const std::string valid = sample_file();
  for (std::size_t size = 0; size <= valid.size(); size += 7) {
    SCOPED_TRACE(size);
    exercise(temp, valid.substr(0, size));
    if (::testing::Test::HasFatalFailure()) {
      return;
    }
  }
}

}  // namespace
}  // namespace piconel
