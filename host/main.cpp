// vesktools: the host program of the Tools library.
#include "host/host_program.h"
#include "platform/program_start.h"

int main(int argc, char** argv) { return vesk::RunDesktopProgram(argc, argv, vesk::RunHost); }
