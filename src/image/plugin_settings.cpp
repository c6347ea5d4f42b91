#include "image/plugin_settings.h"

namespace piconel {

bool read_search_susie_folder(DocumentStore& settings) {
  return settings.get_flag("PROPERTY", kPluginSusieDir);
}

}  // namespace piconel
