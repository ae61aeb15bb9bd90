#include "ConfigMain.h"

TfrmConfig::TfrmConfig(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("HMK725配置文件生成工具"));
}
