#include "ConfigMain.h"
#include "Dialogs.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("HMK725Config"));
    // Every message box is captioned with the tool's title.
    QApplication::setApplicationDisplayName(hmk::ToolTitle);

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
