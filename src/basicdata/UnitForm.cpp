#include "basicdata/UnitForm.h"

#include "core/Settings.h"
#include "core/SettingsCatalogue.h"
#include "exchange/ImportOpeners.h"

#include "core/App.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/NumberBox.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString DualRoleIdle = QStringLiteral("点击前面方框可进行双重身份设置");

}  // namespace

UnitForm::UnitForm(App& app, QWidget* parent, UnitKind kind) : RecordForm(app, RightBasicData, parent), FormUnitKind(code(kind)) {}

void UnitForm::buildUnit(const UnitCaptions& c)
{
    Captions = c;
    addLineBox(0, c.boxes[0], 49, 0, 0);
    addLineBox(1, c.boxes[1], 255, 0, 2, 3);
    addLineBox(2, c.boxes[2], 255, 1, 0, 5);
    addLineBox(3, c.boxes[3], 49, 2, 0, 3);
    addLineBox(4, c.boxes[4], 49, 2, 4);
    addLineBox(5, c.boxes[5], 49, 3, 0);
    if (c.withMobile)
        addLineBox(8, c.boxes[8], 49, 3, 2);
    new NumberBox(addLineBox(7, c.boxes[7], 49, 3, 4));
    addTextBox(6, c.boxes[6], 200, 4, 0, 5);
    FrmLayout->setColumnStretch(1, 2);
    FrmLayout->setColumnStretch(3, 2);
    FrmLayout->setColumnStretch(5, 2);
    if (!c.openingShown) {
        Txt[7]->hide();
        Lab[7]->hide();
    }
    if (c.withDualRole) {
        ChkSCSF = new QCheckBox(Frm);
        ChkSCSF->setObjectName(QStringLiteral("ChkSCSF"));
        LabSCSF = new QLabel(DualRoleIdle, Frm);
        LabSCSF->setObjectName(QStringLiteral("LabSCSF"));
        LabSCSF->setEnabled(false);
        auto* row = new QHBoxLayout;
        row->addWidget(ChkSCSF);
        row->addWidget(LabSCSF);
        row->addStretch(1);
        FrmLayout->addLayout(row, 5, 1, 1, 5);
        ChkSCSF->hide();
        LabSCSF->hide();
        ChkSCSF->installEventFilter(this);
        connect(ChkSCSF, &QCheckBox::toggled, this, &UnitForm::ChkSCSF_Click);
        DualRoleEnabled = SettingValue(app.CurrentDatabase, SetDualRoleUnits) == 1;
    }
    FrmLayout->setRowStretch(6, 1);
    if (c.withImport) {
        addImportButton([this] { return A12Excel(app, UnitKind(FormUnitKind), this); });
    }
}

RecordForm::Shape UnitForm::unitShape(const QString& objectName, const QString& caption, const QString& listTab,
                                      const QString& detailTab, const QString& keepOneText) const
{
    Shape s;
    s.objectName = objectName;
    s.caption = caption;
    s.listTab = listTab;
    s.detailTab = detailTab;
    s.headers = Captions.headers;
    s.hiddenLastColumn = true;
    s.listBoxes = 8;
    s.colourTable = QStringLiteral("TA1");
    s.queryHead = QStringLiteral("Select TA1.* from TA1 ");
    for (int i = 0; i < 7; ++i)
        s.queryFields.push_back({Captions.headers[i], QStringLiteral("TA1.F%1").arg(i + 1), QueryFieldType::Text});
    s.queryDefaultField = 1;
    if (Captions.withMobile)
        s.enterOrder = {1, 2, 3, 4, 5, 8, 0, 6, 7};  // 0-1-2-3-4-5-8-7-6-0
    else
        s.enterOrder = {1, 2, 3, 4, 5, 6, 0};
    s.editableTo = Captions.withMobile ? 8 : 7;
    s.keepOneText = keepOneText;
    return s;
}

