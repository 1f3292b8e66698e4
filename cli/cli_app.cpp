#include "cli_app.h"

#include <ostream>

namespace kestrin {

int RunCli(int, char**, std::istream&, std::ostream&, std::ostream& err) {
    err << "kestrin-cli: no command yet\n";
    return 2;
}

}  // namespace kestrin
