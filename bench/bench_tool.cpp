// hkftool's build and verify, in process: how many images per second an
// engineer preparing many machines can build from the shipped settings file,
// and how many returned files per second can be checked.

#include "ImageBuild.h"
#include "params/ConfigOpener.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const hmk::IniFile& shippedSettings()
{
    static const hmk::IniFile ini = *hmk::IniFile::load(QStringLiteral(HMK_SETTINGS_FILE));
    return ini;
}

hmk::tool::BuildRequest request(const QString& output, bool edits)
{
    hmk::tool::BuildRequest r;
    r.output = output;
    if (edits)
        r.sets = {{QStringLiteral("UseDefaultScreen"), QStringLiteral("0")},
                  {QStringLiteral("MainTitle"), QStringLiteral("等离子切割机")},
                  {QStringLiteral("SubTitle"), QStringLiteral("Line 3")},
                  {QStringLiteral("PunchHeight"), QStringLiteral("4.5")},
                  {QStringLiteral("FollowType"), QStringLiteral("渐进穿孔")},
                  {QStringLiteral("IPAddress"), QStringLiteral("10.1.1.20")}};
    return r;
}

void setImagesPerSecond(benchmark::State& state)
{
    state.counters["images/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// A fresh window's save: settings, edits, titles drawn glyph by glyph.
void BM_Build(benchmark::State& state)
{
    const hmk::tool::BuildRequest r = request(QStringLiteral("machine1.hkf"), state.range(0));
    for (auto _ : state) {
        hmk::THMK725ConfigData config;
        const hmk::tool::BuildResult result = hmk::tool::buildImage(r, shippedSettings(), config);
        if (!result.ok()) {
            state.SkipWithError(qPrintable(result.error));
            break;
        }
        benchmark::DoNotOptimize(config.data().data());
    }
    setImagesPerSecond(state);
}
BENCHMARK(BM_Build)->ArgName("edits")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same, written to its file as hkftool build does; wall-clock time,
// since the atomic save waits for the disk.
void BM_BuildToFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const hmk::tool::BuildRequest r = request(dir.filePath(QStringLiteral("machine1.hkf")), true);
    for (auto _ : state) {
        hmk::THMK725ConfigData config;
        const hmk::tool::BuildResult result = hmk::tool::buildImage(r, shippedSettings(), config);
        const hmk::IoStatus saved = config.SaveToFile(r.output);
        if (!result.ok() || !saved.ok()) {
            state.SkipWithError("build failed");
            break;
        }
    }
    setImagesPerSecond(state);
}
BENCHMARK(BM_BuildToFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

// hkftool verify on one file: read it, check its three blocks.
void BM_Verify(benchmark::State& state)
{
    QTemporaryDir dir;
    const hmk::tool::BuildRequest r = request(dir.filePath(QStringLiteral("machine1.hkf")), true);
    hmk::THMK725ConfigData config;
    if (!hmk::tool::buildImage(r, shippedSettings(), config).ok() ||
        !config.SaveToFile(r.output).ok()) {
        state.SkipWithError("no image to verify");
        return;
    }
    for (auto _ : state) {
        const hmk::ImageFileRead read = hmk::readImageFile(r.output);
        const hmk::ImageCheck check = hmk::checkImage(read.bytes);
        if (check != hmk::ImageCheck::Ok) {
            state.SkipWithError("the image does not verify");
            break;
        }
    }
    setImagesPerSecond(state);
}
BENCHMARK(BM_Verify)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // Title glyphs are drawn off-screen, as hkftool draws them.
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
