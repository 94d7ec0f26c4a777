// rodadero-trace: see command.h and --help.
#include "command.h"

#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

int main(int argc, char **argv)
{
#ifdef _WIN32
    // The same bytes as the native build: lines end in \n alone.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    std::ios::sync_with_stdio(false);
    return TraceMain(argc, argv, std::cout, std::cerr);
}
