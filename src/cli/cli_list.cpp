#include "cli/cli_list.h"

#include <optional>
#include <vector>

#include "cli/cli_command_arguments.h"
#include "cli/cli_json.h"
#include "cli/cli_platform.h"
#include "cli/cli_project_texts.h"
#include "cli/cli_session.h"
#include "cli/cli_texts.h"
#include "project/current_page.h"
#include "project/page_operations.h"
#include "store/bounded_format.h"
#include "store/decimal_text.h"

namespace piconel {
namespace {

namespace texts = cli_project_texts;

// Room for one page line: a name, a label and the numbers.
constexpr std::size_t kLineBytes = 512;

// The page list window's rows, as the window fills them.
class RecordedPageList final : public PageListView {
 public:
  bool is_open() const override { return true; }
  void remove_all_items() override { rows.clear(); }
  void insert_item(int index, std::string_view name) override {
    const auto at =
        index < 0 || index > static_cast<int>(rows.size()) ? rows.end() : rows.begin() + index;
    rows.insert(at, PageItemTexts{std::string(name), {}, {}, {}});
  }
  void remove_item(int index) override {
    if (index >= 0 && index < static_cast<int>(rows.size())) {
      rows.erase(rows.begin() + index);
    }
  }
  void set_item_texts(int index, const PageItemTexts& texts) override {
    if (index >= 0 && index < static_cast<int>(rows.size())) {
      rows[static_cast<std::size_t>(index)] = texts;
    }
  }
  void select_item(int index) override { static_cast<void>(index); }
  int focused_item() const override { return -1; }
  void move_item(int from, int to) override {
    static_cast<void>(from);
    static_cast<void>(to);
  }

  std::vector<PageItemTexts> rows;
};

// One page as the window shows it once it is current.
struct ListedPage {
  PageItemTexts row;
  SheetExtent used;
  ColorRef background = 0;
  std::vector<const ImageEntry*> images;
};

int red_of(ColorRef colour) {
  return colour & 0xFF;
}
int green_of(ColorRef colour) {
  return (colour >> 8) & 0xFF;
}
int blue_of(ColorRef colour) {
  return (colour >> 16) & 0xFF;
}

bool manual_sheet(const PageItemTexts& row) {
  return !row.width.empty() || !row.height.empty();
}

std::string page_text(const ListedPage& page) {
  const std::string sheet =
      manual_sheet(page.row) ? page.row.width + "x" + page.row.height : texts::kListSheetAuto;
  std::string line;
  (void)bounded_format_string(line, kLineBytes, texts::kListPage, page.row.name.c_str(),
                              page.row.label.c_str(), sheet.c_str(), page.used.width,
                              page.used.height, red_of(page.background), green_of(page.background),
                              blue_of(page.background), static_cast<int>(page.images.size()));
  std::string text = line + "\n";
  for (const ImageEntry* image : page.images) {
    const ImageSettings& settings = image->settings;
    text += '\t';
    text += format_decimal(image->x) + "," + format_decimal(image->y) + "\t" +
            format_decimal(image->width) + "x" + format_decimal(image->height) + "\t" +
            settings.label + "\t" +
            (settings.transparent_on != 0 ? format_decimal(settings.transparent_key) : "-") + "\t" +
            image->path;
    if (image->placeholder) {
      text += "\t";
      text += texts::kListUnreadable;
    }
    text += "\n";
  }
  return text;
}

nlohmann::json page_json(const ListedPage& page) {
  nlohmann::json images = nlohmann::json::array();
  for (const ImageEntry* image : page.images) {
    const ImageSettings& settings = image->settings;
    nlohmann::json forced = nullptr;
    if (settings.size_forced != 0) {
      forced = {{"width", settings.forced_width}, {"height", settings.forced_height}};
    }
    images.push_back({{"path", json_text(image->path)},
                      {"x", image->x},
                      {"y", image->y},
                      {"width", image->width},
                      {"height", image->height},
                      {"label", json_text(settings.label)},
                      {"transparent", settings.transparent_on != 0},
                      {"key", settings.transparent_key},
                      {"forced_size", forced},
                      {"readable", !image->placeholder}});
  }
  nlohmann::json sheet = "auto";
  if (manual_sheet(page.row)) {
    sheet = {{"width", json_text(page.row.width)}, {"height", json_text(page.row.height)}};
  }
  return {{"name", json_text(page.row.name)},
          {"label", json_text(page.row.label)},
          {"sheet", sheet},
          {"used", {{"width", page.used.width}, {"height", page.used.height}}},
          {"background",
           {red_of(page.background), green_of(page.background), blue_of(page.background)}},
          {"images", images}};
}

}  // namespace

int run_list_command(std::span<const std::string> arguments, const CliInvocation& invocation,
                     CliConsole& console) {
  bool json = false;
  std::optional<std::string> settings;
  const CliSwitch switches[] = {{"--json", &json}};
  const CliValueOption values[] = {{"--settings", &settings}};
  const CliCommandParse parse = parse_command_arguments(arguments, {switches, values, 1});
  const ProjectArgument project_argument = take_project_argument(parse, texts::kListHelp, console);
  if (!project_argument.path) {
    return project_argument.exit_status;
  }
  const std::optional<std::string>& project_path = project_argument.path;
  CliSession session(invocation, console);
  RecordedPageList page_list;
  session.project().ports.page_list = &page_list;
  if (!session.start(settings) || !session.open(*project_path)) {
    return kExitUsage;
  }
  Project& project = session.project();
  const int current = project.current_page;

  // Each page loaded as the window loads it when it becomes current; nothing
  // is synchronised, nothing saved.
  std::string text;
  nlohmann::json pages = nlohmann::json::array();
  for (int index = 0; index < project.page_count; ++index) {
    if (index != project.current_page) {
      project.current_page = index;
      load_current_page(project);
    }
    ListedPage page;
    if (index < static_cast<int>(page_list.rows.size())) {
      page.row = page_list.rows[static_cast<std::size_t>(index)];
    }
    page.used = session.view().used_extent();
    page.background = session.view().background();
    for (const ImageEntry& entry : project.images.entries()) {
      page.images.push_back(&entry);
    }
    if (json) {
      pages.push_back(page_json(page));
    } else {
      text += page_text(page);
    }
  }
  if (json) {
    print_json(console, {{"current_page", current}, {"pages", pages}});
  } else {
    console.output(text);
  }
  return kExitOk;
}

}  // namespace piconel
