// The main window's command table: which ids do something, each once.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/commands_win32.h"
#include "app/resource.h"

namespace piconel {
namespace {

TEST(CommandTable, HoldsTheProjectCommandsOnceEach) {
  std::vector<unsigned> ids;
  for (const Command& command : command_table()) {
    EXPECT_NE(command.run, nullptr);
    ids.push_back(command.id);
  }
  std::sort(ids.begin(), ids.end());
  const std::vector<unsigned> expected = {IDM_PROJECT_OPEN,    IDM_EXIT,
                                          IDM_PROJECT_NEW,     IDM_PROJECT_SAVE,
                                          IDM_PROJECT_SAVE_AS, IDM_OUTPUT};
  EXPECT_EQ(ids, expected);
}

TEST(CommandTable, CommandsWithoutAnActionReachNoHandler) {
  App app;
  // Ctrl+S, the "削除(Del)" item and an id no resource uses.
  for (const unsigned id : {unsigned{IDM_SAVE_KEY}, unsigned{IDM_DELETE_MENU}, 12345u}) {
    EXPECT_FALSE(run_command(app, CommandMessage{id}));
  }
}

TEST(CommandTable, SaveWithoutAProjectStoreDoesNothing) {
  App app;
  // No project was opened: Save and Save As find no store and ask nothing.
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_PROJECT_SAVE}));
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_PROJECT_SAVE_AS}));
  EXPECT_FALSE(app.project.store);
  EXPECT_TRUE(app.project.path.empty());
}

}  // namespace
}  // namespace piconel
