/* Sends one menu command to the running piconel.exe main window (window
 * class "piconel"), as choosing the menu item would, and optionally then a
 * click on a button of the dialog it opened: used by scripts/screenshot.sh
 * to open a dialog before the picture is taken. Everything is posted, so
 * this program never waits for a dialog to close.
 *
 *   post-command.exe COMMAND_ID [BUTTON_ID] */
#include <stdlib.h>
#include <windows.h>

static HWND wait_for(const wchar_t* class_name) {
  HWND window = NULL;
  int tries;
  for (tries = 0; tries < 100 && window == NULL; ++tries) {
    window = FindWindowW(class_name, NULL);
    if (window == NULL) {
      Sleep(100);
    }
  }
  return window;
}

int main(int argc, char** argv) {
  HWND main_window;
  HWND dialog;
  if (argc < 2 || argc > 3) {
    return 2;
  }
  main_window = wait_for(L"piconel");
  if (main_window == NULL || !PostMessageW(main_window, WM_COMMAND, (WPARAM)atoi(argv[1]), 0)) {
    return 1;
  }
  if (argc == 2) {
    return 0;
  }
  dialog = wait_for(L"#32770");
  if (dialog == NULL) {
    return 1;
  }
  return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(atoi(argv[2]), BN_CLICKED), 0) ? 0 : 1;
}
