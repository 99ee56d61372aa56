#pragma once

// The desktop program: start-up, the message loop and shutdown. Returns the
// process's exit status.
int RunApplication(int argc, char** argv);
