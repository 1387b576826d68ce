// One player's render sequence at the game's view size (1920 × 540, shadow map 2048 × 2048):
// shadow pass, multisampled scene, resolve, ten blur passes, composite; next to as many
// full-view passes of a shader that only writes a constant, measured in the same run. The ratio
// of the two says how close the sequence is to the fill-rate limit of the driver.
#include "bench/AllocationCounter.h"
#include "bench/GlBenchmark.h"
#include "graphics/gl/ScreenQuad.h"
#include "tests/graphics/TestPrograms.h"
#include "tests/graphics/render/TestScene.h"

#include <GL/glew.h>
#include <benchmark/benchmark.h>

namespace {
constexpr glm::uvec2 viewSize{1920, 540};
constexpr glm::ivec2 shadowSize{2048, 2048};
// The full-view passes of the sequence: the scene, ten blur passes and the composite.
constexpr int fullViewPasses = 12;

RenderContext* context = nullptr;
TestScene* scene = nullptr;

void reportAllocations(benchmark::State& state, void (*frame)()) {
    state.counters["allocations_per_frame"] = allocationsPerCall(10, frame);
    glFinish();
}

void renderSequence() { scene->renderFrame(); }

void RenderSequence(benchmark::State& state) {
    for (auto _ : state) {
        renderSequence();
        glFinish(); // the driver renders on its own threads: wait for the frame to be done
    }
    reportAllocations(state, renderSequence);
}

const char* const constantFragment = R"(#version 430 core
layout(location = 0) out vec4 fragColor;
void main() { fragColor = vec4(0.25, 0.5, 0.75, 1.0); }
)";

struct TrivialPasses {
    TrivialPasses() {
        texture.bind();
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, viewSize.x, viewSize.y, 0, GL_RGBA, GL_FLOAT,
                     nullptr);
        framebuffer.attachTexture(texture, GL_COLOR_ATTACHMENT0);
    }
    void run() const {
        framebuffer.bind(GL_FRAMEBUFFER);
        glViewport(0, 0, viewSize.x, viewSize.y);
        program.use();
        for (int pass = 0; pass < fullViewPasses; ++pass) {
            getScreenQuad().draw();
        }
    }

    RenderShaderProgram program = buildTestProgram(screenQuadVertexSource, constantFragment);
    Texture texture{GL_TEXTURE_2D};
    FrameBuffer framebuffer;
};

TrivialPasses* trivial = nullptr;

void trivialFrame() { trivial->run(); }

void TrivialFullViewPasses(benchmark::State& state) {
    for (auto _ : state) {
        trivialFrame();
        glFinish();
    }
    reportAllocations(state, trivialFrame);
    state.counters["passes"] = fullViewPasses;
}

BENCHMARK(RenderSequence)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TrivialFullViewPasses)->Unit(benchmark::kMillisecond)->UseRealTime();

// Where the time of the sequence goes: each step alone, after one whole frame has filled the
// targets it reads.
void runStage(benchmark::State& state, void (*stage)()) {
    scene->renderFrame();
    for (auto _ : state) {
        stage();
        glFinish();
    }
}

void shadowPass() {
    context->renderShadowMap(*scene->root, scene->lightSpace, scene->sunDirection);
}
void scenePass() {
    scene->uploadCamera();
    context->renderScene(*scene->root);
}
void resolve() { context->resolveMultisample(); }
void bloom() { context->blurBloom(); }
void composite() {
    FrameBuffer(0).bind(GL_FRAMEBUFFER);
    glViewport(0, 0, viewSize.x, viewSize.y);
    context->composite();
}

void registerStages() {
    const std::pair<const char*, void (*)()> stages[] = {
        {"Stage/ShadowPass", shadowPass}, {"Stage/ScenePass", scenePass},
        {"Stage/Resolve", resolve},       {"Stage/BloomBlur", bloom},
        {"Stage/Composite", composite},
    };
    for (const auto& [name, stage] : stages) {
        benchmark::RegisterBenchmark(name, runStage, stage)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
}

} // namespace

int main(int argc, char** argv) {
    GLFWwindow* window = startGlBenchmark(1920, 1080);
    benchmark::Initialize(&argc, argv);
    registerStages();
    {
        RenderContext renderContext;
        renderContext.initTargets(viewSize, shadowSize, 2.2f);
        TestScene testScene(renderContext);
        TrivialPasses trivialPasses;
        context = &renderContext;
        scene = &testScene;
        trivial = &trivialPasses;
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    endGlBenchmark(window);
    return 0;
}
