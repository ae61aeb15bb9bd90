#include "ConfigMain.h"
#include "Dialogs.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("HMK725Config"));
    QApplication::setApplicationVersion(QStringLiteral(HMK_VERSION));
    // Message boxes are captioned with the tool's title by QtDialogs. No
    // display name is set: Qt would append it to every other caption, the
    // start-up dialog's and the window's after a file is opened.

    // The window is Chinese, so are the buttons of Qt's own dialogs and the
    // texts of its --help.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    // A file given here, by a file manager or on the command line, is opened
    // instead of asking at start-up where the first values come from.
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("HMK725配置文件生成工具"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("启动时打开的配置文件 (*.hkf)"),
                                 QStringLiteral("[FILE]"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fputs(qPrintable(QStringLiteral("一次只能打开一个配置文件。\n\n") + parser.helpText()),
                   stderr);
        return 1;
    }
    const QString startupFile =
        files.isEmpty() ? QString() : QFileInfo(files.constFirst()).absoluteFilePath();

    hmk::QtDialogs dialogs;
    TfrmConfig frmConfig(dialogs, QString(), startupFile);
    frmConfig.show();
    return app.exec();
}
