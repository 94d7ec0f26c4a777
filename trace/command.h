// The whole command rodadero-trace: reads the options and hands over to a
// run, the sweep or the race.
#ifndef RODADERO_TRACE_COMMAND_H
#define RODADERO_TRACE_COMMAND_H

#include <iosfwd>

// Exit codes of the command.
enum { TRACE_OK = 0, TRACE_FAILED = 1, TRACE_BAD_INPUT = 2 };

// The arguments as main receives them (the program's name first),
// standard output and standard error. Returns the exit code.
int TraceMain(int argc, const char *const argv[], std::ostream &out, std::ostream &err);

#endif
