#include "ConfigMain.h"
#include "Dialogs.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("HMK725Config"));
    // Message boxes are captioned with the tool's title by QtDialogs. No
    // display name is set: Qt would append it to every other caption, the
    // start-up dialog's and the window's after a file is opened.

    // The window is Chinese, so are the buttons of Qt's own dialogs.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    hmk::QtDialogs dialogs;
    TfrmConfig frmConfig(dialogs);
    frmConfig.show();
    return app.exec();
}
