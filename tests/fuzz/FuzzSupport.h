#pragma once

// Shared by the fuzz targets: a QGuiApplication made once (fonts and images
// need one), offscreen so that no display is needed, and a check that ends
// the run with a message when a property of the code under test fails.

#include <QByteArray>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace hmk::fuzz {

inline void startGuiApplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Own arguments: QGuiApplication takes out the options it knows, which
    // must not touch the fuzzer's command line.
    static int argc = 1;
    static char name[] = "hmk_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
    // Decoders complain about every damaged file; only fatal messages count.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
            std::abort();
        }
    });
}

// A property that must hold for every input: abort, so that libFuzzer keeps
// the input as a crash.
#define HMK_FUZZ_CHECK(condition)                                                                  \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

} // namespace hmk::fuzz
