// The main window's command table: which ids do something, each once.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <vector>

#include "app/commands_win32.h"
#include "store/handles_win32.h"
#include "window/resource.h"

namespace piconel {
namespace {

TEST(CommandTable, HoldsEveryCommandOnceEach) {
  std::vector<unsigned> ids;
  for (const Command& command : command_table()) {
    EXPECT_NE(command.run, nullptr);
    ids.push_back(command.id);
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
  std::vector<unsigned> expected = {IDM_OVERLAP_CHECK,    IDM_PROJECT_OPEN,    IDM_EXIT,
                                    IDM_ADD_IMAGE,        IDM_HELP_FILE,       IDM_ABOUT,
                                    IDM_PROJECT_NEW,      IDM_PROJECT_SAVE,    IDM_PROJECT_SAVE_AS,
                                    IDM_OUTPUT,           IDM_SELECT_ALL,      IDM_SAVE_KEY,
                                    IDM_IMAGE_LIST,       IDM_DELETE_SELECTED, IDM_MOVE_UP,
                                    IDM_MOVE_DOWN,        IDM_PAGE_LIST,       IDM_RENAME_PAGE,
                                    IDM_PROJECT_SETTINGS, IDM_PAGE_SETTINGS,   IDM_APP_SETTINGS,
                                    IDM_DELETE_MENU,      IDM_ZOOM_OUT,        IDM_ZOOM_IN,
                                    IDM_PACK_PAGE,        IDC_ZOOM_BOX};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(ids, expected);
}

TEST(CommandTable, UnknownIdsReachNoHandler) {
  App app;
  // Ctrl+S is bound to Save and "削除(Del)" to Delete (a choice the
  // commands leave open); an unused id reaches nothing.
  EXPECT_FALSE(run_command(app, CommandMessage{12345u}));
}

TEST(CommandTable, DialogGuardRefusesASecondDialog) {
  App app;
  app.dialog_guard = 0;  // a property dialog is open
  struct CountingDialogs : DialogHooks {
    void page_settings(int, DialogOwner) override { ++opened; }
    void project_properties() override { ++opened; }
    int opened = 0;
  } dialogs;
  app.dialogs = &dialogs;
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_PAGE_SETTINGS}));
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_PROJECT_SETTINGS}));
  EXPECT_EQ(dialogs.opened, 0);
  app.dialog_guard = -1;
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_PROJECT_SETTINGS}));
  EXPECT_EQ(dialogs.opened, 1);
  EXPECT_EQ(app.dialog_guard, -1);
}

TEST(CommandTable, DialogGuardIsResetWhenTheDialogThrows) {
  App app;
  // Out of memory inside a dialog: the window procedure's boundary stops
  // the exception, and the next dialog must still open.
  struct ThrowingDialogs : DialogHooks {
    void project_properties() override { throw std::bad_alloc(); }
    void application_settings() override { ++opened; }
    int opened = 0;
  } dialogs;
  app.dialogs = &dialogs;
  EXPECT_THROW(run_command(app, CommandMessage{IDM_PROJECT_SETTINGS}), std::bad_alloc);
  EXPECT_EQ(app.dialog_guard, -1);
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_APP_SETTINGS}));
  EXPECT_EQ(dialogs.opened, 1);
}

TEST(CommandTable, SaveWithoutAProjectStoreDoesNothing) {
  App app;
  // No project was opened: Save and Save As find no store and ask nothing.
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_PROJECT_SAVE}));
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_PROJECT_SAVE_AS}));
  EXPECT_FALSE(app.project.store);
  EXPECT_TRUE(app.project.path.empty());
}

// A menu about to open shows the table's answers: a list item is checked
// exactly while its window is open, every command is enabled (a stale mark
// is taken off), and an item of no command of the table is left as it is.
TEST(CommandTable, MenuItemsShowTheTablesAnswers) {
  App app;
  struct OpenPageList : ListWindowHooks {
    bool is_open(ListWindowKind kind) const override { return kind == ListWindowKind::PageList; }
  } lists;
  app.list_windows = &lists;
  const OwnedMenu menu(CreatePopupMenu());
  ASSERT_TRUE(menu.valid());
  for (const UINT id : {IDM_PAGE_LIST, IDM_IMAGE_LIST, IDM_ZOOM_IN, IDM_PAGE_SELECT}) {
    AppendMenuW(menu.get(), MF_STRING, id, L"item");
  }
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  for (const UINT id : {IDM_IMAGE_LIST, IDM_ZOOM_IN, IDM_PAGE_SELECT}) {
    CheckMenuItem(menu.get(), id, MF_BYCOMMAND | MF_CHECKED);
    EnableMenuItem(menu.get(), id, MF_BYCOMMAND | MF_GRAYED);
  }
  show_menu_states(app, menu.get());
  const auto state = [&](UINT id) {
    return GetMenuState(menu.get(), id, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED);
  };
  EXPECT_EQ(state(IDM_PAGE_LIST), static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(state(IDM_IMAGE_LIST), 0u);
  EXPECT_EQ(state(IDM_ZOOM_IN), 0u);
  EXPECT_EQ(state(IDM_PAGE_SELECT), static_cast<UINT>(MF_CHECKED | MF_GRAYED));
}

}  // namespace
}  // namespace piconel
