// Under Wine, the two floating list windows on a real main window, driven
// with real list-view notifications, mouse and key messages: selection
// mirrored both ways, Ctrl+Up/Down, the image settings double-click, page
// switching, the page context menu, renaming in place, and the geometry kept
// through closing, reopening and the settings file.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/app_win32.h"
#include "app/app_window_win32.h"
#include "app/close_sequence_win32.h"
#include "app/command_actions_win32.h"
#include "app/list_view_win32.h"
#include "app/list_windows_win32.h"
#include "app/message_loop_win32.h"
#include "app/test_window_win32.h"
#include "app/toolbar_win32.h"
#include "dialog_answerer_win32.h"
#include "hand_input_win32.h"
#include "project/page_operations.h"
#include "project/project_file.h"
#include "settings_file_win32.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"
#include "window/resource.h"

namespace piconel {
namespace {

using testing::pump_messages;

using testing::DialogAnswerer;
using testing::press_button;

// A project file under the temporary folder: five missing images on the
// first page (placeholders), two more pages, the second with a manual size.
class ProjectFile {
 public:
  ProjectFile() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"piconel_list_windows.ijp";
    std::string text =
        "[PAGELIST]\r\npage000\r\npage001\r\npage002\r\n[PROPERTY:page001]\r\nPAGELABEL=TITLE\r\n"
        "FIXEDSHEET=1\r\nSHEETSIZEMANUAL=1\r\nSHEETWIDTH=256\r\nSHEETHEIGHT=128\r\n"
        "[FILELIST:page000]\r\n";
    for (int i = 0; i < 5; ++i) {
      const std::string n = std::to_string(i);
      text += "C:\\nowhere\\img" + n + ".bmp\t" + std::to_string(20 * i) + "\t0\tIMG" + n +
              "\t1\t16\t16\t0\t0\r\n";
    }
    FileHandle file(
        CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
  ~ProjectFile() { DeleteFileW(path_.c_str()); }
  [[nodiscard]] std::string cp932() const { return to_cp932(path_); }

 private:
  std::wstring path_;
};

// Records the image and page settings dialogs with the guard they ran under.
class RecordingDialogs final : public DialogHooks {
 public:
  explicit RecordingDialogs(App& app) : app_(app) {}
  void page_settings(int page_index, DialogOwner owner) override {
    owners.push_back(owner);
    calls.push_back("page " + std::to_string(page_index) + " guard " +
                    std::to_string(app_.dialog_guard));
  }
  void image_settings(const ImageEntry& entry, DialogOwner owner) override {
    owners.push_back(owner);
    calls.push_back("image " + entry.settings.label + " guard " +
                    std::to_string(app_.dialog_guard));
  }
  std::vector<std::string> calls;
  std::vector<HWND> owners;  // each dialog is owned by the window it came from

 private:
  App& app_;
};

struct MainWindow {
  explicit MainWindow(const std::string& project_path, const wchar_t* settings_name)
      : settings(settings_name) {
    EXPECT_TRUE(app.settings.load(settings.cp932(), true));
    app.dialogs = &dialogs;
    // The missing images, when the page is loaded into the new view: Cancel
    // silences the prompt for the rest.
    DialogAnswerer answerer([](HWND dialog) { press_button(dialog, IDCANCEL); });
    open_project(app.project, project_path);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = register_main_window_class(instance);
    EXPECT_TRUE(registered);
    window = create_main_window(app, instance, update_title(app.project));
    app.accelerators.table = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    SetWindowPos(window, nullptr, 300, 0, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    pump_messages();
  }
  ~MainWindow() {
    if (IsWindow(window)) {
      app.project.modified = false;
      DestroyWindow(window);
    }
    pump_messages();
  }

  // A key pressed in `target` as the message loop handles it, with Ctrl
  // held or not.
  void key(HWND target, WPARAM virtual_key, bool control = false) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(state);
    MSG message{target, WM_KEYDOWN, virtual_key, 1, 0, {}};
    handle_loop_message(app.accelerators, message);
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
    pump_messages();
  }

  std::string order() const {
    std::string labels;
    for (const ImageEntry& entry : app.project.images.entries()) {
      labels += entry.settings.label.substr(3) + (entry.selected ? "*" : "");
    }
    return labels;
  }

