#include <cstdlib>

#include "runtime/platform.h"

void* platform_heap_alloc_zeroed(size_t size) { return std::calloc(1, size); }
void* platform_heap_realloc(void* block, size_t size) { return std::realloc(block, size); }
void platform_heap_free(void* block) { std::free(block); }
