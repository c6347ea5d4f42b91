#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>

#include <gtest/gtest.h>

#include "output/output_fixture.h"

namespace piconel::test {
namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> make_bitmap_file(int width, int height, int bits,
                                           const std::vector<std::uint32_t>& palette,
                                           const std::vector<std::uint32_t>& pixels) {
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  const std::uint32_t pixel_bytes = static_cast<std::uint32_t>(stride * height);
  // The headers the page bitmaps carry (biSizeImage 0 except for 8 bits),
  // which the loader reads like any other.
  std::vector<std::uint8_t> out =
      expected_headers(width, height, bits, static_cast<int>(palette.size()), pixel_bytes);
  for (std::uint32_t c : palette) {
    put32(out, c & 0xFFFFFF);
  }
  for (int row = height - 1; row >= 0; --row) {
    std::vector<std::uint8_t> line(stride, 0);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = pixels[static_cast<std::size_t>(row) * width + x];
      switch (bits) {
        case 1:
          line[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8));
          break;
        case 4:
          line[x / 2] |= static_cast<std::uint8_t>((v & 0xF) << (x % 2 == 0 ? 4 : 0));
          break;
        case 8:
          line[x] = static_cast<std::uint8_t>(v);
          break;
        case 24:
        case 32: {
          const std::size_t at = static_cast<std::size_t>(x) * (bits / 8);
          line[at] = static_cast<std::uint8_t>(v & 0xFF);
          line[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
          line[at + 2] = static_cast<std::uint8_t>((v >> 16) & 0xFF);
          break;
        }
        default:
          break;
      }
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}

ScratchFolder::ScratchFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "piconel-output-";
  if (info != nullptr) {
    name += std::string(info->test_suite_name()) + "-" + info->name();
  }
  for (char& c : name) {
    if (c == '/') {
      c = '_';
    }
  }
  name += '-';
  name += std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  path_ = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::folder() const {
  std::string text = path_.string();
  text += static_cast<char>(std::filesystem::path::preferred_separator);
  return text;
}

std::string ScratchFolder::file(std::string_view name) const {
  return folder() + std::string(name);
}

void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  write_bytes(std::filesystem::path(path), bytes);
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
  return read_bytes(std::filesystem::path(path));
}

void write_bytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool exists(const std::string& path) {
  return std::filesystem::exists(path);
}

void load_project_text(DocumentStore& store, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  ASSERT_TRUE(store.parse(text));
}

bool RecordingPort::choose_output_folder(std::string& folder) {
  preselected.push_back(folder);
  if (!folder_answer) {
    return false;
  }
  folder = *folder_answer;
  return true;
}

void RecordingPort::show_error(std::string_view text, std::string_view caption) {
  errors.emplace_back(std::string(text), std::string(caption));
}

void RecordingPort::page_finished(int pages_done, int page_count) {
  progress.emplace_back(pages_done, page_count);
}

std::uint32_t u32_at(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return std::uint32_t{bytes.at(at)} | (std::uint32_t{bytes.at(at + 1)} << 8) |
         (std::uint32_t{bytes.at(at + 2)} << 16) | (std::uint32_t{bytes.at(at + 3)} << 24);
}

std::uint16_t u16_at(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes.at(at) | (bytes.at(at + 1) << 8));
}

std::vector<std::uint8_t> expected_headers(int width, int height, int bits, int colours,
                                           std::uint32_t pixel_bytes) {
  std::vector<std::uint8_t> out;
  const std::uint32_t table = 4u * static_cast<std::uint32_t>(colours);
  out.push_back('B');
  out.push_back('M');
  put32(out, 54 + table + pixel_bytes);
  put32(out, 0);
  put32(out, 54 + table);
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(width));
  put32(out, static_cast<std::uint32_t>(height));
  put16(out, 1);
  put16(out, static_cast<std::uint32_t>(bits));
  put32(out, 0);
  put32(out, bits == 8 ? pixel_bytes : 0);
  put32(out, 0);
  put32(out, 0);
  put32(out, static_cast<std::uint32_t>(colours));
  put32(out, 0);
  return out;
}

}  // namespace piconel::test
