#pragma once

namespace platform {
class Inet;
}

namespace options {

// What the options need of the main window, which implements it; the options never include
// the main window itself.
class MainHost {
public:
    virtual ~MainHost() = default;
    [[nodiscard]] virtual bool Loading() const = 0;
    virtual void showMain() = 0;
    virtual void btnRefresh_Click() = 0;
    virtual platform::Inet& Inet1() = 0;
};

} // namespace options
