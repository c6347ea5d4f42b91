#include "project/project_keys.h"

namespace piconel {

bool read_relative_image_paths(DocumentStore& settings) {
  return settings.get_flag(kPropertySection, kRelativePathKey);
}

}  // namespace piconel
