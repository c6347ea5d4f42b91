#include "project/project.h"

namespace piconel {

std::string page_property_section(std::string_view page_name) {
  std::string name = "PROPERTY:";
  name.append(page_name);
  return name;
}

std::string page_file_section(std::string_view page_name) {
  std::string name = "FILELIST:";
  name.append(page_name);
  return name;
}

std::optional<std::string> page_name_at(Project& project, int index) {
  if (!project.store) {
    return std::nullopt;
  }
  const auto name = project.store->row_at(kPageListSection, index);
  if (!name) {
    return std::nullopt;
  }
  return std::string(*name);
}

}  // namespace piconel
