// Test helper: saves two option records in turn, for ever, in the working directory, until
// the test kills it. It says when each save begins and ends, so the test can tell that its
// kill landed in the middle of one.
#include "options/optionsfile.h"
#include "stressrecords.h"

#include <cstdio>

int main() {
    for (bool first = true;; first = !first) {
        std::fputs("saving\n", stdout);
        std::fflush(stdout);
        options::SaveOpt(stressRecord(first));
        std::fputs("saved\n", stdout);
        std::fflush(stdout);
    }
}
