#pragma once

#include <functional>
#include <memory>
#include <set>

// A registry of listeners that it does not own. subscribe hands back the only strong reference;
// dropping it ends the subscription. Listeners are called in the order of their allocations'
// addresses (owner order), not in the order they subscribed: no listener may rely on order.
template <typename F>
class CallbackSet {
public:
    using Function = std::function<F>;

    std::shared_ptr<Function> subscribe(Function callback) {
        auto entry = std::make_shared<Function>(std::move(callback));
        entries.insert(entry);
        return entry;
    }

    // Allocates nothing. The strong reference is held across each call, so a listener that drops
    // its own subscription while it runs finishes normally; expired entries are erased as met.
    template <typename... Args>
    void invoke(Args&&... args) {
        for (auto it = entries.begin(); it != entries.end();) {
            if (std::shared_ptr<Function> callback = it->lock()) {
                (*callback)(args...);
                ++it;
            } else {
                it = entries.erase(it);
            }
        }
    }

    // Entries still held, expired ones included until the next invoke erases them.
    std::size_t size() const { return entries.size(); }

private:
    std::set<std::weak_ptr<Function>, std::owner_less<std::weak_ptr<Function>>> entries;
};
