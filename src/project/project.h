#pragma once

// The state of the open project: its store, where it lives, which page is
// current, whether it has unsaved changes, and the image entries of the
// current page (the page model). One instance serves the whole run; tests build their own.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/page_images.h"
#include "project/project_keys.h"
#include "project/project_ports.h"
#include "store/document_store.h"

namespace piconel {

inline constexpr int kMaxPages = 256;
inline constexpr int kMaxPageNameBytes = 30;

// An image row of the current page that gave no entry when the page was
// loaded (unreadable file, or the page already full). It is written back at
// the next sync_current_page so that a temporarily unreachable image does not
// drop out of the project.
struct CarriedRow {
  // Number of entries that came before the row when the page was loaded;
  // the row is written back before the entry now at this index (at the end
  // when fewer entries are left).
  int position = 0;
  // The row as read; a relative path is made full against the project folder
  // (the same form sync_current_page writes for loaded images) when that full
  // row reads back as the same image (carried_row_form).
  std::string row;
};

struct Project {
  Project() = default;
  explicit Project(ProjectPorts project_ports, DocumentStore* settings_store = nullptr)
      : settings(settings_store), ports(project_ports) {}
  Project(const Project&) = delete;
  Project& operator=(const Project&) = delete;

  // Created empty by the first open_project; none before and after
  // release_project.
  std::unique_ptr<DocumentStore> store;
  // The application settings (PROPERTY: the last level of the property chain
  // and PROJ_RELATIVEPATH). Not owned; may be none.
  DocumentStore* settings = nullptr;

  // Full path of the project file; empty for an untitled project.
  std::string path;
  // Drive and directory of the project file, ending in its separator (empty
  // for an untitled project): the base of relative image paths.
  std::string folder;
  // 0-based index into PAGELIST; -1 when the project has no page.
  int current_page = -1;
  // Rows of PAGELIST, kept up to date by every page operation.
  int page_count = 0;
  bool modified = false;

  // The open page's images; every change of them goes through here.
  PageImages images{*this};
  std::vector<CarriedRow> carried_rows;

  ProjectPorts ports;
};

// "PROPERTY:<page>" and "FILELIST:<page>".
std::string page_property_section(std::string_view page_name);
std::string page_file_section(std::string_view page_name);

// The name of page `index` (the PAGELIST row), or none without a store or
// for an index that names no page.
std::optional<std::string> page_name_at(Project& project, int index);

}  // namespace piconel
