#pragma once

// The application setting that widens the plug-in search, shared by the
// window and the command line (both load plug-ins from the folders it
// names).

#include <string_view>

#include "store/document_store.h"

namespace piconel {

// Key of the settings file's PROPERTY section: "1" at the start adds the
// Susie viewer's plug-in folder (from the registry) to the search.
inline constexpr std::string_view kPluginSusieDir = "PLUGIN_SUSIEDIR";

// The PLUGIN_SUSIEDIR flag of `settings` ("1" at the start).
[[nodiscard]] bool read_search_susie_folder(DocumentStore& settings);

}  // namespace piconel
