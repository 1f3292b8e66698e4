#include <csignal>
#include <unistd.h>

#include <iostream>

#include "cli_app.h"
#include "descriptor_output.h"
#include "input_text.h"
#include "save_temporaries.h"

int main(int argc, char** argv) {
    // A reader that went away (a pipe into head) makes the next write fail, reported as such
    // and cleaned up after, instead of ending the process on the spot.
    std::signal(SIGPIPE, SIG_IGN);
    // Past a file-size limit a write fails (and is reported, its temporary removed) instead
    // of the process ending.
    std::signal(SIGXFSZ, SIG_IGN);
    kestrin::SaveTemporaries temporaries;
    kestrin::DescriptorInput input(STDIN_FILENO);
    std::istream in(&input);
    // Written straight to the descriptor: a failed write is known, and where standard output
    // is a file it is cut back to its last whole output.
    kestrin::DescriptorOutput output(STDOUT_FILENO);
    std::ostream out(&output);
    return kestrin::RunCli(argc, argv, in, out, std::cerr, {.temporaries = &temporaries, .optimise = {}});
}
