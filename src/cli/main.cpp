#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) { return cli::Run(argc, argv, std::cout, std::cerr); }
