#include "output/output_folder.h"

#include "store/file_error.h"
#include "store/file_io.h"

namespace piconel {

bool make_output_folder(std::string_view folder, int& error) {
  error = 0;
  if (folder.empty() || is_directory(folder)) {
    return true;
  }
  set_last_file_error(0);
  if (make_directories(folder)) {
    return true;
  }
  error = last_file_error();
  return false;
}

}  // namespace piconel
