// hkftool: the window's core on the command line, for preparing many
// machines, checking files that come back from the field and keeping
// configurations in version control.

#include "ToolCommands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

namespace {

// hkftool says what it has to say itself, on its own streams. What Qt reports
// about its surroundings (no XDG_RUNTIME_DIR when run as root, a missing
// font configuration) means nothing to a script reading stderr, so none of
// it is printed.
void dropQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    // Qt ends the run after a fatal message; it is the one worth reading.
    if (type == QtFatalMsg)
        std::fprintf(stderr, "hkftool: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(dropQtMessages);
    // Only the commands that draw get the GUI application, drawing
    // off-screen: no display is needed or wanted. The others start without
    // loading a platform plugin at all.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const bool gui = hmk::tool::commandNeedsGui(args);
    std::unique_ptr<QCoreApplication> app;
    if (gui) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("hkftool"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = hmk::tool::runTool(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
