#include "app/message_loop_win32.h"

namespace piconel {

bool translate_accelerator(const AcceleratorRoute& route, MSG& message) {
  if (route.name_edit_active || route.table == nullptr || route.target == nullptr) {
    return false;
  }
  return TranslateAcceleratorW(route.target, route.table, &message) != 0;
}

void handle_loop_message(const AcceleratorRoute& route, MSG& message) {
  if (translate_accelerator(route, message)) {
    return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int run_message_loop(const AcceleratorRoute& route) {
  MSG message{};
  for (;;) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      WaitMessage();
      continue;
    }
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      return static_cast<int>(message.wParam);
    }
    if (got == -1) {
      return 0;
    }
    handle_loop_message(route, message);
  }
}

}  // namespace piconel
