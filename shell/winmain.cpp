#include "shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    return RodaderoMain(instance, show);
}
