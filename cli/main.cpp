#include <csignal>
#include <unistd.h>

#include <iostream>

#include "cli_app.h"
#include "input_text.h"

int main(int argc, char** argv) {
    // A reader that went away (a pipe into head) makes the next write fail, reported as such
    // and cleaned up after, instead of ending the process on the spot.
    std::signal(SIGPIPE, SIG_IGN);
    kestrin::DescriptorInput input(STDIN_FILENO);
    std::istream in(&input);
    return kestrin::RunCli(argc, argv, in, std::cout, std::cerr);
}
