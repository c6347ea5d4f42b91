#include "cli/cli_plugins.h"
#include "image/plugin_host.h"

namespace piconel {

std::unique_ptr<PictureDecoder> load_cli_plugins(std::string_view program_folder,
                                                 bool search_susie_folder) {
  if (program_folder.empty()) {
    return nullptr;
  }
  auto host = std::make_unique<PluginHost>();
  if (host->load_plugins(program_folder, search_susie_folder) == 0) {
    return nullptr;
  }
  return host;
}

}  // namespace piconel
