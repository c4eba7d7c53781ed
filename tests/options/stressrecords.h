#pragma once

#include "options/options.h"

// The two records the save-stress helper writes in turn. The long host widens the window in
// which a kill can land mid-write.
inline options::Options stressRecord(bool first) {
    options::Options opt;
    opt.useProxy = first ? 1 : 0;
    opt.refreshOnStart = first ? 0 : 1;
    opt.proxyPort = first ? 3128 : -2;
    opt.proxyHost = QString(qsizetype{256} * 1024, first ? u'a' : u'b');
    return opt;
}
