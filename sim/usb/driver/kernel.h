// The kernel headers of MinGW-w64, as the driver's C++ sources include them.
#pragma once

// MinGW's wdm.h defines these two itself; in C++ the copies of intrin.h would
// clash with them.
#define __INTRINSIC_DEFINED_InterlockedBitTestAndSet
#define __INTRINSIC_DEFINED_InterlockedBitTestAndReset
#include <ntddk.h>
