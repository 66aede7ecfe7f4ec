#ifndef CELVANE_UI_COMMANDLINE_H
#define CELVANE_UI_COMMANDLINE_H

namespace Ui {

/// The program's entry: parses the command line and either opens the main window (with a
/// document given as FILE.clv) or runs a process list without any display (--batch) and exits
/// with 0 when every step ran, 1 when a step was skipped or failed, 2 on bad arguments or files
/// that cannot be read or written.
class CommandLine
{
public:
    static int run(int argc, char *argv[]);
};

} // namespace Ui

#endif
