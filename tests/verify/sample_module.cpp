// A module for the signature fixtures: real code in the format the host loads.
#if defined(_WIN32)
#define SAMPLE_EXPORT extern "C" __declspec(dllexport)
#else
#define SAMPLE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

SAMPLE_EXPORT int SampleEntry(int value) { return value * 3 + 1; }
