#include "output/output_run.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "image/decode_cache.h"
#include "image/image_path.h"
#include "output/output_context.h"
#include "output/output_file.h"
#include "output/output_folder.h"
#include "output/output_messages.h"
#include "output/page_pass.h"
#include "output/parallel_pages.h"
#include "output/run_tables.h"
#include "output/shared_image_rows.h"
#include "project/project.h"
#include "project/property_chain.h"
#include "store/cp932.h"
#include "store/document_store.h"
#include "store/file_error.h"
#include "store/file_io.h"
#include "store/no_throw.h"
#include "store/section_cursor.h"

namespace piconel {
namespace {

// OUTPUTDIR and OUTPUT_LABEL_FORMAT are read into 260-byte buffers: a longer
// value (only an edited file holds one) counts with its first 259 bytes.
constexpr std::size_t kMaxStringSettingBytes = 259;

std::string_view cut_setting(std::string_view value) {
  return value.substr(0, std::min(value.size(), kMaxStringSettingBytes));
}

bool switch_on(const SectionCursor& project, std::string_view key, bool when_absent) {
  const auto value = project.get_string(key);
  if (!value) {
    return when_absent;
  }
  return is_flag_on(value);
}

// "X:" or "\\server\share" (two separators, server, share) at the start
// of `folder`, or empty.
std::string_view root_of(std::string_view folder) {
  if (starts_with_drive(folder)) {
    return folder.substr(0, 2);
  }
  if (folder.size() >= 2 && is_path_separator(folder[0]) && is_path_separator(folder[1])) {
    const std::size_t server_end = find_path_separator(folder, 2);
    return folder.substr(0, find_path_separator(folder, server_end + 1));
  }
  return {};
}

}  // namespace

OutputContext read_output_context(const SectionCursor& project) {
  OutputContext context;
  context.write_bitmap = switch_on(project, kOutputBitmapKey, true);
  context.write_label = switch_on(project, kOutputLabelKey, false);
  if (const auto format = project.get_string(kOutputLabelFormatKey)) {
    context.label_format = std::string(cut_setting(*format));
  }
  context.page_number_in_upper_bits = switch_on(project, kOutputLabelPageNumberKey, false);
  context.write_text_table = switch_on(project, kOutputTableTextKey, false);
  context.write_little_table = switch_on(project, kOutputTableLittleKey, false);
  context.write_big_table = switch_on(project, kOutputTableBigKey, false);
  context.write_png = switch_on(project, kOutputPngKey, false);
  context.png_transparent = switch_on(project, kOutputPngTransparentKey, false);
  context.write_json = switch_on(project, kOutputJsonKey, false);
  return context;
}

namespace {

std::vector<std::string> page_names_of(DocumentStore& project) {
  std::vector<std::string> names;
  if (const StoreSection* list = project.find_section(kPageListSection)) {
    for (const StoreEntry& entry : list->entries()) {
      names.emplace_back(entry.value());
    }
  }
  return names;
}

// False, with the message shown, when the file cannot be written.
bool write_table(std::string_view folder, std::string_view name, const std::string& bytes,
                 bool if_changed, OutputRunPort& port) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const std::string path = join_path(folder, name);
  set_last_file_error(0);
  if (write_output_file(path, {data, bytes.size()}, if_changed)) {
    return true;
  }
  port.show_error(table_error_message(name, path, last_file_error()), kOutputCaption);
  return false;
}

}  // namespace

std::string resolve_output_dir(std::string_view output_dir, std::string_view project_base) {
  if (output_dir.empty()) {
    return std::string(project_base);
  }
  if (starts_with_drive(output_dir) ||
      (output_dir.size() >= 2 && is_path_separator(output_dir[0]) &&
       is_path_separator(output_dir[1]))) {
    return std::string(output_dir);
  }
  if (is_path_separator(output_dir[0])) {
    // Entered from the project's folder, a leading separator means the root
    // of the project's drive, not of the drive this process happens to be on.
    return std::string(root_of(project_base)) + std::string(output_dir);
  }
  return join_path(project_base, output_dir);
}

