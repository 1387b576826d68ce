// InputManager::update with two mice and the handle-less record: time per update and per raw
// report, and the heap allocations of one steady-state update (expected: none). The platform
// replays a fixed set of reports, so what is measured is the pump, the handler and the
// listener pass, not a platform's queue.
#include "bench/AllocationCounter.h"
#include "engine/input/InputManager.h"

#include <benchmark/benchmark.h>
#include <cstring>

namespace {
constexpr DeviceHandle mice[] = {0x11, 0x22};

class ReplayRawInput : public RawInput {
public:
    explicit ReplayRawInput(std::size_t reportsPerDrain) : reportsPerDrain(reportsPerDrain) {}

    std::optional<std::size_t> getDeviceCount() override { return 2; }
    std::optional<std::size_t> getDeviceList(std::span<DeviceListEntry> list) override {
        list[0] = {mice[0], DeviceType::Mouse};
        list[1] = {mice[1], DeviceType::Mouse};
        return 2;
    }
    std::optional<DeviceInfo> getDeviceInfo(DeviceHandle) override {
        return DeviceInfo{DeviceType::Mouse};
    }
    std::optional<std::size_t> getDeviceNameLength(DeviceHandle) override { return 6; }
    std::size_t getDeviceName(DeviceHandle, std::span<char> name) override {
        std::memcpy(name.data(), "mouse", 6);
        return 6;
    }
    std::optional<std::string> getFriendlyName(DeviceHandle) override { return std::nullopt; }
    bool registerMice() override { return true; }
    bool unregisterMice() override { return true; }

    std::optional<RawInputMessage> nextMessage() override {
        if (delivered == reportsPerDrain) {
            delivered = 0;
            return std::nullopt;
        }
        return RawInputMessage{RawInputMessage::Kind::Input, 0, delivered++};
    }
    std::optional<std::size_t> getReportSize(ReportHandle) override {
        return sizeof(RawMouseReport);
    }
    // Both mice move every report and press and release their left button in turn, so every
    // update has button changes to report as well.
    bool getReport(ReportHandle report, RawMouseReport& out) override {
        const std::uint16_t flags =
            report % 4 < 2 ? RawButtonFlags::leftDown : RawButtonFlags::leftUp;
        out = {DeviceType::Mouse, mice[report % 2], flags, false, 3, -2};
        return true;
    }
    const std::string& getLastError() const override { return noError; }

private:
    std::size_t reportsPerDrain;
    std::size_t delivered = 0;
    std::string noError;
};

void inputUpdate(benchmark::State& state) {
    const auto reportsPerDrain = static_cast<std::size_t>(state.range(0));
    Window::KeyCallbacks keys;
    InputManager manager(keys, nullptr, std::make_unique<ReplayRawInput>(reportsPerDrain));
    std::size_t buttonChanges = 0;
    auto listener = manager.mouseButtonCallbacks.subscribe(
        [&](std::uint64_t, MouseButton, bool) { ++buttonChanges; });
    for (auto _ : state) {
        manager.update();
        // The player's look takes the movement each frame.
        benchmark::DoNotOptimize(manager.rawMouseHandler->mice[0]->takeMovement());
        benchmark::DoNotOptimize(manager.rawMouseHandler->mice[1]->takeMovement());
    }
    if (reportsPerDrain > 0) {
        state.counters["ns_per_report"] = benchmark::Counter(
            static_cast<double>(state.iterations()) * static_cast<double>(reportsPerDrain),
            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    }
    benchmark::DoNotOptimize(buttonChanges);
    constexpr int countedUpdates = 10;
    const std::size_t before = heapAllocations();
    for (int i = 0; i < countedUpdates; ++i) {
        manager.update();
    }
    state.counters["allocations_per_update"] =
        static_cast<double>(heapAllocations() - before) / countedUpdates;
}

BENCHMARK(inputUpdate)->Name("InputUpdate")->Arg(0)->Arg(16)->Arg(256)->Unit(benchmark::kNanosecond);
} // namespace