  testing::SettingsFile settings;
  App app;
  RecordingDialogs dialogs{app};
  ListWindows lists{app};
  HWND window = nullptr;
};

std::string row_text(HWND list, int row, int column) {
  wchar_t text[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return to_cp932(text);
}

// Row labels (column `column`), a '*' after selected rows and a '>' before
// the focused one.
std::string rows_of(HWND list, int column) {
  std::string rows;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    const UINT state =
        static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED | LVIS_FOCUSED));
    rows += (state & LVIS_FOCUSED) != 0 ? ">" : "";
    rows += row_text(list, row, column);
    rows += (state & LVIS_SELECTED) != 0 ? "* " : " ";
  }
  return rows;
}

void set_row_state(HWND list, int row, UINT state, UINT mask) {
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// The client point in the middle of a row's first column.
LPARAM row_point(HWND list, int row) {
  RECT rect{};
  rect.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
  return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

std::wstring status_text(const App& app, int part) {
  wchar_t text[256] = {};
  SendMessageW(app.controls.status_bar, SB_GETTEXTW, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(text));
  return text;
}

bool menu_checked(App& app, UINT id) {
  const HMENU view = GetSubMenu(GetMenu(app.main_window), 2);
  SendMessageW(app.main_window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 2);
  return (GetMenuState(view, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// Keys as hardware input, with `held` keys (Shift, Ctrl) down around them.
void press_keys(std::initializer_list<WORD> held, WORD key) {
  std::vector<INPUT> inputs;
  const auto add = [&](WORD virtual_key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    // The arrows and Delete are keys of the extended block.
    const bool extended =
        virtual_key == VK_UP || virtual_key == VK_DOWN || virtual_key == VK_DELETE;
    input.ki.dwFlags = flags | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    inputs.push_back(input);
  };
  for (const WORD modifier : held) {
    add(modifier, 0);
  }
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  for (const WORD modifier : held) {
    add(modifier, KEYEVENTF_KEYUP);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A left click as hardware input at a screen point.
void click_at(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

// What is queued, handled as the program's message loop handles it (the
// accelerators translated), until nothing more arrives for a while.
void run_loop(const AcceleratorRoute& route) {
  for (int idle = 0; idle < 3;) {
    MSG message{};
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      idle = 0;
      if (message.message != WM_QUIT) {
        handle_loop_message(route, message);
      }
      continue;
    }
    ++idle;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT);
  }
}

POINT row_on_screen(HWND list, int row) {
  const LPARAM point = row_point(list, row);
  POINT screen{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  ClientToScreen(list, &screen);
  return screen;
}

TEST(ImageListScenario, MirrorsTheSheetMovesBlocksAndKeepsItsGeometry) {
  ProjectFile project;
  MainWindow main(project.cp932(), L"piconel_image_list_scenario.ini");
  App& app = main.app;
  ASSERT_EQ(app.project.images.entries().size(), 5u);
  app.list_geometry.image_list = ListWindowBox{20, 30, 320, 200};
  app.list_geometry.image_list_columns = {90, 70, 110};

  // Open: the tool window without close box, owned by the main window, a row
  // per entry (placeholders included), button and menu item in step.
  SendMessageW(main.window, WM_COMMAND, IDM_IMAGE_LIST, 0);
  ImageListWindow& list_window = main.lists.image_list();
  const HWND window = list_window.window();
  const HWND list = list_window.list();
  ASSERT_NE(list, nullptr);
  wchar_t class_name[32] = {};
  GetClassNameW(window, class_name, 32);
  EXPECT_STREQ(class_name, L"imglist");
  EXPECT_NE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_EQ(GetWindow(window, GW_OWNER), main.window);
  EXPECT_TRUE(list_button_pressed(app.controls, ListWindowKind::ImageList));
  EXPECT_TRUE(menu_checked(app, IDM_IMAGE_LIST));
  EXPECT_FALSE(menu_checked(app, IDM_PAGE_LIST));
  EXPECT_EQ(rows_of(list, 1), "IMG0 IMG1 IMG2 IMG3 IMG4 ");
  EXPECT_EQ(row_text(list, 2, 0), "img2.bmp");
  EXPECT_EQ(row_text(list, 2, 2), "C:\\nowhere\\");

  // List to sheet: selecting a row selects the image and describes it.
  set_row_state(list, 2, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(main.order(), "012*34");
  EXPECT_EQ(status_text(app, 1).substr(0, 14), L"(40,0)-(16,16)");
  set_row_state(list, 2, 0, LVIS_SELECTED);
  EXPECT_EQ(main.order(), "01234");
  EXPECT_EQ(status_text(app, 1), L"");

  // Sheet to list, then Ctrl+Up twice with the list in front: 2 3 0 1 4,
  // the focused row going along; a third press moves nothing but still
  // marks the project modified.
  app.sheet_view.set_entry_selected(2, true);
  app.sheet_view.set_entry_selected(3, true);
  EXPECT_EQ(rows_of(list, 1), "IMG0 IMG1 IMG2* >IMG3* IMG4 ");
  SetForegroundWindow(window);
  ASSERT_TRUE(app.list_windows->is_foreground(ListWindowKind::ImageList));
  main.key(list, VK_UP, true);
  main.key(list, VK_UP, true);
  EXPECT_EQ(main.order(), "2*3*014");
  EXPECT_EQ(rows_of(list, 1), "IMG2* >IMG3* IMG0 IMG1 IMG4 ");
  app.project.modified = false;
  main.key(list, VK_UP, true);
  EXPECT_EQ(main.order(), "2*3*014");
  EXPECT_TRUE(app.project.modified);

  // Rows 0 and 3 selected, Ctrl+Down: row 3 moves to 4, row 0 to 1.
  app.sheet_view.set_entry_selected(1, false);
  app.sheet_view.set_entry_selected(0, false);
  app.sheet_view.set_entry_selected(0, true);
  app.sheet_view.set_entry_selected(3, true);
  main.key(list, VK_DOWN, true);
  EXPECT_EQ(main.order(), "32*041*");
  EXPECT_EQ(rows_of(list, 0), "img3.bmp img2.bmp* img0.bmp img4.bmp >img1.bmp* ");

  // A double-click opens the image settings under the dialog guard; not
  // while another dialog is open.
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, row_point(list, 4));
  app.dialog_guard = 3;
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, row_point(list, 4));
  app.dialog_guard = -1;
  EXPECT_EQ(main.dialogs.calls, (std::vector<std::string>{"image IMG1 guard 0"}));
  EXPECT_EQ(main.dialogs.owners, (std::vector<HWND>{list_window.window()}));
  // A changed label reaches its row.
  ImageSettings hero = app.project.images.entries().back().settings;
  hero.label = "HERO";
  app.project.images.change_settings(app.project.images.entries().back(), hero);
  EXPECT_EQ(row_text(list, 4, 1), "HERO");

  // Delete takes the selected rows with their entries.
  SendMessageW(main.window, WM_COMMAND, IDM_DELETE_SELECTED, 0);
  EXPECT_EQ(rows_of(list, 1).find("IMG2"), std::string::npos);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);

  // Close keeps the rectangle and widths of that moment and releases the
  // button; row work while closed does nothing; reopening restores both.
  SetWindowPos(window, nullptr, 40, 50, 300, 180, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, 77);
  SendMessageW(main.window, WM_COMMAND, IDM_IMAGE_LIST, 0);
  pump_messages();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(app.list_windows->is_open(ListWindowKind::ImageList));
  EXPECT_FALSE(list_button_pressed(app.controls, ListWindowKind::ImageList));
  EXPECT_EQ(app.list_geometry.image_list, (ListWindowBox{40, 50, 300, 180}));
  EXPECT_EQ(app.list_geometry.image_list_columns[1], 77);
  app.sheet_view.set_entry_selected(0, true);
  SendMessageW(main.window, WM_COMMAND, IDM_IMAGE_LIST, 0);
  const HWND reopened = main.lists.image_list().window();
  EXPECT_EQ(window_box(reopened), (ListWindowBox{40, 50, 300, 180}));
  EXPECT_EQ(SendMessageW(main.lists.image_list().list(), LVM_GETCOLUMNWIDTH, 1, 0), 77);
  EXPECT_EQ(rows_of(main.lists.image_list().list(), 1).substr(0, 5), "IMG3*");
}

// Notes the page context menu when it opens and closes it again, as a user
// pressing Escape would; the test then sends the chosen command itself.
class ContextMenuCloser {
 public:
  ContextMenuCloser() {
    current() = this;
    hook_.reset(SetWindowsHookExW(WH_CALLWNDPROC, observe, nullptr, GetCurrentThreadId()));
  }
  ~ContextMenuCloser() {
    hook_.reset();
    current() = nullptr;
  }
  ContextMenuCloser(const ContextMenuCloser&) = delete;
  ContextMenuCloser& operator=(const ContextMenuCloser&) = delete;

  std::vector<std::wstring> items;  // texts; empty for separators
  std::vector<UINT> ids;

 private:
  static ContextMenuCloser*& current() {
    static ContextMenuCloser* instance = nullptr;
    return instance;
  }
  static LRESULT CALLBACK observe(int code, WPARAM wparam, LPARAM lparam) {
    ContextMenuCloser* self = current();
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && self != nullptr) {
      if (call->message == WM_INITMENUPOPUP) {
        const auto menu = reinterpret_cast<HMENU>(call->wParam);
        self->items.clear();
        self->ids.clear();
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
          wchar_t text[64] = {};
          GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
          self->items.emplace_back(text);
          self->ids.push_back(GetMenuItemID(menu, i));
        }
      } else if (call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU) {
        EndMenu();
      }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }

  WindowsHook hook_;
};

// A right-click in the page list at a client point; the list's own tracking
// loop finds the button released at once.
void right_click(HWND list, LPARAM point) {
  PostMessageW(list, WM_RBUTTONUP, 0, point);
  SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, point);
  pump_messages();
}

std::string page_names(Project& project) {
  std::string names;
  for (int i = 0; i < project.page_count; ++i) {
    names += page_name_at(project, i).value_or("?") + " ";
  }
  return names;
}

// The rows follow page switches by a real double-click on the page list
// (the missing images' prompt pumping messages in between) and the release
// of the project, whatever was selected before.
TEST(ImageListScenario, RowsFollowPageSwitchesAndTheRelease) {
  ProjectFile project;
  MainWindow main(project.cp932(), L"piconel_image_list_pages.ini");
  App& app = main.app;
  app.list_geometry.page_list = ListWindowBox{10, 320, 360, 220};
  app.list_geometry.image_list = ListWindowBox{380, 320, 300, 200};
  SendMessageW(main.window, WM_COMMAND, IDM_PAGE_LIST, 0);
  SendMessageW(main.window, WM_COMMAND, IDM_IMAGE_LIST, 0);
  const HWND pages = main.lists.page_list().list();
  const HWND list = main.lists.image_list().list();
  ASSERT_NE(pages, nullptr);
  ASSERT_NE(list, nullptr);
  app.sheet_view.set_entry_selected(3, true);
  EXPECT_EQ(rows_of(list, 1), "IMG0 IMG1 IMG2 >IMG3* IMG4 ");

  const auto double_click_page = [&](int row) {
    click_at(row_on_screen(pages, row));
    click_at(row_on_screen(pages, row));
    run_loop(app.accelerators);
  };
  double_click_page(1);
  EXPECT_EQ(app.project.current_page, 1);
  EXPECT_EQ(rows_of(list, 1), "");
  {
    DialogAnswerer answerer([](HWND dialog) { press_button(dialog, IDCANCEL); });
    double_click_page(0);
  }
  EXPECT_EQ(app.project.current_page, 0);
  EXPECT_EQ(rows_of(list, 1), "IMG0 IMG1 IMG2 IMG3 IMG4 ");

  app.project.modified = false;
  release_project(app.project);
  pump_messages();
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST(PageListScenario, SwitchesPagesRunsTheMenuAndRenamesInPlace) {
  ProjectFile project;
  MainWindow main(project.cp932(), L"piconel_page_list_scenario.ini");
  App& app = main.app;
  app.list_geometry.page_list = ListWindowBox{10, 320, 360, 220};

  SendMessageW(main.window, WM_COMMAND, IDM_PAGE_LIST, 0);
  PageListWindow& pages = main.lists.page_list();
  const HWND window = pages.window();
  const HWND list = pages.list();
  ASSERT_NE(list, nullptr);
  wchar_t class_name[32] = {};
  GetClassNameW(window, class_name, 32);
  EXPECT_STREQ(class_name, L"pagelist");
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_TRUE(list_button_pressed(app.controls, ListWindowKind::PageList));
  EXPECT_TRUE(menu_checked(app, IDM_PAGE_LIST));
  EXPECT_EQ(rows_of(list, 0), ">page000* page001 page002 ");
  EXPECT_EQ(row_text(list, 1, 1) + "x" + row_text(list, 1, 2) + " " + row_text(list, 1, 3),
            "256x128 TITLE");
  EXPECT_EQ(row_text(list, 0, 1) + row_text(list, 0, 3), "");  // automatic size, no label

  // A single click elsewhere does not switch: the highlight comes back at
  // the next redraw. A double-click switches, and so does Enter on the
  // focused row.
  set_row_state(list, 2, LVIS_SELECTED, LVIS_SELECTED);
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(app.project.current_page, 0);
  EXPECT_EQ(rows_of(list, 0), ">page000* page001 page002 ");
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, row_point(list, 1));
  EXPECT_EQ(app.project.current_page, 1);
  EXPECT_TRUE(app.project.images.entries().empty());
  set_row_state(list, 2, LVIS_FOCUSED, LVIS_FOCUSED);
  SendMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(app.project.current_page, 2);
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(rows_of(list, 0), "page000 page001 >page002* ");

  // The context menu on the first row, then each command on that row.
  {
    ContextMenuCloser closer;
    right_click(list, row_point(list, 0));
    EXPECT_EQ(pages.clicked_row(), 0);
    EXPECT_EQ(closer.ids, (std::vector<UINT>{IDM_PAGE_SELECT, IDM_PAGE_PROPERTIES, IDM_PAGE_DELETE,
                                             0, IDM_PAGE_UP, IDM_PAGE_DOWN, 0, IDM_PAGE_NEW}));
    ASSERT_EQ(closer.items.size(), 8u);
    EXPECT_EQ(closer.items[4], L"\x4e0a\x3078(Ctrl\xff0b\x2191)");
  }
  const auto menu_command = [&](UINT id) {
    SendMessageW(window, WM_COMMAND, id, 0);
    pump_messages();
  };
  app.project.modified = false;
  menu_command(IDM_PAGE_UP);  // already first: nothing moves, modified
  EXPECT_EQ(page_names(app.project), "page000 page001 page002 ");
  EXPECT_TRUE(app.project.modified);
  menu_command(IDM_PAGE_DOWN);
  EXPECT_EQ(page_names(app.project), "page001 page000 page002 ");
  // The row moves with its state: the right-click had focused it.
  EXPECT_EQ(rows_of(list, 0).substr(0, 17), "page001 >page000 ");
  menu_command(IDM_PAGE_PROPERTIES);  // the clicked row: now page001
  EXPECT_EQ(main.dialogs.calls, (std::vector<std::string>{"page 0 guard 0"}));
  EXPECT_EQ(main.dialogs.owners, (std::vector<HWND>{window}));
  menu_command(IDM_PAGE_SELECT);
  EXPECT_EQ(app.project.current_page, 0);
  menu_command(IDM_PAGE_NEW);  // before the clicked row, made current
  EXPECT_EQ(page_names(app.project), "page003 page001 page000 page002 ");
  EXPECT_EQ(app.project.current_page, 0);
  {
    int asked = 0;
    DialogAnswerer answerer([&](HWND dialog) {
      ++asked;
      press_button(dialog, IDYES);
    });
    menu_command(IDM_PAGE_DELETE);
    EXPECT_EQ(asked, 1);
  }
  EXPECT_EQ(page_names(app.project), "page001 page000 page002 ");
  EXPECT_NE(rows_of(list, 0).find("page001* page000 "), std::string::npos);

  // Below the last row: select, properties and delete do nothing, new page
  // appends.
  {
    ContextMenuCloser closer;
    right_click(list, MAKELPARAM(20, 150));
    EXPECT_EQ(pages.clicked_row(), -1);
  }
  menu_command(IDM_PAGE_SELECT);
  menu_command(IDM_PAGE_PROPERTIES);
  menu_command(IDM_PAGE_DELETE);  // no question either
  EXPECT_EQ(main.dialogs.calls.size(), 1u);
  menu_command(IDM_PAGE_NEW);
  EXPECT_EQ(page_names(app.project), "page001 page000 page002 page003 ");
  EXPECT_EQ(app.project.current_page, 3);

  // Rename in place: F2 with the page list in front starts the edit of the
  // focused row and turns the accelerators off.
  SetForegroundWindow(window);
  ASSERT_TRUE(app.list_windows->is_foreground(ListWindowKind::PageList));
  const auto edit = [&](const wchar_t* text) {
    main.key(list, VK_F2);
    const auto field = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0));
    EXPECT_NE(field, nullptr);
    EXPECT_TRUE(app.accelerators.name_edit_active);
    if (field != nullptr) {
      SetWindowTextW(field, text);
      SendMessageW(field, WM_KEYDOWN, VK_RETURN, 0);
    }
    pump_messages();
    EXPECT_FALSE(app.accelerators.name_edit_active);
  };
  std::vector<std::wstring> messages;
  DialogAnswerer answerer([&](HWND dialog) {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, 0xFFFF, text, 256);
    messages.emplace_back(text);
    press_button(dialog, IDOK);
  });
  // "stage-01" is refused at its sixth character.
  edit(L"stage-01");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(L"(6\x6587\x5b57\x76ee)"), std::wstring::npos);
  EXPECT_EQ(row_text(list, 3, 0), "page003");
  // A taken name is refused without a message but marks modified.
  app.project.modified = false;
  edit(L"page000");
  EXPECT_EQ(page_names(app.project), "page001 page000 page002 page003 ");
  EXPECT_EQ(row_text(list, 3, 0), "page003");
  EXPECT_TRUE(app.project.modified);
  edit(L"stage_01");
  EXPECT_EQ(page_names(app.project), "page001 page000 page002 stage_01 ");
  EXPECT_EQ(row_text(list, 3, 0), "stage_01");
  EXPECT_EQ(messages.size(), 1u);

