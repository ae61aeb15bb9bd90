#include "ChoiceGroup.h"

#include "params/ParamValues.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>

namespace hmk {

ChoiceGroup::ChoiceGroup(const QStringList& captions, QWidget* parent)
    : QWidget(parent), FButtons(new QButtonGroup(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i], this);
        FButtons->addButton(button, i);
        layout->addWidget(button);
    }
    layout->addStretch();
    connect(FButtons, &QButtonGroup::idClicked, this, &ChoiceGroup::itemClicked);
}

int ChoiceGroup::itemIndex() const
{
    return FButtons->checkedId();
}

void ChoiceGroup::setItemIndex(qint64 index)
{
    const int limited = limitChoiceIndex(index, count());
    if (limited < 0) {
        // An exclusive group cannot uncheck its checked button.
        FButtons->setExclusive(false);
        if (QAbstractButton* checked = FButtons->checkedButton())
            checked->setChecked(false);
        FButtons->setExclusive(true);
        return;
    }
    FButtons->button(limited)->setChecked(true);
}

int ChoiceGroup::count() const
{
    return static_cast<int>(FButtons->buttons().size());
}

QString ChoiceGroup::caption(int index) const
{
    const QAbstractButton* button = FButtons->button(index);
    return button ? button->text() : QString();
}

} // namespace hmk
