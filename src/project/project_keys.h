#pragma once

// Names of the project file's sections and keys, and the settings-file keys
// the project reads. One definition each: the page operations, the open and
// save, the settings model and the output all use these.

#include <string_view>

#include "store/document_store.h"

namespace piconel {

// Rows: the page names in page order.
inline constexpr std::string_view kPageListSection = "PAGELIST";
// The project's own properties; in the settings file, the application-wide
// page defaults (the last level of the property chain).
inline constexpr std::string_view kPropertySection = "PROPERTY";

// Project PROPERTY.
inline constexpr std::string_view kCurrentPageKey = "CURRENTPAGE";

// Project PROPERTY: the output settings.
inline constexpr std::string_view kOutputEnableKey = "OUTPUTENABLE";
inline constexpr std::string_view kOutputDirKey = "OUTPUTDIR";
inline constexpr std::string_view kOutputBitmapKey = "OUTPUT_BMP";
inline constexpr std::string_view kOutputLabelKey = "OUTPUT_LABEL";
inline constexpr std::string_view kOutputLabelFormatKey = "OUTPUT_LABEL_FORMAT";
inline constexpr std::string_view kOutputLabelPageNumberKey = "OUTPUT_LABEL_PAGENUM";
inline constexpr std::string_view kOutputTableTextKey = "OUTPUT_TABLE_TEXT";
inline constexpr std::string_view kOutputTableLittleKey = "OUTPUT_TABLE_LITTLE";
inline constexpr std::string_view kOutputTableBigKey = "OUTPUT_TABLE_BIG";
// Each page also as "<page>.png" (with the background transparent when the
// second key is on) and its frames as "<page>.json"; off when absent.
inline constexpr std::string_view kOutputPngKey = "OUTPUT_PNG";
inline constexpr std::string_view kOutputPngTransparentKey = "OUTPUT_PNG_TRANSPARENT";
inline constexpr std::string_view kOutputJsonKey = "OUTPUT_JSON";

// "PROPERTY:<page>".
inline constexpr std::string_view kPageLabelKey = "PAGELABEL";
inline constexpr std::string_view kPutImageWidthKey = "PUTIMAGEWIDTH";
inline constexpr std::string_view kPutImageHeightKey = "PUTIMAGEHEIGHT";

// Settings PROPERTY: save image paths relative to the project file.
inline constexpr std::string_view kRelativePathKey = "PROJ_RELATIVEPATH";

// The PROJ_RELATIVEPATH flag of the settings store ('1' at the start).
[[nodiscard]] bool read_relative_image_paths(DocumentStore& settings);

}  // namespace piconel
