#include "project/project_ports.h"

namespace piconel {

namespace {

class NullPrompter final : public Prompter {
 public:
  int message_box(std::string_view, std::string_view, unsigned type) override {
    // Only the button group (low four bits) decides the answer.
    return (type & 0xF) == kMbOk ? kIdOk : kIdCancel;
  }
  bool ask_file_name(std::string_view, std::string&, std::span<const FileFilter>, bool) override {
    return false;
  }
};

class NullPageListView final : public PageListView {
 public:
  bool is_open() const override { return false; }
  void remove_all_items() override {}
  void insert_item(int, std::string_view) override {}
  void remove_item(int) override {}
  void set_item_texts(int, const PageItemTexts&) override {}
  void select_item(int) override {}
  int focused_item() const override { return -1; }
  void move_item(int, int) override {}
};

class NullSheetView final : public SheetViewPort {
 public:
  bool exists() const override { return false; }
  void begin_page_load() override {}
  void reset_page_state() override {}
  void set_sheet_size(int, int) override {}
  void set_background_colour(ColorRef) override {}
  void redraw() override {}
  SheetExtent used_extent() const override { return {}; }
  void end_page_load() override {}
};

class NullTitleView final : public TitleView {
 public:
  void set_title(std::string_view) override {}
};

class NullEntrySource final : public EntrySource {
 public:
  bool open_entry(ImageEntry&, std::string_view, int, int) override { return false; }
};

}  // namespace

Prompter& null_prompter() {
  static NullPrompter instance;
  return instance;
}

PageListView& null_page_list_view() {
  static NullPageListView instance;
  return instance;
}

SheetViewPort& null_sheet_view() {
  static NullSheetView instance;
  return instance;
}

TitleView& null_title_view() {
  static NullTitleView instance;
  return instance;
}

EntrySource& null_entry_source() {
  static NullEntrySource instance;
  return instance;
}

}  // namespace piconel
