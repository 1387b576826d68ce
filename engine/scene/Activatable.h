#pragma once

// Holds the active flag of game objects and components.
class Activatable {
public:
    virtual void onActiveChanged() {}
    virtual ~Activatable() = default;

    bool isActive() const { return active; }
    // Calls onActiveChanged only when the flag really changes.
    void setActive(bool value);

protected:
    bool active = true;
};
