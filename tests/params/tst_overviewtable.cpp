// The overview table decides which value each row of the overview list shows
// and which page a double-click on it leads to. A row that pointed at the
// wrong entry, or a group on another page than its parameters, would show a
// plausible list that sends the engineer to the wrong page; so the table is
// checked against the catalogue, without a window.

#include "params/OverviewTable.h"
#include "params/ParamCatalogue.h"

#include <QSet>
#include <QTest>

using namespace hmk;

class TestOverviewTable : public QObject
{
    Q_OBJECT

private slots:
    void rowsComeGroupByGroup();
    void rowsLeadToThePageOfTheirSource();
    void everyShownParameterHasAtMostOneRow();
};

void TestOverviewTable::rowsComeGroupByGroup()
{
    // The list is built in table order under its group headers: a row out of
    // its group's run would sit under the right header but break the order
    // the pages follow; an empty group would be a bare header.
    int group = 0;
    QSet<int> seen;
    for (const OverviewRow& row : overviewRows()) {
        QVERIFY2(row.group >= group && row.group < OverviewGroupCount, row.name);
        group = row.group;
        seen.insert(group);
    }
    QCOMPARE(seen.size(), OverviewGroupCount);
}

void TestOverviewTable::rowsLeadToThePageOfTheirSource()
{
    for (const OverviewRow& row : overviewRows()) {
        const Page page = overviewGroups()[row.group].page;
        if (row.source == OverviewSource::Parameter) {
            QVERIFY2(row.param, row.name);
            QCOMPARE(page, row.param->paramGroup().page);
        } else {
            QVERIFY2(!row.param, row.name);
            QCOMPARE(page, Page::BootScreen);
        }
    }
}

void TestOverviewTable::everyShownParameterHasAtMostOneRow()
{
    QSet<const ParamEntry*> listed;
    QSet<OverviewSource> titles;
    for (const OverviewRow& row : overviewRows()) {
        if (row.source != OverviewSource::Parameter) {
            QVERIFY2(!titles.contains(row.source), row.name);
            titles.insert(row.source);
            continue;
        }
        // The row points into the catalogue itself, not at a copy.
        const int index = paramIndex(*row.param);
        QVERIFY2(index >= 0 && index < ParamCount, row.name);
        QCOMPARE(&catalogue()[index], row.param);
        QVERIFY2(!row.param->hidden, row.name);
        QVERIFY2(!listed.contains(row.param), row.name);
        listed.insert(row.param);
    }
    QCOMPARE(titles.size(), 2);
}

QTEST_GUILESS_MAIN(TestOverviewTable)
#include "tst_overviewtable.moc"
