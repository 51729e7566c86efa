#pragma once

#include <cstddef>

// The heap of a benchmark, counted: a program that calls these gets the
// global operator new and delete of heap_count.cpp, which count every block,
// and on Linux its malloc() and free(), which count every block of the C
// library's heap, whichever thread or library asks (in a sanitizer's build,
// operator new's alone). On Windows, operator new's blocks of one thread.
namespace bench {

// Starts a new peak; returns the heap bytes live at this point.
std::size_t resetHeapPeak();

// The most heap bytes live at once since the last resetHeapPeak().
std::size_t heapPeakBytes();

} // namespace bench
