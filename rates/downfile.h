#pragma once

#include "platform/core/inet.h"

#include <QString>

namespace rates {

// Downloads the rate page into pagetext as text. Every failure leaves pagetext empty; the
// outcome only tells a failure apart from a transfer cut short because the program is ending.
platform::Inet::Outcome downfile(platform::Inet& Inet1, QString& pagetext);

} // namespace rates
