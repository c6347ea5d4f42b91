#include "app/image_row_texts.h"

#include "store/cp932.h"

namespace piconel {

ImageRowTexts image_row_texts(const ImageEntry& entry) {
  return ImageRowTexts{file_name_of(entry.path), entry.settings.label, folder_of(entry.path)};
}

}  // namespace piconel
