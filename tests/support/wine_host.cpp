#include "tests/support/wine.h"

bool running_under_wine() { return false; }