  // The field takes no more than 30 bytes: fifteen double-byte characters.
  main.key(list, VK_F2);
  const auto field = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0));
  ASSERT_NE(field, nullptr);
  SetWindowTextW(field, L"");
  for (int i = 0; i < 20; ++i) {
    SendMessageW(field, WM_CHAR, 0x3042, 1);
  }
  EXPECT_EQ(GetWindowTextLengthW(field), 15);
  SendMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0);
  pump_messages();
  EXPECT_EQ(page_name_at(app.project, 3), "stage_01");

  // F2 while a property dialog is open does nothing.
  app.dialog_guard = 0;
  main.key(list, VK_F2);
  EXPECT_EQ(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0), 0);
  EXPECT_FALSE(app.accelerators.name_edit_active);
  app.dialog_guard = -1;

  // Close keeps the geometry and releases the button.
  SetWindowPos(window, nullptr, 30, 340, 330, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(main.window, WM_COMMAND, IDM_PAGE_LIST, 0);
  pump_messages();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(list_button_pressed(app.controls, ListWindowKind::PageList));
  EXPECT_EQ(app.list_geometry.page_list, (ListWindowBox{30, 340, 330, 200}));
  EXPECT_FALSE(answerer.watchdog_fired());
}

TEST(ListWindowsScenario, GeometryGoesThroughTheSettingsFileAndReopensAtStartUp) {
  ProjectFile project;
  testing::SettingsFile settings(L"piconel_list_windows_round_trip.ini");
  {
    MainWindow main(project.cp932(), L"piconel_list_windows_first.ini");
    App& app = main.app;
    SendMessageW(main.window, WM_COMMAND, IDM_IMAGE_LIST, 0);
    SendMessageW(main.window, WM_COMMAND, IDM_PAGE_LIST, 0);
    SetWindowPos(main.lists.image_list().window(), nullptr, 15, 25, 250, 190,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(main.lists.page_list().window(), nullptr, 35, 45, 270, 170,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(main.lists.page_list().list(), LVM_SETCOLUMNWIDTH, 3, 88);
    ASSERT_TRUE(app.settings.load(settings.cp932(), true));
    app.project.modified = false;
    ASSERT_TRUE(close_main_window(main.window, app));
    pump_messages();
  }
  const std::string text = settings.read();
  EXPECT_NE(text.find("ListWindowPos=15,25,250,190\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("PageColmnWidth=120,36,36,88\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("ListWindowEnable=1\r\nPageWindowPos=35,45,270,170\r\n"), std::string::npos)
      << text;

  // Start-up reads the keys and opens both windows where they were.
  MainWindow again(project.cp932(), L"piconel_list_windows_second.ini");
  App& app = again.app;
  ASSERT_TRUE(app.settings.load(settings.cp932(), true));
  app.image_list_open = read_image_list_settings(app.settings, app.list_geometry);
  app.page_list_open = read_page_list_settings(app.settings, app.list_geometry);
  restore_list_windows(app);
  ASSERT_TRUE(app.list_windows->is_open(ListWindowKind::ImageList));
  ASSERT_TRUE(app.list_windows->is_open(ListWindowKind::PageList));
  EXPECT_EQ(window_box(again.lists.page_list().window()), (ListWindowBox{35, 45, 270, 170}));
  EXPECT_EQ(SendMessageW(again.lists.page_list().list(), LVM_GETCOLUMNWIDTH, 3, 0), 88);
  EXPECT_TRUE(list_button_pressed(app.controls, ListWindowKind::ImageList));
  EXPECT_TRUE(list_button_pressed(app.controls, ListWindowKind::PageList));
}

// Tried as a new user would: a click on a row, then the arrows, Shift and
// Ctrl through the real message loop. The frame hands the keyboard to its
// rows whenever it gets the focus.
TEST(ImageListScenario, ClickedRowTakesRealKeys) {
  ProjectFile project;
  MainWindow main(project.cp932(), L"piconel_image_list_keys.ini");
  App& app = main.app;
  SendMessageW(main.window, WM_COMMAND, IDM_IMAGE_LIST, 0);
  const HWND frame = main.lists.image_list().window();
  const HWND list = main.lists.image_list().list();
  ASSERT_NE(list, nullptr);

  // Activated (as by Alt+Tab): the rows have the keyboard, not the frame.
  SetForegroundWindow(main.window);
  run_loop(app.accelerators);
  SetForegroundWindow(frame);
  run_loop(app.accelerators);
  EXPECT_EQ(GetFocus(), list);

  // From the main window, a click on row 1, then Down, Shift+Down and
  // Ctrl+Up: the selection follows the keys and the block moves up.
  SetForegroundWindow(main.window);
  run_loop(app.accelerators);
  click_at(row_on_screen(list, 1));
  run_loop(app.accelerators);
  EXPECT_EQ(GetFocus(), list);
  EXPECT_EQ(main.order(), "01*234");
  press_keys({}, VK_DOWN);
  run_loop(app.accelerators);
  EXPECT_EQ(main.order(), "012*34");
  press_keys({VK_SHIFT}, VK_DOWN);
  run_loop(app.accelerators);
  EXPECT_EQ(main.order(), "012*3*4");
  press_keys({VK_CONTROL}, VK_UP);
  run_loop(app.accelerators);
  EXPECT_EQ(main.order(), "02*3*14");
  EXPECT_EQ(rows_of(list, 1), "IMG0 IMG2* >IMG3* IMG1 IMG4 ");

  // Delete with the image list in front takes the selected images, as on
  // the sheet.
  press_keys({}, VK_DELETE);
  run_loop(app.accelerators);
  EXPECT_EQ(main.order(), "014");
  EXPECT_EQ(rows_of(list, 1).find("IMG2"), std::string::npos);
}

// Select all and a selection rectangle, by hand on the sheet: every row
// they change follows at once, the focus ends on the last one changed and
// status part 1 describes it.
TEST(ImageListScenario, SelectAllAndARectangleByHandReachTheRows) {
  ProjectFile project;
  MainWindow main(project.cp932(), L"piconel_image_list_select.ini");
  App& app = main.app;
  SendMessageW(main.window, WM_COMMAND, IDM_IMAGE_LIST, 0);
  const HWND list = main.lists.image_list().list();
  ASSERT_NE(list, nullptr);
  const auto on_sheet = [&](int x, int y) {
    POINT point{x, y};
    ClientToScreen(app.sheet_view.window(), &point);
    return point;
  };
  const auto selected_rows = [&] {
    std::string rows = rows_of(list, 1);
    rows.erase(std::remove(rows.begin(), rows.end(), '>'), rows.end());
    return rows;
  };

  SetForegroundWindow(main.window);
  run_loop(app.accelerators);
  press_keys({VK_CONTROL}, 'A');
  run_loop(app.accelerators);
  EXPECT_EQ(main.order(), "0*1*2*3*4*");
  EXPECT_EQ(rows_of(list, 1), "IMG0* IMG1* IMG2* IMG3* >IMG4* ");
  EXPECT_EQ(status_text(app, 1).rfind(L"(80,0)-(16,16)", 0), 0u) << status_text(app, 1);

  // A click on empty sheet deselects all; a rectangle from below the
  // images up across the centres of images 1 and 2 selects just those.
  click_at(on_sheet(200, 100));
  run_loop(app.accelerators);
  EXPECT_EQ(main.order(), "01234");
  EXPECT_EQ(status_text(app, 1), L"");
  testing::Hand hand;
  hand.move_to(on_sheet(25, 30)).press().move_to(on_sheet(40, 16)).move_to(on_sheet(55, 2));
  hand.release();
  ASSERT_TRUE(hand.play());
  run_loop(app.accelerators);
  EXPECT_EQ(main.order(), "01*2*34");
  EXPECT_EQ(selected_rows(), "IMG0 IMG1* IMG2* IMG3 IMG4 ");
  EXPECT_FALSE(app.project.modified);
}

// Delete in the page list deletes the focused page after the usual
// question, never the images selected on the sheet out of sight; a settings
// dialog that refreshes the rows keeps the focused row and the scroll.
TEST(PageListScenario, DeleteAndRefreshKeepToTheFocusedRow) {
  ProjectFile project;
  MainWindow main(project.cp932(), L"piconel_page_list_keys.ini");
  App& app = main.app;
  app.sheet_view.set_entry_selected(1, true);
  // Short enough that the rows scroll.
  app.list_geometry.page_list = ListWindowBox{20, 320, 300, 90};
  app.list_geometry.page_list_placed = true;
  SendMessageW(main.window, WM_COMMAND, IDM_PAGE_LIST, 0);
  const HWND frame = main.lists.page_list().window();
  const HWND list = main.lists.page_list().list();
  ASSERT_NE(list, nullptr);
  SetForegroundWindow(frame);
  run_loop(app.accelerators);
  ASSERT_EQ(GetFocus(), list);

  // Down twice moves the focus to page002; the current page keeps its
  // highlight (a key press does not switch pages).
  press_keys({}, VK_DOWN);
  press_keys({}, VK_DOWN);
  run_loop(app.accelerators);
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const std::string rows = rows_of(list, 0);
  EXPECT_EQ(rows, "page000* page001 >page002 ");
  const LRESULT top = SendMessageW(list, LVM_GETTOPINDEX, 0, 0);
  EXPECT_GT(top, 0);  // page002 was scrolled into view

  // The project settings (recorded, nothing changed) refresh the rows:
  // focus, selection and scroll stay.
  SendMessageW(main.window, WM_COMMAND, IDM_PROJECT_SETTINGS, 0);
  run_loop(app.accelerators);
  EXPECT_EQ(rows_of(list, 0), rows);
  EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), top);

  std::vector<std::wstring> questions;
  {
    DialogAnswerer answerer([&](HWND dialog) {
      wchar_t text[256] = {};
      GetDlgItemTextW(dialog, 0xFFFF, text, 256);
      questions.emplace_back(text);
      press_button(dialog, IDYES);
    });
    SetForegroundWindow(frame);
    run_loop(app.accelerators);
    press_keys({}, VK_DELETE);
    run_loop(app.accelerators);
    EXPECT_FALSE(answerer.watchdog_fired());
  }
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_NE(questions[0].find(L"page002"), std::wstring::npos);
  EXPECT_EQ(page_names(app.project), "page000 page001 ");
  EXPECT_EQ(main.order(), "01*234");
}

// A rectangle kept from a monitor that is gone comes back onto the main
// window's monitor with its size; a window never placed opens beside the
// main window, not at 0,0 over its menu and toolbar.
TEST(ListWindowsScenario, WindowsOpenWhereTheyCanBeReached) {
  ProjectFile project;
  MainWindow main(project.cp932(), L"piconel_list_windows_places.ini");
  App& app = main.app;
  app.list_geometry.page_list = ListWindowBox{-5000, -4000, 250, 150};
  app.list_geometry.page_list_placed = true;
  SendMessageW(main.window, WM_COMMAND, IDM_PAGE_LIST, 0);
  SendMessageW(main.window, WM_COMMAND, IDM_IMAGE_LIST, 0);
  RECT work{};
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(main.window, MONITOR_DEFAULTTONEAREST), &info));
  work = info.rcWork;
  EXPECT_EQ(window_box(main.lists.page_list().window()),
            (ListWindowBox{work.left, work.top, 250, 150}));
  RECT main_rect{};
  GetWindowRect(main.window, &main_rect);
  // Below where the page list first opens (its height), at the main
  // window's right edge.
  EXPECT_EQ(window_box(main.lists.image_list().window()),
            (ListWindowBox{main_rect.right, main_rect.top + 150, 200, 300}));
}

