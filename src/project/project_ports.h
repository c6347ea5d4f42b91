#pragma once

// The windows and prompts that the project operations keep in step, reached
// through small interfaces. The window layer implements them over the real
// windows; tests implement them with recording fakes. Every method of a view
// does nothing while its window does not exist.

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "image/colour.h"
#include "image/image_entry.h"

namespace piconel {

// Message box types and results carry the Win32 numeric values, so the
// window layer passes them through unchanged.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbYesNoCancel = 0x3;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// One line of a file dialog's type list: "ピコネルプロジェクトファイル (*.ijp)"
// with "*.ijp", and so on.
struct FileFilter {
  std::string_view description;
  std::string_view pattern;
};

// A file chosen in a dialog that takes several, or dropped on the window.
// `path` is its CP932 path; a name the program cannot hold keeps in `path`
// what CP932 can show of it ('?' for the rest) and says why in `problem`.
enum class NameProblem { None, TooLong, WithoutCp932 };
struct ChosenFile {
  std::string path;
  NameProblem problem = NameProblem::None;
  friend bool operator==(const ChosenFile&, const ChosenFile&) = default;
};

// Message boxes and file choices, owned by one window (the main window, the
// page list, a dialog) and centred over it.
class Prompter {
 public:
  virtual ~Prompter() = default;

  // Shows `text` with `caption` and the type flags (kMb*); returns the
  // button pressed (kId*). A box that could not be shown returns kIdCancel.
  virtual int message_box(std::string_view text, std::string_view caption, unsigned type) = 0;

  // The standard open or save dialog: first filter selected, `file_name`
  // (at most 259 bytes) is the initial name and receives the chosen full
  // path. The default extension comes from the initial name
  // (file_dialog_default_extension). Open mode requires an existing file; save
  // mode asks before overwriting. When the dialog rejects the initial name
  // as invalid, it is shown once more with an empty name. Returns true when a
  // name was chosen; false (name unspecified) when cancelled.
  virtual bool ask_file_name(std::string_view caption, std::string& file_name,
                             std::span<const FileFilter> filters, bool save_mode) = 0;

  // The open dialog allowing several files: `files` receives them in the
  // order the dialog gives. False (and no files) when cancelled. By default
  // the single-file dialog above.
  virtual bool ask_file_names(std::string_view caption, std::span<const FileFilter> filters,
                              std::vector<ChosenFile>& files) {
    files.clear();
    std::string name;
    if (!ask_file_name(caption, name, filters, false)) {
      return false;
    }
    files.push_back(ChosenFile{std::move(name)});
    return true;
  }
};

// The texts of one page list row: name, effective manual sheet width and
// height (empty when no manual size is in effect), the page's own label.
struct PageItemTexts {
  std::string name;
  std::string width;
  std::string height;
  std::string label;

  friend bool operator==(const PageItemTexts&, const PageItemTexts&) = default;
};

// The page list window; row n shows page n.
class PageListView {
 public:
  virtual ~PageListView() = default;

  // Whether the window exists. Work that only feeds the rows (building a
  // property chain for their columns) is skipped when it does not.
  virtual bool is_open() const = 0;
  // Around a refill of every row (fill_page_list): the window may leave its
  // drawing until the end, instead of once for every row.
  virtual void begin_fill() {}
  virtual void end_fill() {}
  virtual void remove_all_items() = 0;
  // Inserts a row with `name` as its text before row `index` (-1: at the end).
  virtual void insert_item(int index, std::string_view name) = 0;
  virtual void remove_item(int index) = 0;
  virtual void set_item_texts(int index, const PageItemTexts& texts) = 0;
  // Gives row `index` the selected state when the first selected row is
  // another one or none.
  virtual void select_item(int index) = 0;
  // The first row with the focused state, or -1 (also when closed).
  virtual int focused_item() const = 0;
  // Moves row `from` to position `to`, keeping its selected and focused
  // state, and scrolls it into view.
  virtual void move_item(int from, int to) = 0;
};

// The largest right edge (x + width) and bottom edge (y + height) over the
// entries of a page, in sheet pixels; 0 × 0 for a page without entries.
struct SheetExtent {
  int width = 0;
  int height = 0;

  friend bool operator==(const SheetExtent&, const SheetExtent&) = default;
};

// The sheet view together with the image list window, as a page load and
// the page properties use them.
class SheetViewPort {
 public:
  virtual ~SheetViewPort() = default;

  virtual bool exists() const = 0;
  // First step of a page load: freeze drawing of the view. The caller then
  // drops the old entries through the page model (closing their windows)
  // and calls reset_page_state.
  virtual void begin_page_load() = 0;
  // Per-page state back to its start: scroll 0,0, extent 512 × 512, no fixed
  // sheet, white background, sheet colour list white only.
  virtual void reset_page_state() = 0;
  // Fixed sheet size in sheet pixels; 0 × 0 means none.
  virtual void set_sheet_size(int width, int height) = 0;
  virtual void set_background_colour(ColorRef colour) = 0;
  // Has the whole view painted again.
  virtual void redraw() = 0;
  // The used extent as the view last computed it.
  virtual SheetExtent used_extent() const = 0;
  // Last step of a page load (after the page model told its observers of
  // the loaded entries): recompute the used extent and the status text
  // (forced) and let the view draw again.
  virtual void end_page_load() = 0;
};

// The main window's caption.
class TitleView {
 public:
  virtual ~TitleView() = default;
  virtual void set_title(std::string_view title) = 0;
};

// Turns one image of a page into a displayed entry.
class EntrySource {
 public:
  virtual ~EntrySource() = default;

  // Loads the picture at `full_path` into `entry` (already in its place at
  // the end of the list, otherwise fresh), at (x, y) without automatic
  // placement, and creates its display on the sheet view. The loader fills
  // the colour analysis, size and a default settings block; the caller then
  // overwrites the settings. Returns false when the file cannot be read or
  // shown; the caller then drops the entry.
  [[nodiscard]] virtual bool open_entry(ImageEntry& entry, std::string_view full_path, int x,
                                        int y) = 0;

  // Shows `entry` (placeholder set, path, position, size and settings filled,
  // already at the end of the list) as a placeholder on the sheet view.
  // False when there is no view to show it on; the caller then carries the
  // row instead.
  [[nodiscard]] virtual bool open_placeholder(ImageEntry& entry) {
    static_cast<void>(entry);
    return false;
  }

  // A page load is about to open these files (the resolved paths of its
  // rows, in row order): the source may read them ahead, all at once.
  virtual void prepare_page(std::span<const std::string> full_paths) {
    static_cast<void>(full_paths);
  }
  // The page's rows are opened: what was read ahead and not taken goes.
  virtual void page_loaded() {}
};

// Implementations that do nothing: no window exists, every question is
// answered "Cancel" (an OK-only box with "OK"), every file dialog is
// cancelled and no image can be opened. A project uses them for every port it
// was not given.
Prompter& null_prompter();
PageListView& null_page_list_view();
SheetViewPort& null_sheet_view();
TitleView& null_title_view();
EntrySource& null_entry_source();

// The ports of one project. None is ever null: unset ports are the null
// implementations above.
struct ProjectPorts {
  Prompter* prompter = &null_prompter();  // owned by the main window
  PageListView* page_list = &null_page_list_view();
  SheetViewPort* sheet = &null_sheet_view();
  TitleView* title = &null_title_view();
  EntrySource* entry_source = &null_entry_source();
};

}  // namespace piconel
