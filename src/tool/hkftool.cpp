// hkftool: the window's core on the command line, for preparing many
// machines, checking files that come back from the field and keeping
// configurations in version control.

#include "ToolCommands.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    // Title glyphs are drawn off-screen; no display is needed or wanted.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("hkftool"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = hmk::tool::runTool(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
