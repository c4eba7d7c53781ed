// Test helper: saves options.opt in the working directory after reading it, as the program
// does. With no argument it saves two option records in turn, for ever, until the test kills
// it; it says when each save begins and ends, so the test can tell that its kill landed in the
// middle of one. With an argument it says "loaded", waits for a line on its input and saves
// the first record ("1") or the second once, as a copy of the program ending then would.
#include "options/optionsfile.h"
#include "stressrecords.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0); // each line reaches the test as it is written
    options::Options opt;
    options::KnownBytes known = options::LoadOpt(opt);
    if (argc > 1) {
        std::fputs("loaded\n", stdout);
        std::getchar();
        return options::SaveOpt(stressRecord(std::strcmp(argv[1], "1") == 0), known) ? 0 : 1;
    }
    for (bool first = true;; first = !first) {
        std::fputs("saving\n", stdout);
        options::SaveOpt(stressRecord(first), known);
        std::fputs("saved\n", stdout);
    }
}