// The "表示(&V)" menu as the user sees it while it is open: the check marks
// of its two list items, read whenever the menu waits for the next key.
class ViewMenuWatch {
 public:
  explicit ViewMenuWatch(HWND main_window)
      : view_(GetSubMenu(GetMenu(main_window), 2)),
        hook_(SetWindowsHookExW(WH_CALLWNDPROC, observe, nullptr, GetCurrentThreadId())) {
    current() = this;
  }
  ~ViewMenuWatch() { current() = nullptr; }
  ViewMenuWatch(const ViewMenuWatch&) = delete;
  ViewMenuWatch& operator=(const ViewMenuWatch&) = delete;

  // "P" and "I" for the checked list items, "-" for each greyed one, as the
  // menu last showed them; empty until it was open.
  std::string seen;

 private:
  static ViewMenuWatch*& current() {
    static ViewMenuWatch* watch = nullptr;
    return watch;
  }
  static LRESULT CALLBACK observe(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    ViewMenuWatch* self = current();
    if (code == HC_ACTION && self != nullptr && call->message == WM_ENTERIDLE &&
        call->wParam == MSGF_MENU) {
      self->seen = "[";
      for (const auto& [id, letter] : {std::pair{IDM_PAGE_LIST, 'P'}, {IDM_IMAGE_LIST, 'I'}}) {
        const UINT state = GetMenuState(self->view_, id, MF_BYCOMMAND);
        self->seen += (state & MF_CHECKED) != 0 ? std::string(1, letter) : "";
        self->seen += (state & MF_GRAYED) != 0 ? "-" : "";
      }
      self->seen += "]";
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }

  HMENU view_;
  WindowsHook hook_;
};

POINT toolbar_button_on_screen(const App& app, UINT id) {
  RECT rect{};
  SendMessageW(app.controls.toolbar, TB_GETRECT, id, reinterpret_cast<LPARAM>(&rect));
  POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(app.controls.toolbar, &centre);
  return centre;
}

// By a real hand: the toolbar button and the "表示(&V)" menu opened with
// Alt+V show which list windows are open, whichever way they were opened or
// closed, and nothing is greyed.
TEST(ListWindowsScenario, ViewMenuAndToolbarShowTheOpenListsToTheHand) {
  ProjectFile project;
  MainWindow main(project.cp932(), L"piconel_list_windows_view_menu.ini");
  App& app = main.app;
  SetForegroundWindow(main.window);
  pump_messages();
  ViewMenuWatch watch(main.window);
  const auto open_view_menu = [](testing::Hand& hand) -> testing::Hand& {
    return hand.key_down(VK_MENU).key_down('V').key_up('V').key_up(VK_MENU);
  };
  testing::Hand hand;
  open_view_menu(hand).key_down(VK_ESCAPE).key_up(VK_ESCAPE).key_down(VK_ESCAPE).key_up(VK_ESCAPE);
  ASSERT_TRUE(hand.play());
  EXPECT_EQ(watch.seen, "[]");

  // The page list's button clicked: the window opens, the button stays
  // pressed and the menu checks its item.
  hand.move_to(toolbar_button_on_screen(app, IDM_PAGE_LIST)).click();
  ASSERT_TRUE(hand.play());
  ASSERT_TRUE(app.list_windows->is_open(ListWindowKind::PageList));
  EXPECT_TRUE(list_button_pressed(app.controls, ListWindowKind::PageList));
  SetForegroundWindow(main.window);
  pump_messages();
  // The image list chosen from the menu by its mnemonic.
  open_view_menu(hand).key_down('I').key_up('I');
  ASSERT_TRUE(hand.play());
  EXPECT_EQ(watch.seen, "[P]");
  ASSERT_TRUE(app.list_windows->is_open(ListWindowKind::ImageList));
  EXPECT_TRUE(list_button_pressed(app.controls, ListWindowKind::ImageList));

  // Both open; then the page list closed from the menu releases its button.
  SetForegroundWindow(main.window);
  pump_messages();
  open_view_menu(hand).key_down('P').key_up('P');
  ASSERT_TRUE(hand.play());
  EXPECT_EQ(watch.seen, "[PI]");
  EXPECT_FALSE(app.list_windows->is_open(ListWindowKind::PageList));
  EXPECT_FALSE(list_button_pressed(app.controls, ListWindowKind::PageList));

  // The image list's button clicked while it is open: it closes, and its
  // button, which the click released at once, stays released.
  hand.move_to(toolbar_button_on_screen(app, IDM_IMAGE_LIST)).click();
  ASSERT_TRUE(hand.play());
  EXPECT_FALSE(app.list_windows->is_open(ListWindowKind::ImageList));
  EXPECT_FALSE(list_button_pressed(app.controls, ListWindowKind::ImageList));
  SetForegroundWindow(main.window);
  pump_messages();
  open_view_menu(hand).key_down(VK_ESCAPE).key_up(VK_ESCAPE).key_down(VK_ESCAPE).key_up(VK_ESCAPE);
  ASSERT_TRUE(hand.play());
  EXPECT_EQ(watch.seen, "[]");
}

}  // namespace
}  // namespace piconel
