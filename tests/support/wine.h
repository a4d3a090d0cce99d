// Whether a test runs under Wine, for the few platform behaviours in which
// Wine is known to differ from Windows (each test says which).
#pragma once

bool running_under_wine();
