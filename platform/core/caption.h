#pragma once

#include <QString>

namespace platform {

// Something with a caption the program writes (a label), kept apart from widgets.
class Caption {
public:
    virtual ~Caption() = default;
    virtual void setCaption(const QString& text) = 0;
};

} // namespace platform
