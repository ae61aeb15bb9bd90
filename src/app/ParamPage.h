#pragma once

// A parameter page: one group box for each parameter group the catalogue
// puts on the page, stacked in catalogue order; in each box one row of
// label, control and unit per parameter.

#include "params/Pages.h"
#include "params/ParamCatalogue.h"
#include "params/ParamValues.h"

#include <QWidget>

namespace hmk {

// The texts beside a control, formed from the catalogue's words by one rule:
// "穿孔高度：" and "（单位：mm）" (empty when the field has no unit).
QString labelText(const char* word);
QString labelText(const ParamEntry& entry);
QString unitText(const ParamEntry& entry);

class ParamPage : public QWidget
{
    Q_OBJECT
public:
    explicit ParamPage(Page page, QWidget* parent = nullptr);

    Page page() const { return FPage; }
    // The control of an entry of this page, or nullptr for one of another
    // page. Its object name is the catalogue's control name.
    QWidget* control(const ParamEntry& entry) const;

    // The values of this page's controls into `values`, and back. Reading
    // shows an emptied numeric field as its Min; writing rounds numbers to
    // their field's decimals and limits choice indices to the choices.
    void readValues(ParamValues& values) const;
    void writeValues(const ParamValues& values);

private:
    QWidget* createControl(const ParamEntry& entry, QWidget* box);

    const Page FPage;
    std::array<QWidget*, ParamCount> FControls{};
};

} // namespace hmk
