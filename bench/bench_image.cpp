// Timings of the steps every save and open goes through: the three block
// checksums with the bitwise loop, and writing the image to a file.

#include "image/CfgHMK725.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

hmk::THMK725ConfigData builtImage()
{
    hmk::THMK725ConfigData config;
    config.ExportHeadFile(QStringLiteral("/tmp/machine1.hkf"), false, false);
    config.ExportNet("10.1.1.188", "255.255.255.0", "10.1.1.1");
    config.setPunchHeight(3500);
    config.ExportCRC();
    return config;
}

constexpr int CoveredBytes = hmk::layout::ImageSize - 6;

void BM_ExportCRC(benchmark::State& state)
{
    hmk::THMK725ConfigData config = builtImage();
    for (auto _ : state) {
        config.ExportCRC();
        benchmark::DoNotOptimize(config.data().data());
    }
    state.SetBytesProcessed(state.iterations() * CoveredBytes);
}
BENCHMARK(BM_ExportCRC);

void BM_VerifyImage(benchmark::State& state)
{
    const hmk::THMK725ConfigData config = builtImage();
    for (auto _ : state) {
        bool ok = hmk::VerifyImage(config.data().data());
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(state.iterations() * CoveredBytes);
}
BENCHMARK(BM_VerifyImage);

// Replacing an existing file, as every save after the first does.
void BM_SaveToFile(benchmark::State& state)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const QString path = dir.filePath(QStringLiteral("machine1.hkf"));
    const hmk::THMK725ConfigData config = builtImage();
    for (auto _ : state) {
        const hmk::IoStatus status = config.SaveToFile(path);
        if (!status.ok()) {
            state.SkipWithError(qPrintable(status.error));
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * hmk::layout::ImageSize);
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
