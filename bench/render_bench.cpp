// A 4 x 6 inch shipping label drawn to PNG: six text lines, a Code128, a QR Code, a PDF417
// and three blocks. The whole path a printed label takes, script bytes to PNG bytes.
#include <benchmark/benchmark.h>

#include "render/label_renderer.h"

namespace {

const char kLabel[] =
    "SW812\r\nSL1219,24,G\r\nSM0,0\r\n"
    "BD20,20,792,1199,B,6\r\n"
    "BD20,300,792,306,O\r\n"
    "T40,40,5,1,1,0,0,N,N,'QUILLMARK CO.'\r\n"
    "T40,100,3,1,1,0,0,N,N,'12 Harbour Road, Dock 4'\r\n"
    "T40,140,3,1,1,0,0,N,N,'Ship to: Sato Warehouse'\r\n"
    "T40,180,4,1,1,0,0,N,B,'PO 4500012345'\r\n"
    "V40,240,U,40,40,1,N,N,N,0,L,0,'Fragile - this side up'\r\n"
    "T540,64,4,1,1,0,0,N,N,'PRIORITY'\r\n"
    "BD520,50,780,110,E\r\n"
    "B140,340,1,3,7,160,0,1,'SSCC 00354123450000000017'\r\n"
    "B2500,620,Q,2,M,4,0,'https://example.com/track/00354123450000000017'\r\n"
    "B240,620,P,30,4,2,0,0,0,3,12,0,'QUILLMARK 00354123450000000017 DOCK 4 BAY 12'\r\n"
    "P1\r\n";

void BM_RenderShippingLabelToPng(benchmark::State& state) {
  qm::render::LabelRenderer renderer;
  size_t bytes = 0;
  for (auto _ : state) {
    const qm::render::RenderResult r = renderer.RenderScript(kLabel, {});
    const std::string png = qm::render::EncodePng(*r.labels.at(0).bitmap);
    bytes = png.size();
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["png_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RenderShippingLabelToPng)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RenderShippingLabelBitmapOnly(benchmark::State& state) {
  qm::render::LabelRenderer renderer;
  for (auto _ : state) {
    const qm::render::RenderResult r = renderer.RenderScript(kLabel, {});
    benchmark::DoNotOptimize(r.labels.data());
  }
}
BENCHMARK(BM_RenderShippingLabelBitmapOnly)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
