#pragma once

// Fixtures of the output tests: bitmap files built byte by byte, a scratch
// folder per test, project stores from text, and a recording port.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "output/output_run.h"
#include "store/document_store.h"

namespace piconel::test {

// A bitmap file of `bits` (1, 4, 8: `pixels` are palette indices; 24, 32:
// `pixels` are 0x00RRGGBB) with `palette` as 0x00RRGGBB values. Pixels are
// given row by row from the top.
std::vector<std::uint8_t> make_bitmap_file(int width, int height, int bits,
                                           const std::vector<std::uint32_t>& palette,
                                           const std::vector<std::uint32_t>& pixels);

// A fresh, empty folder removed at destruction.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as the program names it: ending in a separator.
  std::string folder() const;
  std::string file(std::string_view name) const;

 private:
  std::filesystem::path path_;
};

void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> read_bytes(const std::string& path);
// Native names (for non-ASCII names, which std::string forms cannot carry on
// Windows).
void write_bytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> read_bytes(const std::filesystem::path& path);
std::string read_text(const std::string& path);
bool exists(const std::string& path);

// A project store parsed from lines joined with CR LF.
void load_project_text(DocumentStore& store, const std::vector<std::string>& lines);

struct RecordingPort : OutputRunPort {
  std::optional<std::string> folder_answer;  // none: cancel
  std::vector<std::string> preselected;
  std::vector<std::pair<std::string, std::string>> errors;  // text, caption
  std::vector<std::pair<int, int>> progress;

  bool choose_output_folder(std::string& folder) override;
  void show_error(std::string_view text, std::string_view caption) override;
  void page_finished(int pages_done, int page_count) override;
};

// Little-endian fields of a file.
std::uint32_t u32_at(const std::vector<std::uint8_t>& bytes, std::size_t at);
std::uint16_t u16_at(const std::vector<std::uint8_t>& bytes, std::size_t at);

// The 54 header bytes a page bitmap must begin with.
std::vector<std::uint8_t> expected_headers(int width, int height, int bits, int colours,
                                           std::uint32_t pixel_bytes);

}  // namespace piconel::test
