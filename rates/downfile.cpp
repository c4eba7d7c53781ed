#include "rates/downfile.h"

#include "rates/decodepage.h"

namespace rates {

platform::Inet::Outcome downfile(platform::Inet& Inet1, QString& pagetext) {
    // Emptied first, so the text of an earlier page never survives a failed download.
    pagetext.clear();
    platform::Inet::Result result = Inet1.OpenURL();
    if (result.outcome != platform::Inet::Outcome::Ok)
        return result.outcome;
    pagetext = decodepage(result.body, result.contentType);
    // An empty answer cannot be told from no answer.
    return pagetext.isEmpty() ? platform::Inet::Outcome::Failed : platform::Inet::Outcome::Ok;
}

} // namespace rates
