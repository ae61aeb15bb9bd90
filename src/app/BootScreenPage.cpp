#include "BootScreenPage.h"

#include "BootScreenView.h"
#include "ChoiceGroup.h"
#include "ParamPage.h"
#include "TitleEdit.h"
#include "WindowParts.h"
#include "bootscreen/BootScreenModel.h"
#include "bootscreen/FontList.h"
#include "params/SettingsLoader.h"

#include <QCheckBox>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace hmk {

BootScreenPage::BootScreenPage(BootScreenModel& model, QWidget* parent)
    : QWidget(parent), FModel(model)
{
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(12);

    auto* box = new QGroupBox(QStringLiteral("开机画面信息"), content);
    box->setObjectName(QStringLiteral("RzGroupBox7"));
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setVerticalSpacing(10);
    grid->setColumnStretch(3, 1);

    cbNotEnableParam = new QCheckBox(QStringLiteral("只设置开机画面，不设置参数"), box);
    cbNotEnableParam->setObjectName(QStringLiteral("cbNotEnableParam"));
    grid->addWidget(cbNotEnableParam, 0, 0, 1, 4);

    rgStyleScreen = new ChoiceGroup({StyleCaptions[0], StyleCaptions[1]}, box);
    rgStyleScreen->setObjectName(QStringLiteral("rgStyleScreen"));
    grid->addWidget(rgStyleScreen, 1, 0, 1, 2);
    auto* label1 = addLabel(QStringLiteral("Label1"),
                            QStringLiteral("（要求图片格式为 192 * 32 的单色位图）"), box);
    QPalette olive = label1->palette();
    olive.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x00));
    label1->setPalette(olive);
    grid->addWidget(label1, 1, 2, 1, 2);

    cbUseDefaultScreen = new QCheckBox(QStringLiteral("使用默认的开机画面"), box);
    cbUseDefaultScreen->setObjectName(QStringLiteral("cbUseDefaultScreen"));
    grid->addWidget(cbUseDefaultScreen, 2, 0, 1, 4);

    edtMainTitle = new TitleEdit(box);
    edtMainTitle->setObjectName(QStringLiteral("edtMainTitle"));
    edtMainTitle->setProperty(HintKeyProperty, QLatin1String(MainTitleKey));
    edtMainTitle->setMinimumWidth(260);
    grid->addWidget(addLabel(QStringLiteral("lblLogo1"), labelText(MainTitleLabel), box), 3, 0);
    grid->addWidget(edtMainTitle, 3, 1);
    edtSubTitle = new TitleEdit(box);
    edtSubTitle->setObjectName(QStringLiteral("edtSubTitle"));
    edtSubTitle->setProperty(HintKeyProperty, QLatin1String(SubTitleKey));
    grid->addWidget(addLabel(QStringLiteral("lblLogo2"), labelText(SubTitleLabel), box), 4, 0);
    grid->addWidget(edtSubTitle, 4, 1);

    btnLoadPic = new QPushButton(QStringLiteral("导入图片"), box);
    btnLoadPic->setObjectName(QStringLiteral("btnLoadPic"));
    grid->addWidget(btnLoadPic, 4, 2);

    cbFontMain = new QFontComboBox(box);
    cbFontMain->setObjectName(QStringLiteral("cbFontMain"));
    cbFontMain->hide();
    cbFontSub = new QFontComboBox(box);
    cbFontSub->setObjectName(QStringLiteral("cbFontSub"));
    cbFontSub->hide();

    // The LCD preview or the device view, with the fit warning under it.
    auto* view = new BootScreenView(FModel, content);

    layout->addWidget(box);
    layout->addWidget(view);
    layout->addStretch();

    BootScreenModel* m = &FModel;
    connect(cbNotEnableParam, &QCheckBox::clicked, m, &BootScreenModel::setNotEnableParam);
    connect(rgStyleScreen, &ChoiceGroup::itemClicked, m,
            [m](int index) { m->setStyleIndex(index); });
    connect(cbUseDefaultScreen, &QCheckBox::clicked, m, &BootScreenModel::setUseDefaultScreen);
    connect(edtMainTitle, &QLineEdit::textEdited, m, &BootScreenModel::setMainTitle);
    connect(edtSubTitle, &QLineEdit::textEdited, m, &BootScreenModel::setSubTitle);
    connect(edtMainTitle, &TitleEdit::left, m, [m] { m->TitleExit(true); });
    connect(edtSubTitle, &TitleEdit::left, m, [m] { m->TitleExit(false); });
    connect(btnLoadPic, &QPushButton::clicked, this, &BootScreenPage::loadPictureClicked);
    connect(cbFontMain, &QFontComboBox::currentFontChanged, m, [m](const QFont& f) {
        m->setMainFontList(f.family());
        m->cbFontMainChange();
    });
    connect(cbFontSub, &QFontComboBox::currentFontChanged, m, [m](const QFont& f) {
        m->setSubFontList(f.family());
        m->cbFontSubChange();
    });
    connect(m, &BootScreenModel::changed, this, &BootScreenPage::refresh);
    refresh();

    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->addWidget(content);
}

void BootScreenPage::refresh()
{
    const BootScreenModel& m = FModel;
    const auto setText = [](QLineEdit* edit, const QString& text) {
        // Only a real change: setting the same text would move the cursor.
        if (edit->text() != text) {
            const QSignalBlocker blocker(edit);
            edit->setText(text);
        }
    };
    const auto setFamily = [](QWidget* edit, const QString& face) {
        QFont font = edit->font();
        font.setFamily(drawingFamily(face));
        edit->setFont(font);
    };
    const auto setFontList = [](QFontComboBox* list, const QString& face) {
        const QSignalBlocker blocker(list);
        list->setCurrentFont(QFont(drawingFamily(face)));
    };
    {
        const QSignalBlocker b1(cbNotEnableParam);
        const QSignalBlocker b2(cbUseDefaultScreen);
        cbNotEnableParam->setChecked(m.notEnableParam());
        cbUseDefaultScreen->setChecked(m.useDefaultScreen());
    }
    rgStyleScreen->setItemIndex(m.styleIndex());
    cbUseDefaultScreen->setEnabled(m.useDefaultEnabled());
    setText(edtMainTitle, m.mainTitle());
    setText(edtSubTitle, m.subTitle());
    edtMainTitle->setEnabled(m.titlesEnabled());
    edtSubTitle->setEnabled(m.titlesEnabled());
    setFamily(edtMainTitle, m.mainTitleFont());
    setFamily(edtSubTitle, m.subTitleFont());
    setFontList(cbFontMain, m.mainFontName());
    setFontList(cbFontSub, m.subFontName());
    btnLoadPic->setEnabled(m.loadPicEnabled());
}

} // namespace hmk
