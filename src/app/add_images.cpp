#include "app/add_images.h"

#include <algorithm>
#include <cstring>

#include "project/image_path_check.h"
#include "project/project_texts.h"
#include "store/bounded_format.h"
#include "store/cp932.h"

namespace piconel {

namespace {

// 画像ファイル (*.bmp;*.png;*.gif)
constexpr char kImageFilesFilterName[] =
    "\x89\xe6\x91\x9c\x83\x74\x83\x40\x83\x43\x83\x8b (*.bmp;*.png;*.gif)";
constexpr char kImageFilesPattern[] = "*.bmp;*.png;*.gif";
constexpr std::string_view kBuiltInExtensions[] = {".bmp", ".png", ".gif"};

// 次のファイルは追加できませんでした。
constexpr char kNotAddedHeading[] =
    "\x8e\x9f\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcd\x92\xc7\x89\xc1\x82\xc5\x82\xab\x82"
    "\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
// …他%d件
constexpr char kMoreFilesFormat[] = "\x81\x63\x91\xbc%d\x8c\x8f";
constexpr std::size_t kMoreFilesBytes = 64;

// The reason after each name.
std::string_view reason_text(NotAddedReason reason) {
  switch (reason) {
    case NotAddedReason::Unreadable:
      return "\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1";  // 読み込めません
    case NotAddedReason::PageFull:
      // 1ページの画像は256枚までです
      return "1\x83\x79\x81\x5b\x83\x57\x82\xcc\x89\xe6\x91\x9c\x82\xcd"
             "256"
             "\x96\x87\x82\xdc\x82\xc5\x82\xc5\x82\xb7";
    case NotAddedReason::Unstorable:
      // パスに「=」が含まれています
      return "\x83\x70\x83\x58\x82\xc9\x81\x75=\x81\x76\x82\xaa\x8a\xdc\x82\xdc\x82\xea\x82\xc4\x82"
             "\xa2\x82\xdc\x82\xb7";
    case NotAddedReason::TooLong:
      // パスが長すぎます (259 バイトまで)
      return "\x83\x70\x83\x58\x82\xaa\x92\xb7\x82\xb7\x82\xac\x82\xdc\x82\xb7 (259 "
             "\x83\x6f\x83\x43\x83\x67\x82\xdc\x82\xc5)";
    case NotAddedReason::WithoutCp932:
      // CP932 (シフトJIS) で表せない文字が含まれています
      return "CP932 (\x83\x56\x83\x74\x83\x67JIS) \x82\xc5\x95\x5c\x82\xb9\x82\xc8\x82\xa2\x95\xb6"
             "\x8e\x9a\x82\xaa\x8a\xdc\x82\xdc\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb7";
    case NotAddedReason::NoImagesInFolder:
      // 画像ファイルがありません
      return "\x89\xe6\x91\x9c\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82"
             "\xb9\x82\xf1";
  }
  return {};
}

// Appends "text\0" to buffer at `used`; false when it does not fit.
bool append_text(std::span<char> buffer, std::size_t& used, std::string_view text) {
  if (text.size() + 1 > buffer.size() - used) {
    return false;
  }
  std::memcpy(buffer.data() + used, text.data(), text.size());
  used += text.size();
  buffer[used++] = '\0';
  return true;
}

// The name with ASCII letters in lower case, double-byte characters as
// they are: the key of the name order.
std::string name_order_key(std::string_view name) {
  std::string key(name);
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto byte = static_cast<unsigned char>(key[i]);
    if (is_cp932_lead_byte(byte)) {
      ++i;
    } else if (byte >= 'A' && byte <= 'Z') {
      key[i] = static_cast<char>(byte - 'A' + 'a');
    }
  }
  return key;
}

NotAddedReason reason_for(NameProblem problem) {
  return problem == NameProblem::TooLong ? NotAddedReason::TooLong : NotAddedReason::WithoutCp932;
}

}  // namespace

