#pragma once

// The decoders the command line tries before the built-in ones: the Susie
// plug-ins, loaded as the window loads them.

#include <memory>
#include <string_view>

#include "image/picture_decoder.h"

namespace piconel {

// Windows: the plug-ins of `program_folder`, its "plugin" subfolder and,
// when `search_susie_folder` is set (the settings' PLUGIN_SUSIEDIR), the
// Susie viewer's folder from the registry; none when no plug-in loads or
// `program_folder` is empty. Linux: always none (plug-ins are Windows
// libraries).
[[nodiscard]] std::unique_ptr<PictureDecoder> load_cli_plugins(std::string_view program_folder,
                                                               bool search_susie_folder);

}  // namespace piconel
