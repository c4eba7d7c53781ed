#pragma once

#include "options/options.h"

// The two records the save-stress helper writes in turn. The long host widens the window in
// which a kill can land mid-write.
inline options::Options stressRecord(bool first) {
    return {quint8(first ? 0 : 1), quint8(first ? 1 : 0),
            QString(qsizetype{256} * 1024, first ? u'a' : u'b'), qint16(first ? 3128 : -2)};
}
