// Timings of what the window does while the user looks at differences:
// comparing two documents (nothing differs, everything differs), and
// rebuilding the overview list with its marks, offscreen. Each must stay far below one
// frame (16 ms).

#include "ConfigMain.h"
#include "ScriptedDialogs.h"
#include "bootscreen/BootScreenModel.h"
#include "params/DocumentCompare.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

hmk::Document freshDocument()
{
    hmk::BootScreenModel boot;
    return hmk::documentOf(hmk::formValues(), boot);
}

// Every parameter and every boot-screen item changed, the picture in every
// pixel: the longest list a comparison can give.
hmk::Document everythingChanged(hmk::Document doc)
{
    for (const hmk::ParamEntry& entry : hmk::catalogue()) {
        hmk::ParamValue& v = doc.params[hmk::paramIndex(entry)];
        v.number += 1000;
        v.choice = v.choice == 0 ? 1 : 0;
        v.text = QStringLiteral("192.168.1.1");
    }
    doc.boot.style = 1;
    doc.boot.useDefaultScreen = !doc.boot.useDefaultScreen;
    doc.boot.mainTitle = QStringLiteral("另一台机器");
    doc.boot.subTitle = QStringLiteral("副标题");
    doc.boot.mainFont = QStringLiteral("黑体");
    doc.boot.subFont = QStringLiteral("楷体");
    doc.boot.picture = QByteArray(hmk::layout::LogoPixelFontsSize, '\xFF');
    return doc;
}

void BM_CompareSame(benchmark::State& state)
{
    const hmk::Document a = freshDocument();
    const hmk::Document b = a;
    for (auto _ : state) {
        auto diffs = hmk::compareDocuments(a, b);
        benchmark::DoNotOptimize(diffs);
    }
}
BENCHMARK(BM_CompareSame)->Unit(benchmark::kMicrosecond);

void BM_CompareEverythingDiffers(benchmark::State& state)
{
    const hmk::Document a = freshDocument();
    const hmk::Document b = everythingChanged(a);
    qsizetype count = 0;
    for (auto _ : state) {
        auto diffs = hmk::compareDocuments(a, b);
        count = diffs.size();
        benchmark::DoNotOptimize(diffs);
    }
    state.counters["differences"] = double(count);
}
BENCHMARK(BM_CompareEverythingDiffers)->Unit(benchmark::kMicrosecond);

// The whole overview list built again from the controls, every row marked
// against the factory values of the shipped settings file; half of the
// parameters changed, so that bold and red rows are drawn as well.
void BM_BuildOverviewWithMarks(benchmark::State& state)
{
    hmk::ScriptedDialogs dialogs;
    TfrmConfig window(dialogs, QStringLiteral(HMK_SETTINGS_FILE));
    hmk::ParamValues values = window.readControls();
    for (int i = 0; i < hmk::ParamCount; i += 2)
        values[i].number += 100000000;
    window.writeControls(values);
    for (auto _ : state)
        window.BuildOverview();
}
BENCHMARK(BM_BuildOverviewWithMarks)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