OutputRunResult run_output(const OutputRunRequest& request) {
  OutputRunResult result;
  if (request.project == nullptr || request.port == nullptr) {
    return result;
  }
  DocumentStore& project = *request.project;
  // Project PROPERTY backed by the settings store's PROPERTY.
  const PropertyChain chain(project, request.settings, std::nullopt);
  const SectionCursor& project_level = chain.start();
  const std::string project_base = folder_of(request.project_path);

  if (request.output_folder) {
    result.output_folder = *request.output_folder;
  } else if (switch_on(project_level, kOutputEnableKey, false)) {
    std::string output_dir;
    (void)project_level.get_string_to(kOutputDirKey, output_dir);
    result.output_folder = resolve_output_dir(cut_setting(output_dir), project_base);
  } else {
    std::string chosen = project_base;
    if (!request.port->choose_output_folder(chosen)) {
      return result;
    }
    result.output_folder = std::move(chosen);
  }
  // Never somewhere else instead: the project's folder holds the user's
  // images, which a page bitmap of the same name would replace.
  int folder_error = 0;
  if (!make_output_folder(result.output_folder, folder_error)) {
    request.port->show_error(folder_error_message(result.output_folder, folder_error),
                             kOutputCaption);
    return result;
  }
  result.ran = true;

  const OutputContext context = read_output_context(project_level);
  RunTables tables;
  const std::vector<std::string> pages = page_names_of(project);
  const int page_count = static_cast<int>(pages.size());
  int pages_done = 0;
  DecodeCache decoded_files;
  const SharedImageRows shared_rows =
      count_shared_image_rows(project, pages, request.project_folder, decoded_files);
  const auto inputs_for = [&](std::size_t position, int page_index) {
    const std::string& page_name = pages[position];
    PagePassInputs inputs;
    inputs.project = &project;
    inputs.project_chain = &project_level;
    inputs.page_name = page_name;
    inputs.page_index = page_index;
    inputs.context = &context;
    inputs.project_folder = request.project_folder;
    inputs.output_folder = result.output_folder;
    inputs.decoders = request.decoders;
    inputs.decode_cache = &decoded_files;
    inputs.shared_rows = &shared_rows;
    inputs.page_position = position;
    inputs.if_changed = request.if_changed;
    return inputs;
  };
  const auto finish_page = [&](const std::string& page_name, const PagePassResult& pass) {
    const PagePassStatus status = pass.status;
    for (const std::string& path : pass.unreadable_images) {
      request.port->image_unreadable(page_name, path);
    }
    if (status == PagePassStatus::Failed) {
      result.failed_pages.push_back(page_name);
      request.port->show_error(page_error_message(page_name, pass), kOutputCaption);
    } else {
      tables.add_page(pass.tables, status == PagePassStatus::Written
                                       ? std::optional<std::string_view>(page_name)
                                       : std::nullopt);
    }
    request.port->page_finished(++pages_done, page_count);
  };

  // Plug-ins are not known to be thread-safe; beyond kMaxOutputPages pages
  // the single-threaded run refuses pages before composing them.
  bool finished = false;
  if (request.jobs > 1 && page_count > 1 && request.decoders == nullptr &&
      page_count <= kMaxOutputPages) {
    ParallelPages work;
    work.page_count = page_count;
    work.jobs = std::min(request.jobs, page_count);
    work.read = [&](int page) {
      return read_page_source(project, project_level, pages[static_cast<std::size_t>(page)]);
    };
    // Composed as if every page before it succeeds; finish corrects the
    // first label's number when one failed.
    work.compose = [&](int page, const PageSource& source) {
      return compose_page(source, inputs_for(static_cast<std::size_t>(page), page));
    };
    work.finish = [&](int page, PagePassResult& pass) {
      if (pass.status != PagePassStatus::Failed) {
        set_page_number(pass.tables, tables.page_count());
      }
      finish_page(pages[static_cast<std::size_t>(page)], pass);
    };
    finished = run_parallel_pages(work);
  }
  for (std::size_t i = 0; !finished && i < pages.size(); ++i) {
    PagePassResult pass;
    if (tables.page_count() < kMaxOutputPages) {
      pass = run_page_pass(inputs_for(i, tables.page_count()));
    } else {
      pass.failure = PageFailure::TooManyPages;
    }
    finish_page(pages[i], pass);
  }
  result.pages_output = tables.page_count();

  const auto table = [&](bool on, std::string_view name, const std::string& bytes) {
    if (on && !write_table(result.output_folder, name, bytes, request.if_changed, *request.port)) {
      result.failed_files.emplace_back(name);
    }
  };
  table(context.write_label, "imgidx.h", tables.label_file());
  table(context.write_text_table, "imgtable.h", tables.text_table_file());
  table(context.write_little_table, "imgtable_l.bin", tables.little_table_file());
  table(context.write_big_table, "imgtable_b.bin", tables.big_table_file());
  return result;
}

}  // namespace piconel
