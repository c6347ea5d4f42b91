#include "output/output_messages.h"

#include "store/bounded_format.h"
#include "store/file_error.h"

namespace piconel {
namespace {

constexpr std::size_t kMessageBytes = 512;

// 出力フォルダを作成できません: %s\n%s
constexpr const char* kFolderErrorFormat =
    "\x8fo\x97\xcd\x83t\x83H\x83\x8b\x83_\x82\xf0\x8d\xec\x90\xac\x82\xc5\x82\xab\x82\xdc\x82\xb9"
    "\x82\xf1: %s\n%s";
// ファイル出力エラー(%s)
constexpr const char* kTableErrorFormat =
    "\x83t\x83@\x83\x43\x83\x8b\x8fo\x97\xcd\x83G\x83\x89\x81[(%s)";
// メモリが足りません
constexpr const char* kNoMemoryReason =
    "\x83\x81\x83\x82\x83\x8a\x82\xaa\x91\xab\x82\xe8\x82\xdc\x82\xb9\x82\xf1";
// シートの幅か高さが 0 以下です
constexpr const char* kSheetSizeReason =
    "\x83V\x81[\x83g\x82\xcc\x95\x9d\x82\xa9\x8d\x82\x82\xb3\x82\xaa 0 "
    "\x88\xc8\x89\xba\x82\xc5\x82\xb7";
// 画像が多すぎます（1ページ 65535 枚まで）
constexpr const char* kTooManyImagesReason =
    "\x89\xe6\x91\x9c\x82\xaa\x91\xbd\x82\xb7\x82\xac\x82\xdc\x82\xb7\x81i1\x83y\x81[\x83W 65535 "
    "\x96\x87\x82\xdc\x82\xc5\x81j";
// ページ名をファイル名に使えません
constexpr const char* kBadFileNameReason =
    "\x83y\x81[\x83W\x96\xbc\x82\xf0\x83t\x83@\x83\x43\x83\x8b\x96\xbc\x82\xc9\x8eg\x82\xa6\x82\xdc"
    "\x82\xb9\x82\xf1";
// 出力できるのは 65535 ページまでです
constexpr const char* kTooManyPagesReason =
    "\x8fo\x97\xcd\x82\xc5\x82\xab\x82\xe9\x82\xcc\x82\xcd 65535 "
    "\x83y\x81[\x83W\x82\xdc\x82\xc5\x82\xc5\x82\xb7";
// 出力しました: %dページ → %s
constexpr const char* kSummaryFormat =
    "\x8fo\x97\xcd\x82\xb5\x82\xdc\x82\xb5\x82\xbd: %d\x83y\x81[\x83W \x81\xa8 %s";
// 出力しました: %dページ → %s（失敗 %d件）
constexpr const char* kSummaryWithFailuresFormat =
    "\x8fo\x97\xcd\x82\xb5\x82\xdc\x82\xb5\x82\xbd: %d\x83y\x81[\x83W \x81\xa8 "
    "%s\x81i\x8e\xb8\x94s %d\x8c\x8f\x81j";

std::string file_reason(std::string_view path, int error) {
  return std::string(path) + ": " + file_error_text(error);
}

std::string two_lines(const std::string& first, const std::string& second) {
  std::string message;
  (void)bounded_format_string(message, kMessageBytes, "%s\n%s", first.c_str(), second.c_str());
  return message;
}

std::string page_reason(const PagePassResult& pass) {
  switch (pass.failure) {
    case PageFailure::NoMemory:
      return kNoMemoryReason;
    case PageFailure::SheetSize:
      return kSheetSizeReason;
    case PageFailure::TooManyImages:
      return kTooManyImagesReason;
    case PageFailure::BadFileName:
      return kBadFileNameReason;
    case PageFailure::TooManyPages:
      return kTooManyPagesReason;
    case PageFailure::FileNotWritten:
      return file_reason(pass.failed_file, pass.file_error);
    case PageFailure::None:
      break;
  }
  return {};
}

}  // namespace

std::string page_error_message(std::string_view page_name, const PagePassResult& pass) {
  std::string first;
  (void)bounded_format_string(first, kMessageBytes, kPageErrorFormat,
                              std::string(page_name).c_str());
  const std::string reason = page_reason(pass);
  if (reason.empty()) {
    return first;
  }
  return two_lines(first, reason);
}

std::string table_error_message(std::string_view file_name, std::string_view path, int error) {
  std::string first;
  (void)bounded_format_string(first, kMessageBytes, kTableErrorFormat,
                              std::string(file_name).c_str());
  return two_lines(first, file_reason(path, error));
}

std::string folder_error_message(std::string_view folder, int error) {
  std::string message;
  (void)bounded_format_string(message, kMessageBytes, kFolderErrorFormat,
                              std::string(folder).c_str(), file_error_text(error).c_str());
  return message;
}

std::string output_summary(const OutputRunResult& result, std::string_view folder) {
  const auto failures = static_cast<int>(result.failed_pages.size() + result.failed_files.size());
  std::string text;
  if (failures == 0) {
    (void)bounded_format_string(text, kMessageBytes, kSummaryFormat, result.pages_output,
                                std::string(folder).c_str());
  } else {
    (void)bounded_format_string(text, kMessageBytes, kSummaryWithFailuresFormat,
                                result.pages_output, std::string(folder).c_str(), failures);
  }
  return text;
}

}  // namespace piconel
