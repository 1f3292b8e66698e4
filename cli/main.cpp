#include <iostream>

#include "cli_app.h"

int main(int argc, char** argv) { return kestrin::RunCli(argc, argv, std::cin, std::cout, std::cerr); }
