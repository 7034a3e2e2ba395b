#pragma once

// The host's whole run: start-up, the option map from the process command line, then
// relaunch mode when --param has a value, else run mode. Returns the exit code.
int HostMain();
