#pragma once

// The texts an output run shows: what failed and why (a page, a table file,
// the output folder), each naming the file or folder and the system's
// reason on a second line, and the summary after a run in the window. CP932.

#include <string>
#include <string_view>

#include "output/output_run.h"
#include "output/page_pass.h"

namespace piconel {

// "ページ出力エラー(NAME)", then "PATH: REASON" when the bitmap could not be
// written, else what kept the page from being composed.
[[nodiscard]] std::string page_error_message(std::string_view page_name,
                                             const PagePassResult& pass);

// "ファイル出力エラー(NAME)", then "PATH: REASON" (`error` as last_file_error
// gave it).
[[nodiscard]] std::string table_error_message(std::string_view file_name, std::string_view path,
                                              int error);

// "出力フォルダを作成できません: FOLDER", then the reason.
[[nodiscard]] std::string folder_error_message(std::string_view folder, int error);

// "出力しました: 3ページ → FOLDER", with "（失敗 N件）" after it when pages or
// table files failed. `folder` as the user should read it (a full path).
[[nodiscard]] std::string output_summary(const OutputRunResult& result, std::string_view folder);

}  // namespace piconel
