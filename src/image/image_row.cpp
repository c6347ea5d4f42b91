#include "image/image_row.h"

#include <array>
#include <cstddef>

#include "store/decimal_text.h"

namespace piconel {

namespace {

constexpr std::size_t kColumnCount = 9;

std::string_view cut(std::string_view text, std::size_t max_bytes) {
  return text.size() > max_bytes ? text.substr(0, max_bytes) : text;
}

}  // namespace

std::string_view image_row_path(std::string_view row) {
  return cut(row.substr(0, row.find('\t')), kMaxPathBytes);
}

ImageRow parse_image_row(std::string_view row) {
  // Columns beyond the ninth are never looked at, so the split stops there.
  std::array<std::string_view, kColumnCount> columns{};
  std::size_t column = 0;
  std::size_t start = 0;
  while (column < kColumnCount && start < row.size()) {
    const std::size_t tab = row.find('\t', start);
    if (tab == std::string_view::npos) {
      columns[column++] = row.substr(start);
      break;
    }
    columns[column++] = row.substr(start, tab - start);
    // A TAB that ends the row opens no further column: the loop ends because
    // start reaches row.size().
    start = tab + 1;
  }

  ImageRow result;
  result.path = std::string(cut(columns[0], kMaxPathBytes));
  result.x = c_atoi(columns[1]);
  result.y = c_atoi(columns[2]);
  result.settings.label = std::string(cut(columns[3], kMaxLabelBytes));
  result.settings.size_forced = c_atoi(columns[4]);
  result.settings.forced_width = c_atoi(columns[5]);
  result.settings.forced_height = c_atoi(columns[6]);
  result.settings.transparent_on = c_atoi(columns[7]);
  result.settings.transparent_key = c_atoi(columns[8]);
  return result;
}

std::string format_image_row(std::string_view path, std::int32_t x, std::int32_t y,
                             const ImageSettings& settings) {
  std::string row;
  row.reserve(kMaxImageRowBytes);
  row.append(cut(path, kMaxPathBytes));
  const auto number = [&row](std::int32_t value) {
    row.push_back('\t');
    row.append(format_decimal(value));
  };
  number(x);
  number(y);
  row.push_back('\t');
  row.append(cut(settings.label, kMaxLabelBytes));
  number(settings.size_forced);
  number(settings.forced_width);
  number(settings.forced_height);
  number(settings.transparent_on);
  number(settings.transparent_key);
  return row;
}

}  // namespace piconel
