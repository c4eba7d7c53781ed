// Test helper: saves two option records in turn, for ever, in the working directory, until
// the test kills it.
#include "options/optionsfile.h"
#include "stressrecords.h"

int main() {
    for (bool first = true;; first = !first)
        options::SaveOpt(stressRecord(first));
}
