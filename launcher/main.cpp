// Process entry: the wide GUI entry point on Windows, main elsewhere. The command line is
// read from the process itself, not from the entry's arguments.
#include "launcher/host.h"

#ifdef _WIN32
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return HostMain(); }
#else
int main() { return HostMain(); }
#endif
