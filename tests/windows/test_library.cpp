// A DLL of the tests' own for the binder: a function by name and one by
// ordinal 12 (see test_library.def).
extern "C" __declspec(dllexport) int answer() { return 42; }
extern "C" __declspec(dllexport) int twelve() { return 12; }
