#include "app/pack_command_win32.h"

#include <optional>
#include <string>

#include "app/command_actions_win32.h"
#include "app/image_row_texts.h"
#include "dialogs/pack_dialog_win32.h"
#include "dialogs/pack_texts.h"
#include "project/page_packing.h"
#include "project/project_file.h"

namespace piconel {
namespace {

// Room for the message naming images that stay: names beyond it are left out.
constexpr std::size_t kMessageBytes = 512;

std::string too_large_message(const ImageEntryList& entries, const PagePacking& packing) {
  std::string text = pack_texts::kTooLarge;
  std::size_t index = 0;
  std::size_t next = 0;
  for (const ImageEntry& entry : entries) {
    if (next < packing.too_large.size() && packing.too_large[next] == index) {
      const std::string name = image_row_texts(entry).file_name;
      if (text.size() + 1 + name.size() > kMessageBytes) {
        break;
      }
      text += "\n" + name;
      ++next;
    }
    ++index;
  }
  return text;
}

void pack(App& app, const PackChoices& choices) {
  Prompter& prompter = *app.project.ports.prompter;
  if (choices.selected_only && !app.project.images.any_selected()) {
    static_cast<void>(prompter.message_box(pack_texts::kNothingSelected, pack_texts::kCaption,
                                           kMbOk | kMbIconInformation));
    return;
  }
  const PagePacking packing = pack_current_entries(app.project, choices);
  if (!packing.too_large.empty()) {
    static_cast<void>(prompter.message_box(too_large_message(app.project.images.entries(), packing),
                                           pack_texts::kCaption, kMbOk | kMbIconExclamation));
  }
  if (!packing.packed) {
    static_cast<void>(prompter.message_box(pack_texts::kDoesNotFit, pack_texts::kCaption,
                                           kMbOk | kMbIconExclamation));
    return;
  }
  app.sheet_view.update_extent(true);
  app.controls.set_status_text(1, fill_text(packing.fill_permille));
}

}  // namespace

void pack_current_page(App& app) {
  const std::optional<std::string> page = page_name_at(app.project, app.project.current_page);
  if (!page) {
    return;
  }
  run_guarded(app, 0, [&] {
    PackChoices choices = current_page_pack_choices(app.project);
    if (run_pack_dialog(app.main_window, choices) != IDOK) {
      return;
    }
    write_pack_choices(*app.project.store, *page, choices);
    mark_modified(app.project);
    pack(app, choices);
  });
}

}  // namespace piconel
