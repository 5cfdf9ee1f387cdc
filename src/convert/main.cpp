// karvex-convert: converts image maps between pages, projects and map files from the command
// line; the work is done by RunConvert.

#include "convert/convert.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return karvex::RunConvert(args, std::cin, std::cout, std::cerr);
}
