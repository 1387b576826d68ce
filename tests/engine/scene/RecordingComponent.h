#pragma once

#include "engine/scene/Component.h"
#include "engine/scene/GameObject.h"

#include <functional>
#include <string>
#include <vector>

// A component that writes "<label>.<operation>" into a shared journal, and runs an optional
// action from inside its update or fixed update, so a test can change the scene mid-walk.
class RecordingComponent : public Component {
public:
    using Journal = std::vector<std::string>;

    RecordingComponent(GameObject* owner, std::string label, Journal& journal)
        : Component(owner, "RecordingComponent"), label(std::move(label)), journal(journal) {}

    void render() override { note("render"); }
    void onAttach() override { note("attach"); }
    void onStart() override {
        note("start");
        if (switchOffOnStart) {
            setActive(false);
        }
    }
    void onUpdate() override {
        note("update");
        runAction();
    }
    void onFixedUpdate() override {
        note("fixed");
        runAction();
    }
    void onDestroy() override { note("destroy"); }
    void onActivate() override { note("activate"); }
    void onDeactivate() override { note("deactivate"); }

    std::function<void()> action;
    bool switchOffOnStart = false;

private:
    void note(const char* operation) { journal.push_back(label + "." + operation); }
    void runAction() {
        if (action) {
            auto once = std::move(action);
            action = nullptr;
            once();
        }
    }

    std::string label;
    Journal& journal;
};

class OtherComponent : public Component {
public:
    explicit OtherComponent(GameObject* owner) : Component(owner, "OtherComponent") {}
};
