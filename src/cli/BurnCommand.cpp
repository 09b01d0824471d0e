// Placeholder until this command is built.
#include <cstdio>

#include "cli/Commands.h"

namespace twr::cli {
int RunBurn(int, char**) { std::fputs("not built yet\n", stderr); return 2; }
}  // namespace twr::cli
