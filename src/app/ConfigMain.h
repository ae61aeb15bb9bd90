#pragma once

#include <QMainWindow>

class TfrmConfig : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmConfig(QWidget* parent = nullptr);
};
