#include "platform/virtualmemory.h"

// Each system's reservation calls live in a file of their own.
#if defined(__unix__) || defined(__APPLE__)
#include "virtualmemory_unix.inc"
#else
#error "Reserved memory is not implemented for this system"
#endif
