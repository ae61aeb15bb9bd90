#include "FileSelect.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfrmOpenFile::TfrmOpenFile(int& openFileType, QWidget* parent)
    : QDialog(parent), FOpenFileType(openFileType), FFileType(new QButtonGroup(this)),
      FSelect(new QPushButton(QStringLiteral("确定"), this))
{
    setObjectName(QStringLiteral("frmOpenFile"));
    setWindowTitle(QStringLiteral("文件选择"));
    // A fixed dialog frame with only the close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(345, 172);

    // The radio group in banner style: its caption is a coloured bar across
    // the top of its frame.
    auto* group = new QFrame(this);
    group->setObjectName(QStringLiteral("rgFileType"));
    group->setFrameShape(QFrame::StyledPanel);
    auto* banner = new QLabel(QStringLiteral("选择需要打开的文件"), group);
    banner->setObjectName(QStringLiteral("rgFileTypeBanner"));
    banner->setContentsMargins(8, 4, 8, 4);
    banner->setAutoFillBackground(true);
    banner->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QPalette bar = banner->palette();
    bar.setColor(QPalette::Window, QColor(0x1c, 0x4f, 0x9c));
    bar.setColor(QPalette::WindowText, Qt::white);
    banner->setPalette(bar);
    QFont bold = banner->font();
    bold.setBold(true);
    banner->setFont(bold);

    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(0, 0, 0, 8);
    groupLayout->addWidget(banner);
    const QString captions[] = {QStringLiteral("读取标准出厂设定值"),
                                QStringLiteral("打开已有文件")};
    for (int i = 0; i < 2; ++i) {
        auto* choice = new QRadioButton(captions[i], group);
        FFileType->addButton(choice, i);
        auto* row = new QHBoxLayout;
        row->setContentsMargins(16, 0, 8, 0);
        row->addWidget(choice);
        row->addStretch();
        groupLayout->addLayout(row);
    }
    groupLayout->addStretch();
    FFileType->button(0)->setChecked(true);

    FSelect->setObjectName(QStringLiteral("btnFileSelect"));
    // Return confirms, as the only button of the dialog.
    FSelect->setDefault(true);
    connect(FSelect, &QPushButton::clicked, this, &TfrmOpenFile::btnFileSelectClick);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(group, 1);
    layout->addWidget(FSelect, 0, Qt::AlignRight);
}

void TfrmOpenFile::btnFileSelectClick()
{
    FOpenFileType = FFileType->checkedId();
    accept();
}
