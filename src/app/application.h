#pragma once

// The exit status when an exception escapes start-up or shutdown.
inline constexpr int kStartupFailed = 1;

// The desktop program: start-up, the message loop and shutdown. Returns the
// process's exit status: 0 for a normal close and for a second instance.
int RunApplication(int argc, char** argv);
