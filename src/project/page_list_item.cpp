#include "project/page_list_item.h"

#include "project/property_chain.h"

namespace piconel {

void refresh_page_item(Project& project, int index) {
  PageListView& list = *project.ports.page_list;
  if (!list.is_open() || index < 0) {
    return;
  }
  const auto name = page_name_at(project, index);
  if (!name) {
    return;
  }
  PropertyChain chain(*project.store, project.settings, *name);
  PageItemTexts texts;
  texts.name = *name;
  if (is_flag_on(chained_string(kSheetSizeManualKey, chain.start()))) {
    texts.width = chained_string(kSheetWidthKey, chain.start()).value_or("");
    texts.height = chained_string(kSheetHeightKey, chain.start()).value_or("");
  }
  texts.label = own_string(kPageLabelKey, chain.start()).value_or("");
  list.set_item_texts(index, texts);
}

void refresh_page_items(Project& project) {
  if (!project.ports.page_list->is_open()) {
    return;
  }
  for (int index = 0; index < project.page_count; ++index) {
    refresh_page_item(project, index);
  }
}

}  // namespace piconel
