#include "app/settings_model.h"

#include <gtest/gtest.h>

#include <string>

namespace piconel {
namespace {

DocumentStore& with(DocumentStore& store, std::string_view text) {
  EXPECT_TRUE(store.parse(text));
  return store;
}

TEST(SettingsPath, BuiltFromProgramFolder) {
  EXPECT_EQ(program_folder_of("C:\\Tools\\piconel.exe"), "C:\\Tools\\");
  EXPECT_EQ(settings_path_for_module("C:\\Tools\\piconel.exe"), "C:\\Tools\\piconel.ini");
  // The file name does not follow the executable's name.
  EXPECT_EQ(settings_path_for_module("C:\\x\\renamed.exe"), "C:\\x\\piconel.ini");
  // ソ (0x83 0x5C) in the folder name does not end the folder early.
  EXPECT_EQ(settings_path_for_module("D:\\\x83\x5C\\p.exe"), "D:\\\x83\x5C\\piconel.ini");
  EXPECT_FALSE(settings_path_for_module(""));
}

TEST(SettingsPath, LengthLimits) {
  // Module path of 259 bytes fits; 260 does not.
  const std::string folder = "C:\\" + std::string(240, 'd') + "\\";  // 244 bytes
  const std::string module_259 = folder + std::string(259 - folder.size(), 'e');
  const std::string module_260 = folder + std::string(260 - folder.size(), 'e');
  EXPECT_TRUE(program_folder_of(module_259));
  EXPECT_FALSE(program_folder_of(module_260));
  EXPECT_FALSE(settings_path_for_module(module_260));
  // Joined path: 259 bytes fits, 260 fails ("piconel.ini" is 11 bytes).
  const std::string folder_248 = "C:\\" + std::string(244, 'f') + "\\";
  ASSERT_EQ(folder_248.size(), 248u);
  EXPECT_EQ(settings_path_for_module(folder_248 + "p.exe")->size(), 259u);
  EXPECT_FALSE(settings_path_for_module("C:\\" + std::string(245, 'f') + "\\p.exe"));
}

TEST(SettingsProperty, SnapWidthAndFlags) {
  DocumentStore store;
  EXPECT_EQ(read_snap_width(store), 4);
  EXPECT_FALSE(read_search_susie_folder(store));
  EXPECT_FALSE(read_relative_image_paths(store));
  with(store, "[PROPERTY]\r\nSNAPWIDTH=40\r\nPLUGIN_SUSIEDIR=1\r\nPROJ_RELATIVEPATH=0\r\n");
  EXPECT_EQ(read_snap_width(store), 40);  // used unchanged beyond the dialog's 0 to 16
  EXPECT_TRUE(read_search_susie_folder(store));
  EXPECT_FALSE(read_relative_image_paths(store));
}

TEST(SettingsIdentity, NewFileGetsInfoFirst) {
  DocumentStore store;
  EXPECT_TRUE(write_settings_identity(store));
  EXPECT_EQ(store.serialize(),
            "[INFOMATION]\r\n"
            // ピコネル設定ファイル
            "APPLICATIONNAME=\x83\x73\x83\x52\x83\x6C\x83\x8B\x90\xDD\x92\xE8\x83\x74\x83\x40"
            "\x83\x43\x83\x8B\r\n"
            "APPLICATIONVERSION=1.0.8\r\n");
}

TEST(ListWindowSettings, DefaultsWhenAbsent) {
  DocumentStore store;
  ListWindowGeometry geometry;
  EXPECT_FALSE(read_image_list_settings(store, geometry));
  EXPECT_FALSE(read_page_list_settings(store, geometry));
  EXPECT_EQ(geometry.image_list, (ListWindowBox{0, 0, 200, 300}));
  EXPECT_EQ(geometry.image_list_columns, (std::array<std::int32_t, 3>{100, 100, 200}));
  EXPECT_EQ(geometry.page_list, (ListWindowBox{0, 0, 300, 300}));
  EXPECT_EQ(geometry.page_list_columns, (std::array<std::int32_t, 4>{120, 36, 36, 120}));
}

TEST(ListWindowSettings, SingleColumnWidthChangesOnlyTheFirst) {
  DocumentStore store;
  with(store, "[WINDOW]\r\nListColmnWidth=150\r\nPageWindowPos=10,20\r\n");
  ListWindowGeometry geometry;
  (void)read_image_list_settings(store, geometry);
  (void)read_page_list_settings(store, geometry);
  EXPECT_EQ(geometry.image_list_columns, (std::array<std::int32_t, 3>{150, 100, 200}));
  EXPECT_EQ(geometry.page_list, (ListWindowBox{10, 20, 300, 300}));
}

TEST(ListWindowSettings, EnableFlags) {
  DocumentStore store;
  with(store, "[WINDOW]\r\nListWindowEnable=1\r\nPageWindowEnable=0\r\n");
  ListWindowGeometry geometry;
  EXPECT_TRUE(read_image_list_settings(store, geometry));
  EXPECT_FALSE(read_page_list_settings(store, geometry));
}

TEST(ListWindowSettings, WrittenInCloseOrderAndReadBack) {
  DocumentStore store;
  ListWindowGeometry geometry;
  geometry.image_list = {5, -6, 210, 310};
  geometry.image_list_columns = {1, 2, 3};
  geometry.page_list = {7, 8, 9, 10};
  geometry.page_list_columns = {11, 12, 13, 14};
  geometry.image_list_placed = true;
  geometry.page_list_placed = true;
  EXPECT_TRUE(write_list_window_settings(store, geometry, true, false));
  EXPECT_EQ(store.serialize(),
            "[WINDOW]\r\n"
            "ListWindowPos=5,-6,210,310\r\n"
            "ListColmnWidth=1,2,3\r\n"
            "ListWindowEnable=1\r\n"
            "PageWindowPos=7,8,9,10\r\n"
            "PageColmnWidth=11,12,13,14\r\n"
            "PageWindowEnable=0\r\n");
  ListWindowGeometry back;
  EXPECT_TRUE(read_image_list_settings(store, back));
  EXPECT_FALSE(read_page_list_settings(store, back));
  EXPECT_EQ(back, geometry);
}

// A window never placed keeps no rectangle in the file: 0,0 would open it
// over the main window's menu at the next start.
TEST(ListWindowSettings, UnplacedRectangleIsNotWritten) {
  DocumentStore store;
  ListWindowGeometry geometry;
  geometry.page_list_placed = true;
  EXPECT_TRUE(write_list_window_settings(store, geometry, false, false));
  const std::string text = store.serialize();
  EXPECT_EQ(text.find("ListWindowPos"), std::string::npos) << text;
  EXPECT_NE(text.find("PageWindowPos=0,0,300,300\r\n"), std::string::npos) << text;
  ListWindowGeometry back;
  (void)read_image_list_settings(store, back);
  (void)read_page_list_settings(store, back);
  EXPECT_FALSE(back.image_list_placed);
  EXPECT_TRUE(back.page_list_placed);
}

TEST(MainWindowSettings, WrittenInCloseOrder) {
  DocumentStore store;
  MainWindowPlacement placement;
  placement.maximized = true;
  placement.normal = {10, 20, 522, 532};
  placement.min_position = {-1, -1};
  placement.max_position = {-8, -8};
  EXPECT_TRUE(write_main_window_placement(store, placement));
  EXPECT_EQ(store.serialize(),
            "[WINDOW]\r\n"
            "MainWindowMode=MAXIMIZED\r\n"
            "MainWindowPos=10,20,522,532\r\n"
            "MainWindowMinPos=-1,-1\r\n"
            "MainWindowMaxPos=-8,-8\r\n");
  placement.maximized = false;
  EXPECT_TRUE(write_main_window_placement(store, placement));
  EXPECT_EQ(store.get_string("WINDOW", "MainWindowMode"), "NORMAL");

  const RestoredPlacement restored = read_main_window_placement(store);
  EXPECT_FALSE(restored.maximized);
  EXPECT_TRUE(restored.complete);
  EXPECT_EQ(restored.placement.normal, placement.normal);
  EXPECT_EQ(restored.placement.min_position, placement.min_position);
  EXPECT_EQ(restored.placement.max_position, placement.max_position);
}

TEST(MainWindowSettings, ModeComparisonIsExact) {
  struct Case {
    const char* mode;
    bool maximized;
  };
  const Case cases[] = {{"MAXIMIZED", true}, {"MAXIMIZEDX", false}, {"maximized", false},
                        {"NORMAL", false},   {"", false},           {" MAXIMIZED", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    DocumentStore store;
    ASSERT_TRUE(store.set_string("WINDOW", "MainWindowMode", c.mode));
    EXPECT_EQ(read_main_window_placement(store).maximized, c.maximized);
  }
}

TEST(MainWindowSettings, PositionsNeedAllThreeKeys) {
  struct Case {
    const char* name;
    const char* text;
    bool complete;
  };
  const Case cases[] = {
      {"AllThree", "MainWindowPos=1,2,3,4\r\nMainWindowMinPos=5\r\nMainWindowMaxPos=6\r\n", true},
      {"MaxMissing", "MainWindowPos=1,2,3,4\r\nMainWindowMinPos=5,6\r\n", false},
      {"PosEmpty", "MainWindowPos=\r\nMainWindowMinPos=5,6\r\nMainWindowMaxPos=7,8\r\n", false},
      {"NoneAtAll", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DocumentStore store;
    ASSERT_TRUE(store.parse(std::string("[WINDOW]\r\n") + c.text));
    EXPECT_EQ(read_main_window_placement(store).complete, c.complete);
  }
  // A short list fills the first fields; the rest stay zero.
  DocumentStore store;
  ASSERT_TRUE(store.parse(
      "[WINDOW]\r\nMainWindowPos=1,2\r\nMainWindowMinPos=5\r\nMainWindowMaxPos=7,8\r\n"));
  const RestoredPlacement restored = read_main_window_placement(store);
  EXPECT_EQ(restored.placement.normal, (ScreenRect{1, 2, 0, 0}));
  EXPECT_EQ(restored.placement.min_position, (ScreenPoint{5, 0}));
  EXPECT_EQ(restored.placement.max_position, (ScreenPoint{7, 8}));
}

}  // namespace
}  // namespace piconel