void build_image_filters(ImageFilters& filters,
                         const std::function<std::size_t(std::span<char>)>& write_plugin_pairs) {
  std::span<char> buffer(filters.buffer);
  std::size_t used = 0;
  static_cast<void>(append_text(buffer, used, kImageFilesFilterName));
  static_cast<void>(append_text(buffer, used, kImageFilesPattern));
  static_cast<void>(append_text(buffer, used, project_texts::kAllFilesFilterName));
  static_cast<void>(append_text(buffer, used, "*.*"));
  const std::size_t written = write_plugin_pairs ? write_plugin_pairs(buffer.subspan(used)) : 0;
  const std::size_t end = std::min(buffer.size(), used + written);

  // Read the pairs back from the whole buffer: each text ends at its zero;
  // an empty text (the closing zero) or the end of the bytes stops.
  filters.pairs.clear();
  std::size_t position = 0;
  const auto next_text = [&](std::string_view& text) {
    if (position >= end) {
      return false;
    }
    const char* start = filters.buffer.data() + position;
    const std::size_t length =
        static_cast<std::size_t>(std::find(start, start + (end - position), '\0') - start);
    if (length == 0 || length == end - position) {
      return false;
    }
    text = std::string_view(start, length);
    position += length + 1;
    return true;
  };
  std::string_view description;
  std::string_view pattern;
  while (next_text(description) && next_text(pattern)) {
    filters.pairs.push_back({description, pattern});
  }
}

bool is_image_file_name(std::string_view name,
                        const std::function<bool(std::string_view)>& claimed) {
  const std::string_view extension = extension_of(name);
  if (extension.empty()) {
    return false;
  }
  for (const std::string_view known : kBuiltInExtensions) {
    if (equals_ignoring_ascii_case(extension, known)) {
      return true;
    }
  }
  return claimed && claimed(extension);
}

void sort_by_name(std::vector<ChosenFile>& files) {
  std::stable_sort(files.begin(), files.end(), [](const ChosenFile& a, const ChosenFile& b) {
    return name_order_key(a.path) < name_order_key(b.path);
  });
}

std::string not_added_message(std::span<const NotAddedFile> files) {
  std::string text = kNotAddedHeading;
  text += "\r\n";
  const std::size_t named = std::min(files.size(), kMaxNamedFiles);
  for (std::size_t i = 0; i < named; ++i) {
    text += "\r\n";
    text += files[i].name;
    text += " (";
    text += reason_text(files[i].reason);
    text += ")";
  }
  if (files.size() > named) {
    std::string more;
    static_cast<void>(bounded_format_string(more, kMoreFilesBytes, kMoreFilesFormat,
                                            static_cast<int>(files.size() - named)));
    text += "\r\n";
    text += more;
  }
  return text;
}

int add_image_files(std::span<const ChosenFile> files, PlacementCursor* cursor,
                    const std::function<AddOutcome(std::string_view, PlacementCursor*)>& add,
                    std::vector<NotAddedFile>& not_added) {
  int added = 0;
  for (const ChosenFile& file : files) {
    if (file.problem != NameProblem::None) {
      not_added.push_back({file.path, reason_for(file.problem)});
      continue;
    }
    if (!is_storable_image_path(file.path)) {
      not_added.push_back({file.path, NotAddedReason::Unstorable});
      continue;
    }
    switch (add(file.path, cursor)) {
      case AddOutcome::Added:
        ++added;
        break;
      case AddOutcome::Unreadable:
        not_added.push_back({file.path, NotAddedReason::Unreadable});
        break;
      case AddOutcome::PageFull:
        not_added.push_back({file.path, NotAddedReason::PageFull});
        break;
    }
  }
  return added;
}

void report_not_added(Prompter& prompter, std::span<const NotAddedFile> not_added) {
  if (not_added.empty()) {
    return;
  }
  static_cast<void>(prompter.message_box(
      not_added_message(not_added), project_texts::kAddImageCaption, kMbOk | kMbIconExclamation));
}

}  // namespace piconel
