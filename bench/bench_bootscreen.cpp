// The boot-screen page after a keystroke in a title: the preview redraw
// that typing has always cost, and what the device view adds to it (the
// screen a save would write, encoded apart, its fit warning, and the view
// drawn at the page's scale with its grid). Both must stay well under one
// frame (16 ms).

#include "bootscreen/BootScreenModel.h"
#include "bootscreen/DeviceView.h"
#include "bootscreen/LcdColors.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

// Titles that fill their 24 bytes, in the two faces the page meets most.
void setUp(hmk::BootScreenModel& model, const QString& face)
{
    model.setUseDefaultScreen(false);
    model.setMainFontList(face);
    model.cbFontMainChange();
    model.setSubFontList(face);
    model.cbFontSubChange();
    model.setSubTitle(QStringLiteral("Service line 3 - WMAX 01"));
}

const QString& faceOf(const benchmark::State& state)
{
    static const QString song = QStringLiteral("宋体");
    static const QString hei = QStringLiteral("黑体");
    return state.range(0) ? hei : song;
}

QString typed(int64_t i)
{
    // Alternating between two titles, each of 24 bytes, so every keystroke
    // changes the text and the page redraws.
    return i % 2 ? QStringLiteral("HMK725独立式调高器 WM")
                 : QStringLiteral("HMK725独立式调高器 MW");
}

void deviceView(const hmk::BootScreenModel& model)
{
    const hmk::DeviceScreen screen = model.deviceScreen();
    const QImage view = hmk::deviceView(
        screen.bytes, {hmk::deviceViewScale({585, 192}), hmk::LcdInk, hmk::LcdBlue, true});
    const QString warning = screen.warning();
    benchmark::DoNotOptimize(view.constBits());
    benchmark::DoNotOptimize(warning.constData());
}

// The keystroke as before: the title changes and the LCD preview redraws.
void BM_KeystrokePreview(benchmark::State& state)
{
    hmk::BootScreenModel model;
    setUp(model, faceOf(state));
    int64_t i = 0;
    for (auto _ : state)
        model.setMainTitle(typed(i++));
}
BENCHMARK(BM_KeystrokePreview)->ArgName("hei")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// What the device view adds to a keystroke.
void BM_KeystrokeDeviceView(benchmark::State& state)
{
    hmk::BootScreenModel model;
    setUp(model, faceOf(state));
    int64_t i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        model.setMainTitle(typed(i++));
        state.ResumeTiming();
        deviceView(model);
    }
}
BENCHMARK(BM_KeystrokeDeviceView)->ArgName("hei")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Its parts: the screen and the cut characters, then the drawing.
void BM_DeviceScreen(benchmark::State& state)
{
    hmk::BootScreenModel model;
    setUp(model, faceOf(state));
    model.setMainTitle(typed(0));
    for (auto _ : state) {
        const hmk::DeviceScreen screen = model.deviceScreen();
        benchmark::DoNotOptimize(screen.bytes.constData());
    }
}
BENCHMARK(BM_DeviceScreen)->ArgName("hei")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_DrawDeviceView(benchmark::State& state)
{
    hmk::BootScreenModel model;
    setUp(model, faceOf(state));
    model.setMainTitle(typed(0));
    const QByteArray bytes = model.deviceScreen().bytes;
    for (auto _ : state) {
        const QImage view = hmk::deviceView(bytes, {3, hmk::LcdInk, hmk::LcdBlue, true});
        benchmark::DoNotOptimize(view.constBits());
    }
}
BENCHMARK(BM_DrawDeviceView)->Arg(0)->Unit(benchmark::kMicrosecond);

// The whole keystroke with the device view shown.
void BM_KeystrokeWithDeviceView(benchmark::State& state)
{
    hmk::BootScreenModel model;
    setUp(model, faceOf(state));
    int64_t i = 0;
    for (auto _ : state) {
        model.setMainTitle(typed(i++));
        deviceView(model);
    }
}
BENCHMARK(BM_KeystrokeWithDeviceView)
    ->ArgName("hei")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    // Glyphs are drawn off-screen, as the page's model draws them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
