#pragma once

// Includes downward and its own folder only.
#include "store/upward.h"
