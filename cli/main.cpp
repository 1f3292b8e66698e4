#include <unistd.h>

#include <iostream>

#include "cli_app.h"
#include "input_text.h"

int main(int argc, char** argv) {
    kestrin::DescriptorInput input(STDIN_FILENO);
    std::istream in(&input);
    return kestrin::RunCli(argc, argv, in, std::cout, std::cerr);
}
