#include "ParamPage.h"

#include "AddressEdit.h"
#include "ChoiceGroup.h"
#include "NumericEdit.h"
#include "WindowParts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace hmk {

QString labelText(const char* word)
{
    return QString::fromUtf8(word) + QStringLiteral("：");
}

QString labelText(const ParamEntry& entry)
{
    return labelText(entry.label);
}

QString unitText(const ParamEntry& entry)
{
    if (!*entry.unit)
        return {};
    return QStringLiteral("（单位：%1）").arg(QString::fromUtf8(entry.unit));
}

ParamPage::ParamPage(Page page, QWidget* parent) : QWidget(parent), FPage(page)
{
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(16, 12, 16, 12);
    pageLayout->setSpacing(12);
    pageLayout->addStretch();

    std::array<QGridLayout*, ParamGroupCount> boxes{};
    for (int g = 0; g < ParamGroupCount; ++g) {
        if (paramGroups()[g].page != page)
            continue;
        auto* box = new QGroupBox(QString::fromUtf8(paramGroups()[g].box), this);
        box->setMinimumWidth(480);
        boxes[g] = new QGridLayout(box);
        boxes[g]->setContentsMargins(16, 12, 16, 12);
        boxes[g]->setHorizontalSpacing(10);
        boxes[g]->setColumnMinimumWidth(0, 110);
        boxes[g]->setColumnStretch(3, 1);
        pageLayout->insertWidget(pageLayout->count() - 1, box, 0, Qt::AlignLeft);
    }

    for (const ParamEntry& entry : catalogue()) {
        QGridLayout* grid = boxes[entry.group];
        if (!grid)
            continue;
        QWidget* box = grid->parentWidget();
        const QString name = entry.nameText();
        const int row = grid->rowCount();

        QWidget* control = createControl(entry, box);
        control->setProperty(HintKeyProperty, name);
        FControls[paramIndex(entry)] = control;

        QLabel* label = addLabel(entry.labelControl ? QString::fromLatin1(entry.labelControl)
                                                    : QStringLiteral("lbl") + name,
                                 labelText(entry), box);
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row, 1, 1, entry.kind == ControlKind::Choice ? 3 : 1);
        QLabel* unit = nullptr;
        if (*entry.unit) {
            unit = addLabel(QStringLiteral("lbl") + name + QStringLiteral("Unit"), unitText(entry),
                            box);
            grid->addWidget(unit, row, 2);
        }
        if (entry.hidden) {
            for (QWidget* w : {static_cast<QWidget*>(label), control, static_cast<QWidget*>(unit)})
                if (w)
                    w->hide();
        }
    }
}

QWidget* ParamPage::createControl(const ParamEntry& entry, QWidget* box)
{
    switch (entry.kind) {
    case ControlKind::Numeric: {
        auto* edit = new NumericEdit(entry, box);
        edit->setFixedWidth(120);
        return edit;
    }
    case ControlKind::Choice: {
        QStringList captions;
        for (int i = 0; i < entry.choiceCount(); ++i)
            captions << QString::fromUtf8(entry.choices[i]);
        auto* group = new ChoiceGroup(captions, box);
        group->setObjectName(QString::fromLatin1(entry.control));
        group->setItemIndex(entry.formValue);
        return group;
    }
    case ControlKind::Address: {
        auto* edit = new AddressEdit(box);
        edit->setObjectName(QString::fromLatin1(entry.control));
        edit->setText(QString::fromLatin1(entry.addressDefault));
        edit->setFixedWidth(120);
        return edit;
    }
    }
    return nullptr;
}

QWidget* ParamPage::control(const ParamEntry& entry) const
{
    return FControls[paramIndex(entry)];
}

void ParamPage::readValues(ParamValues& values) const
{
    for (const ParamEntry& entry : catalogue()) {
        const int i = paramIndex(entry);
        if (!FControls[i])
            continue;
        switch (entry.kind) {
        case ControlKind::Numeric:
            values[i].number = static_cast<NumericEdit*>(FControls[i])->value();
            break;
        case ControlKind::Choice:
            values[i].choice = static_cast<ChoiceGroup*>(FControls[i])->itemIndex();
            break;
        case ControlKind::Address:
            values[i].text = static_cast<QLineEdit*>(FControls[i])->text();
            break;
        }
    }
}

void ParamPage::writeValues(const ParamValues& values)
{
    for (const ParamEntry& entry : catalogue()) {
        const int i = paramIndex(entry);
        if (!FControls[i])
            continue;
        switch (entry.kind) {
        case ControlKind::Numeric:
            static_cast<NumericEdit*>(FControls[i])->setValue(values[i].number);
            break;
        case ControlKind::Choice:
            static_cast<ChoiceGroup*>(FControls[i])->setItemIndex(values[i].choice);
            break;
        case ControlKind::Address:
            static_cast<QLineEdit*>(FControls[i])->setText(values[i].text);
            break;
        }
    }
}

} // namespace hmk
