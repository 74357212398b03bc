#pragma once
// Writes the call stack of a fatal signal into the log, then exits with code 1.
void installCrashHandler();
