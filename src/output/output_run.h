#pragma once

// The output run: every page of the project through the page pass, in page
// list order, into one output folder, plus the table files switched on in the
// project's own PROPERTY section (OUTPUT_LABEL -> imgidx.h, OUTPUT_TABLE_TEXT
// -> imgtable.h, OUTPUT_TABLE_LITTLE -> imgtable_l.bin, OUTPUT_TABLE_BIG ->
// imgtable_b.bin; OUTPUT_BMP, on when absent, -> one bitmap per page;
// OUTPUT_PNG, OUTPUT_PNG_TRANSPARENT and OUTPUT_JSON -> a PNG and a JSON
// file per page).
//
// The run works on explicit inputs and writes into an explicit folder; it
// never changes the process's current directory. A missing output folder is
// made with its missing parents; one that cannot be made ends the run before
// anything is written, reported through the port (writing elsewhere could
// overwrite the user's files). A failing page is reported through the port
// with its reason and skipped: it leaves nothing in the table files and does
// not advance the page index. The table files are written at the end of the
// run, replacing older files of the same names; one that cannot be written is
// reported too.
//
// The window's output command is run_project_output (project_output.h),
// which synchronises the current page before calling run_output.
//
// Pages beyond 65535 output pages are reported as failing: the binary tables
// count pages in 16 bits.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/document_store.h"

namespace piconel {

class PictureDecoder;

inline constexpr int kMaxOutputPages = 65535;

// Caption and text of the failing-page message.
inline constexpr std::string_view kOutputCaption =
    "\x83\x73\x83\x52\x83\x6c\x83\x8b\x81\x46\x8f\x6f\x97\xcd";  // ピコネル：出力
inline constexpr const char* kPageErrorFormat =
    "\x83\x79\x81\x5b\x83\x57\x8f\x6f\x97\xcd\x83\x47\x83\x89\x81\x5b(%s)";  // ページ出力エラー(%s)
// Title of the folder browser.
inline constexpr std::string_view kOutputFolderTitle =
    "\x8f\x6f\x97\xcd\x83\x66\x83\x42\x83\x8c\x83\x4e\x83\x67\x83\x8a";  // 出力ディレクトリ

// What the run needs from its surroundings: the window shows a folder
// browser and message boxes, the command line answers from its arguments and
// writes to stderr.
class OutputRunPort {
 public:
  virtual ~OutputRunPort() = default;
  // The folder selection titled kOutputFolderTitle, preselecting `folder`.
  // True with the chosen folder in `folder`; false (cancel) leaves it as is.
  virtual bool choose_output_folder(std::string& folder) = 0;
  // A failing page, table file or output folder: `text` (two lines: what
  // failed, then the file and the system's reason) under `caption`, with the
  // error icon.
  virtual void show_error(std::string_view text, std::string_view caption) = 0;
  // An image of page `page_name` that could not be read; `path` as the
  // image row stores it. The page still goes on (0 x 0, or its forced
  // size), so the window says nothing; the command line reports it.
  virtual void image_unreadable(std::string_view page_name, std::string_view path) {
    (void)page_name;
    (void)path;
  }
  // After each page pass, `pages_done` of `page_count` pages tried.
  virtual void page_finished(int pages_done, int page_count) {
    (void)pages_done;
    (void)page_count;
  }
};

struct OutputRunRequest {
  DocumentStore* project = nullptr;   // none: nothing happens
  DocumentStore* settings = nullptr;  // application level; none: no such level
  // Path of the project file (empty for an untitled project): a relative
  // OUTPUTDIR is taken from its folder, where the folder selection opens.
  std::string_view project_path;
  // Folder that relative image paths are taken from (the project folder of
  // the open project; ends in a separator or is empty).
  std::string_view project_folder;
  // Folder to write into instead of what OUTPUTENABLE / OUTPUTDIR or the
  // folder selection give (the command line's --out). Made when missing, as
  // those are.
  std::optional<std::string> output_folder;
  const PictureDecoder* decoders = nullptr;
  OutputRunPort* port = nullptr;  // required
  // Leave every output file that already holds the bytes it would get
  // untouched, time stamp included (the command line's --if-changed).
  bool if_changed = false;
  // Pages composed and written at once on a pool of threads (the command
  // line's --jobs). Messages, progress, tables and every byte are those of a
  // run with one job; 1 runs every page on the calling thread, in order. A
  // run with plug-ins always uses one job.
  int jobs = 1;
};

struct OutputRunResult {
  // false: no project, the folder selection was cancelled, or the output
  // folder could not be made (reported; nothing was written).
  bool ran = false;
  std::string output_folder;  // where the files went ("" = current directory)
  int pages_output = 0;       // pages counted in the tables
  std::vector<std::string> failed_pages;
  std::vector<std::string> failed_files;  // table files not written (reported)
};

[[nodiscard]] OutputRunResult run_output(const OutputRunRequest& request);

// The folder OUTPUTDIR names when entered from the project's folder
// `project_base`: a drive path or one with two leading separators as it
// stands; one with a single leading separator on the root of the base's
// drive or share (as it stands when the base has neither); any other below
// the base; an empty one is the base itself. No check that it exists.
[[nodiscard]] std::string resolve_output_dir(std::string_view output_dir,
                                             std::string_view project_base);

}  // namespace piconel
