#pragma once
// The name under which the program registers the service order windows.
#include "orders/OrderWindows.h"

inline void RegisterOrdersWindows() { RegisterOrderWindows(); }
