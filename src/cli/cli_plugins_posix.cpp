#include "cli/cli_plugins.h"

namespace piconel {

std::unique_ptr<PictureDecoder> load_cli_plugins(std::string_view program_folder,
                                                 bool search_susie_folder) {
  (void)program_folder;
  (void)search_susie_folder;
  return nullptr;
}

}  // namespace piconel
