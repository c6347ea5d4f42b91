#pragma once

// A header that reaches up into the program: the check must name it.
#include <string>

#include "app/app_win32.h"
#include "store/other.h"
