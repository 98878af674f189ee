// velmora-sim: the truck model driven from the command line, without a window.
#include "velmora-sim/SimRun.h"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int status = RunVelmoraSim(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
