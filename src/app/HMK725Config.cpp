#include "ConfigMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TfrmConfig frmConfig;
    frmConfig.show();
    return app.exec();
}
