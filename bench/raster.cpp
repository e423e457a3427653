// Speed of the raster operations against memcpy of the same destination
// bytes: the stretch of the whole backdrop to a full-screen client must stay
// within 2.5 times a memcpy of the client's pixels, a 1:1 copy within 1.5.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "gfx/Blit.h"

namespace {

qx::Surface Backdrop() {
    qx::Surface s(600, 400);
    uint32_t v = 1;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) {
            v = v * 1664525u + 1013904223u;
            s.SetPixel(x, y, v >> 8);
        }
    return s;
}

void SetBytes(benchmark::State& state, int64_t pixels) {
    state.SetBytesProcessed(state.iterations() * pixels * 4);
}

// A ship's 68 x 39 box composed on a 200 x 200 work bitmap.
void BM_BlitBox(benchmark::State& state, qx::RasterOp op) {
    const qx::Surface backdrop = Backdrop();
    qx::Surface work(200, 200, 0xFFFFFF);
    for (auto _ : state) {
        qx::Blit(work, 0, 0, 68, 39, backdrop, 136, 181, op);
        benchmark::DoNotOptimize(work.Data());
        benchmark::ClobberMemory();
    }
    SetBytes(state, 68 * 39);
}
BENCHMARK_CAPTURE(BM_BlitBox, Copy, qx::RasterOp::Copy);
BENCHMARK_CAPTURE(BM_BlitBox, And, qx::RasterOp::And);
BENCHMARK_CAPTURE(BM_BlitBox, Or, qx::RasterOp::Or);

// The full repaint's stretch of the backdrop over the client (1:1 at 600 x 400).
void BM_StretchBackdrop(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    const qx::Surface backdrop = Backdrop();
    qx::Surface client(w, h);
    for (auto _ : state) {
        qx::StretchBlit(client, 0, 0, w, h, backdrop, 0, 0, 600, 400);
        benchmark::DoNotOptimize(client.Data());
        benchmark::ClobberMemory();
    }
    SetBytes(state, int64_t{w} * h);
}
BENCHMARK(BM_StretchBackdrop)->Args({1920, 1080})->Args({3840, 2160})->Args({600, 400});

// memcpy of the same number of destination bytes, for comparison.
void BM_Memcpy(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(state.range(0)) * state.range(1) * 4;
    std::vector<uint8_t> from(bytes, 1), to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state, state.range(0) * state.range(1));
}
BENCHMARK(BM_Memcpy)->Args({1920, 1080})->Args({3840, 2160})->Args({600, 400});

}  // namespace
