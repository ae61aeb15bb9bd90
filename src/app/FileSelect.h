#pragma once

#include <QDialog>

class QButtonGroup;
class QPushButton;

// The start-up dialog: start from the factory values or open an existing
// file. It runs while the main window is still being built, so it is handed
// the place for the answer (the window's FOpenFileType) when it is made.
class TfrmOpenFile : public QDialog
{
    Q_OBJECT
public:
    TfrmOpenFile(int& openFileType, QWidget* parent = nullptr);

    // rgFileType: 0 "读取标准出厂设定值" (selected at first), 1 "打开已有文件".
    QButtonGroup* rgFileType() const { return FFileType; }
    QPushButton* btnFileSelect() const { return FSelect; }

public slots:
    void btnFileSelectClick();

private:
    int& FOpenFileType;
    QButtonGroup* FFileType;
    QPushButton* FSelect;
};
