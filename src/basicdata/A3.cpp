#include "basicdata/A3.h"

#include "basicdata/Categories.h"
#include "core/App.h"
#include "platform/Database.h"
#include "platform/Grid.h"

#include <QGridLayout>

A3::A3(App& app, QWidget* parent) : RecordForm(app, RightBasicData, parent)
{
    addLineBox(0, QStringLiteral("类别编码"), 25, 0, 0);
    addLineBox(1, QStringLiteral("类别名称"), 49, 1, 0);
    FrmLayout->setColumnStretch(1, 1);
    FrmLayout->setColumnStretch(2, 1);
    FrmLayout->setRowStretch(2, 1);
    Shape s;
    s.objectName = QStringLiteral("A3");
    s.caption = app.GoodsTerm + QStringLiteral("类别");
    s.listTab = app.GoodsTerm + QStringLiteral("类别列表");
    s.detailTab = app.GoodsTerm + QStringLiteral("类别明细");
    s.headers = {QStringLiteral("编码"), QStringLiteral("类别")};
    s.listBoxes = 2;
    s.colourTable = QStringLiteral("TA3");
    s.queryHead = QStringLiteral("Select TA3.* from TA3 ");
    s.queryFields = {{QStringLiteral("编码"), QStringLiteral("TA3.F1"), QueryFieldType::Text},
                     {QStringLiteral("类别"), QStringLiteral("TA3.F2"), QueryFieldType::Text}};
    s.printable = false;
    s.prevNext = false;
    s.widenColumns = false;
    s.enterOrder = {1, 0};
    s.editableTo = 1;
    s.savedRowToEnd = true;
    s.columnMargin = 100;
    s.keepOneText = QStringLiteral("系统中必须保留至少一种") + app.GoodsTerm + QStringLiteral("类别！");
    start(s, QStringLiteral("select * from TA3 order by F1"));
}

RecordList A3::readList(const QString& statement)
{
    return ListRecords(app.CurrentDatabase, statement, 2);
}

RecordSaveResult A3::saveRecord()
{
    CategoryRecord r{boxText(0), boxText(1)};
    const RecordSaveResult result =
        SaveCategory(app.CurrentDatabase, r, Edstu == 1, GD->textMatrix(CurrentRow, 0), CodeBeforeEdit);
    setBoxText(0, r.code);
    setBoxText(1, r.name);
    return result;
}

bool A3::codeInUse(const QString& code)
{
    return CategoryCodeInUse(app.CurrentDatabase, code);
}

bool A3::otherRecordExists(const QString& code)
{
    return OtherCategoryExists(app.CurrentDatabase, code);
}

void A3::deleteRecord(const QString& code)
{
    DeleteCategory(app.CurrentDatabase, code);
}
