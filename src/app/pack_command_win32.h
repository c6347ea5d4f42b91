#pragma once

// "詰めて配置...": the packing dialog for the current page, then its images
// packed as one change. Windows only: include from *_win32.cpp files only.

#include "app/app_win32.h"

namespace piconel {

// Under the dialog guard: the dialog starts from the page's remembered
// choices; OK stores them in the page's section and packs. The entries take
// their new places, the view and its extent follow, status part 1 shows the
// fill ("充填率 93.4%") and the project is marked modified. Images larger
// than a manual sheet are named in a message and stay; a page whose images
// do not fit together is reported and nothing moves.
void pack_current_page(App& app);

}  // namespace piconel