RecordList UnitForm::readList(const QString& statement)
{
    return ListRecords(app.CurrentDatabase, UnitListStatement(statement, FormUnitKind), 7, 7);
}

RecordSaveResult UnitForm::saveRecord()
{
    UnitRecord r;
    r.code = boxText(0);
    r.name = boxText(1);
    r.address = boxText(2);
    r.phone = boxText(3);
    r.fax = boxText(4);
    r.contact = boxText(5);
    r.remark = boxText(6);
    r.opening = boxText(7);
    // An opening balance that is no number is refused, never stored as 0.
    if (Captions.openingShown && !TypedNumber(r.opening)) {
        MsgBox(Lab[7]->text() + QStringLiteral("：") + NotANumberText(r.opening), MB::OKOnly | MB::Exclamation, QStringLiteral("提示"));
        Txt[7]->setFocus();
        return {RecordSaveStatus::Told, {}};
    }
    if (Captions.withMobile)
        r.mobile = boxText(8);
    if (ChkSCSF && DualRoleEnabled)
        r.dualRole = ChkSCSF->isChecked();
    UnitSaveRequest q;
    q.kind = FormUnitKind;
    q.adding = Edstu == 1;
    q.listedCode = GD->textMatrix(CurrentRow, 0);
    q.codeBeforeEdit = CodeBeforeEdit;
    q.rechainBalance = Captions.rechainsBalance && BoxValue(r.opening) != OpeningBeforeEdit;
    completeSave(r, q);
    const RecordSaveResult result = SaveUnit(app.CurrentDatabase, r, q);
    const QString* cleaned[7] = {&r.code, &r.name, &r.address, &r.phone, &r.fax, &r.contact, &r.remark};
    for (int i = 0; i < 7; ++i)
        setBoxText(i, *cleaned[i]);
    if (r.mobile)
        setBoxText(8, *r.mobile);
    return result;
}

bool UnitForm::codeInUse(const QString& code)
{
    return UnitCodeInUse(app.CurrentDatabase, code);
}

bool UnitForm::otherRecordExists(const QString& code)
{
    return OtherUnitExists(app.CurrentDatabase, code);
}

void UnitForm::deleteRecord(const QString& code)
{
    DeleteUnit(app.CurrentDatabase, code, FormUnitKind);
}

void UnitForm::showRecordExtras()
{
    const UnitExtras extras = LoadUnitExtras(app.CurrentDatabase, boxText(0));
    if (Captions.withMobile)
        setBoxText(8, extras.mobile);
    if (ChkSCSF && DualRoleEnabled) {
        ChkSCSF->setChecked(extras.dualRole);
        showDualRole(extras.dualRole || Edstu != 0);
    }
}

void UnitForm::showDualRole(bool shown)
{
    if (!ChkSCSF)
        return;
    ChkSCSF->setVisible(shown && DualRoleEnabled);
    LabSCSF->setVisible(shown && DualRoleEnabled);
}

void UnitForm::ChkSCSF_Click()
{
    const bool on = ChkSCSF->isChecked();
    LabSCSF->setEnabled(on);
    LabSCSF->setText(on ? Captions.dualRoleText : DualRoleIdle);
}

void UnitForm::enterEditExtras()
{
    showDualRole(true);
}

void UnitForm::leaveEditExtras()
{
    showDualRole(ChkSCSF && ChkSCSF->isChecked());
}

void UnitForm::addExtras()
{
    OpeningBeforeEdit = 0;
    if (ChkSCSF)
        ChkSCSF->setChecked(false);
}

void UnitForm::editExtras()
{
    OpeningBeforeEdit = BoxValue(boxText(7));
}



bool UnitForm::eventFilter(QObject* watched, QEvent* event)
{
    // Browsing, the dual-role box shows the flag but cannot change it.
    if (watched == ChkSCSF && Edstu == 0) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
            return true;
        case QEvent::FocusIn:
            Txt[0]->setFocus();
            return false;
        default:
            break;
        }
    }
    return RecordForm::eventFilter(watched, event);
}
