#pragma once

#include <functional>

// Other processes of this application ending: its folders' helpers.
class InstanceEndings {
public:
    virtual ~InstanceEndings() = default;

    // Calls `handler` from the event loop each time a helper of this application ends, however
    // it ended (quit, killed or crashed).
    virtual void observeHelperEndings(std::function<void()> handler) = 0;
};
