#include <windows.h>

#include "runtime/platform.h"

namespace {

// Fetched once and cached; allocation fetches it if it is still unset.
HANDLE process_heap = GetProcessHeap();

HANDLE heap() {
  if (!process_heap) process_heap = GetProcessHeap();
  return process_heap;
}

}  // namespace

void* platform_heap_alloc_zeroed(size_t size) { return HeapAlloc(heap(), HEAP_ZERO_MEMORY, size); }
void* platform_heap_realloc(void* block, size_t size) {
  return HeapReAlloc(heap(), 0, block, size);
}
void platform_heap_free(void* block) { HeapFree(heap(), 0, block); }
