// The Windows headers as the Windows side of the platform layer includes
// them: without the min/max macros and the rarely used parts.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX  // std::min, not the macro
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
