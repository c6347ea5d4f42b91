#pragma once

// Recording fakes of the project's ports. Each records its calls as text
// lines and answers from a script.

#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "project/project.h"
#include "store/cp932.h"

namespace piconel::testing {

struct MessageBoxCall {
  std::string text;
  std::string caption;
  unsigned type = 0;
};

struct FileDialogCall {
  std::string caption;
  std::string initial_name;
  bool save_mode = false;
  std::size_t filter_count = 0;
};

class FakePrompter : public Prompter {
 public:
  int message_box(std::string_view text, std::string_view caption, unsigned type) override {
    boxes.push_back({std::string(text), std::string(caption), type});
    if (answers.empty()) {
      return (type & 0xF) == kMbOk ? kIdOk : kIdCancel;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool ask_file_name(std::string_view caption, std::string& file_name,
                     std::span<const FileFilter> filters, bool save_mode) override {
    dialogs.push_back({std::string(caption), file_name, save_mode, filters.size()});
    if (file_names.empty() || !file_names.front()) {
      if (!file_names.empty()) {
        file_names.pop_front();
      }
      return false;
    }
    file_name = *file_names.front();
    file_names.pop_front();
    return true;
  }

  std::deque<int> answers;                            // next message box answers
  std::deque<std::optional<std::string>> file_names;  // none: cancelled
  std::vector<MessageBoxCall> boxes;
  std::vector<FileDialogCall> dialogs;
};

class FakePageList : public PageListView {
 public:
  bool is_open() const override { return open; }
  void begin_fill() override { filling = true; }
  void end_fill() override {
    filling = false;
    ++fills;
  }
  void remove_all_items() override {
    if (open) {
      items.clear();
      selected = -1;
    }
  }
  void insert_item(int index, std::string_view name) override {
    if (!open) {
      return;
    }
    PageItemTexts texts;
    texts.name = std::string(name);
    if (index < 0 || index > static_cast<int>(items.size())) {
      items.push_back(texts);
    } else {
      items.insert(items.begin() + index, texts);
      if (selected >= index) {
        ++selected;
      }
    }
  }
  void remove_item(int index) override {
    if (open && index >= 0 && index < static_cast<int>(items.size())) {
      items.erase(items.begin() + index);
      if (selected == index) {
        selected = -1;
      } else if (selected > index) {
        --selected;
      }
    }
  }
  void set_item_texts(int index, const PageItemTexts& texts) override {
    if (open && index >= 0 && index < static_cast<int>(items.size())) {
      items[index] = texts;
      ++refresh_count;
      texts_set_while_filling += filling ? 1 : 0;
    }
  }
  void select_item(int index) override {
    if (open) {
      selected = index;
    }
  }
  int focused_item() const override { return open ? focused : -1; }
  void move_item(int from, int to) override {
    if (!open) {
      return;
    }
    moves.emplace_back(from, to);
    std::swap(items[from], items[to]);
    if (selected == from) {
      selected = to;
    } else if (selected == to) {
      selected = from;
    }
    if (focused == from) {
      focused = to;
    }
  }

  std::vector<std::string> names() const {
    std::vector<std::string> result;
    for (const PageItemTexts& item : items) {
      result.push_back(item.name);
    }
    return result;
  }

  bool open = true;
  int focused = -1;
  int selected = -1;
  int refresh_count = 0;
  // fill_page_list brackets its rows with begin_fill / end_fill.
  bool filling = false;
  int fills = 0;
  int texts_set_while_filling = 0;
  std::vector<PageItemTexts> items;
  std::vector<std::pair<int, int>> moves;
};

class FakeSheetView : public SheetViewPort {
 public:
  bool exists() const override { return present; }
  void begin_page_load() override { log.push_back("begin"); }
  void reset_page_state() override {
    log.push_back("reset");
    sheet_width = 0;
    sheet_height = 0;
    background = 0x00FFFFFF;
  }
  void set_sheet_size(int width, int height) override {
    log.push_back("size");
    sheet_width = width;
    sheet_height = height;
  }
  void set_background_colour(ColorRef colour) override {
    log.push_back("colour");
    background = colour;
  }
  void redraw() override { log.push_back("redraw"); }
  SheetExtent used_extent() const override { return extent; }
  void end_page_load() override { log.push_back("end"); }

  bool present = true;
  int sheet_width = -1;
  int sheet_height = -1;
  ColorRef background = -1;
  SheetExtent extent;
  std::vector<std::string> log;
};

class FakeTitle : public TitleView {
 public:
  void set_title(std::string_view title) override { titles.emplace_back(title); }
  std::string last() const { return titles.empty() ? std::string() : titles.back(); }
  std::vector<std::string> titles;
};

class FakeDisplay : public EntryDisplay {};

// Opens the paths it was told about, with their sizes; every other path
// fails. The loader's defaults mimic the real one: the label from the file
// name in upper case, the forced size set to the picture's size.
class FakeEntrySource : public EntrySource {
 public:
  bool open_entry(ImageEntry& entry, std::string_view full_path, int x, int y) override {
    opened.emplace_back(full_path);
    const auto found = readable.find(std::string(full_path));
    if (found == readable.end()) {
      return false;
    }
    entry.display = std::make_unique<FakeDisplay>();
    entry.path = std::string(full_path);
    entry.x = x;
    entry.y = y;
    entry.width = found->second.first;
    entry.height = found->second.second;
    entry.bits_per_pixel = 8;
    entry.settings.label = to_upper_keeping_double_bytes(split_path(full_path).name);
    entry.settings.forced_width = entry.width;
    entry.settings.forced_height = entry.height;
    entry.settings.transparent_key = 0;
    return true;
  }
  // Shows placeholders only when told to (as a source without a view would not).
  bool open_placeholder(ImageEntry& entry) override {
    if (!placeholders) {
      return false;
    }
    entry.display = std::make_unique<FakeDisplay>();
    return true;
  }
  void add(std::string path, int width = 16, int height = 16) {
    readable[std::move(path)] = {width, height};
  }

  std::map<std::string, std::pair<int, int>> readable;
  std::vector<std::string> opened;
  bool placeholders = false;
};

// All fakes and a project wired to them.
struct ProjectFixture {
  FakePrompter prompter;
  FakePageList page_list;
  FakeSheetView sheet;
  FakeTitle title;
  FakeEntrySource source;
  DocumentStore settings;
  Project project{ProjectPorts{&prompter, &page_list, &sheet, &title, &source}, &settings};
};

// A fresh folder, removed with its content at the end. Its path is in the
// program's form: on Linux "Z:" and backslashes (which the file boundary maps
// to the root and '/'), so project and image paths look as on Windows.
class ProjectTempFolder {
 public:
  ProjectTempFolder() {
    std::error_code error;
    const auto base = std::filesystem::temp_directory_path(error);
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 20 && native_.empty(); ++attempt) {
      const auto candidate = base / ("piconel-project-test-" + std::to_string(random()));
      if (std::filesystem::create_directory(candidate, error) && !error) {
        native_ = candidate.string();
      }
    }
#ifdef _WIN32
    path_ = native_ + "\\";
#else
    path_ = "Z:";
    for (const char c : native_) {
      path_.push_back(c == '/' ? '\\' : c);
    }
    path_ += "\\";
#endif
  }
  ~ProjectTempFolder() {
    std::error_code error;
    if (!native_.empty()) {
      std::filesystem::remove_all(native_, error);
    }
  }
  ProjectTempFolder(const ProjectTempFolder&) = delete;
  ProjectTempFolder& operator=(const ProjectTempFolder&) = delete;

  bool ok() const {
    return !native_.empty();
  }
  const std::string& path() const {
    return path_;
  }
  std::string file(std::string_view name) const {
    return path_ + std::string(name);
  }
  const std::string& native() const {
    return native_;
  }

 private:
  std::string native_;
  std::string path_;
};

}  // namespace piconel::testing
