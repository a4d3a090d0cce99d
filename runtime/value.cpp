#include "runtime/value.h"

int rt_type_width(uint32_t type) {
  switch (rt_base_type(type)) {
    case RT_BYTE: return 1;
    case RT_SHORT: return 2;
    case RT_INT:
    case RT_FLOAT:
    case RT_BOOL: return 4;
    case RT_INT64:
    case RT_DOUBLE:
    case RT_DATETIME: return 8;
    case RT_TEXT:
    case RT_BYTES:
    case RT_SUBROUTINE: return int(sizeof(void*));
    default: return 0;
  }
}
