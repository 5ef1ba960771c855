// Timings of the two pictures as the window redraws them on a tab switch or a month step: the
// numbers (scene) and the drawing into a 1200×600 image, each on its own.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "pictures/pictures.h"

namespace {

kelmar::InputFields BuenosAires() {
  kelmar::InputFields in;
  in.latitude = "-34.6";
  in.longitude = "-58.38";
  in.gmt_offset = "-3";
  in.zone = kelmar::ZoneKind::FromGmt;
  return in;
}

const kelmar::Horizon& Mask() {
  static const kelmar::Horizon h = kelmar::Horizon::Parse("300:15 330:30 30:30 60:10 100:0 100:25 140:25 140:0");
  return h;
}

template <class Draw>
void DrawLoop(benchmark::State& state, Draw draw) {
  QImage image(1200, 600, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter p(&image);
    draw(p, QSizeF(image.size()));
    p.end();
    benchmark::DoNotOptimize(image.bits());
  }
}

void BM_SkyScene(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(kelmar::pictures::MakeSkyScene(BuenosAires(), 2026, 3, 1, Mask()).arc.data());
}
BENCHMARK(BM_SkyScene)->Unit(benchmark::kMillisecond);

void BM_SkyDraw(benchmark::State& state) {
  const auto scene = kelmar::pictures::MakeSkyScene(BuenosAires(), 2026, 3, 1, Mask());
  DrawLoop(state, [&](QPainter& p, QSizeF s) { kelmar::pictures::DrawSky(p, s, scene); });
}
BENCHMARK(BM_SkyDraw)->Unit(benchmark::kMillisecond);

void BM_YearScene(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(kelmar::pictures::MakeYearScene(BuenosAires(), 2026).days.data());
}
BENCHMARK(BM_YearScene)->Unit(benchmark::kMillisecond);

void BM_YearDraw(benchmark::State& state) {
  auto scene = kelmar::pictures::MakeYearScene(BuenosAires(), 2026);
  scene.month = 3;
  DrawLoop(state, [&](QPainter& p, QSizeF s) { kelmar::pictures::DrawYear(p, s, scene); });
}
BENCHMARK(BM_YearDraw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts need one
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
