// tqlookup's process: connects RunTqlookup (Tqlookup.h) to the standard
// streams and the terminal. Without --data the data files are read from the
// current directory, or, when it holds no cit.bin, from the data installed
// beside the program (../share/telquest from bin/), or from the folder
// chosen at build time.

#include <unistd.h>

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Tqlookup.h"
#include "data/DataFolders.h"
#include "time/LocalTime.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  // The chooser's question goes to the terminal itself, so that it is seen
  // even when the answer is redirected; without one, to standard error.
  std::ofstream terminal;
  const bool interactive = isatty(STDIN_FILENO) != 0;
  if (interactive) terminal.open("/dev/tty");
  tq::CommandLineIo io{std::cin, std::cout, std::cerr,
                       terminal.is_open() ? static_cast<std::ostream&>(terminal) : std::cerr,
                       interactive};
  const tq::CommandLinePlaces places{tq::ProgramFolder(argc > 0 ? argv[0] : ""),
                                     TELQUEST_DATA_FROM_BIN, TELQUEST_INSTALLED_DATA_DIR,
                                     tq::UtcNow};
  return tq::RunTqlookup(args, io, places);
}
