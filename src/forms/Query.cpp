#include "forms/Query.h"

#include "core/App.h"
#include "core/SqlText.h"
#include "platform/Messages.h"
#include "platform/Grid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace {

const QString ListAll = QStringLiteral("列出全部(&L)");
const QString FindTyped = QStringLiteral("按条件查找(&Q)");
const QString FindCollected = QStringLiteral("按条件查找(&F)");
const QString ToAdvanced = QStringLiteral("高级模式(&M)");
const QString AddOne = QStringLiteral("增加条件(&A)");

template <class T>
T* named(T* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

}  // namespace

Query::Query(App& app, QWidget* parent) : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("Query"));
    setWindowTitle(QStringLiteral(" 查找条件"));
    setModal(true);

    GD = named(new Grid(this), "GD");
    GD->setCols(3);
    GD->hide();
    CPT = named(new QLabel(QStringLiteral("              项目         关系         值"), this), "CPT");
    QFont bold = CPT->font();
    bold.setBold(true);
    CPT->setFont(bold);
    CPT->setCursor(Qt::SizeAllCursor);
    CPT->installEventFilter(this);
    CmdYing = named(new QPushButton(QStringLiteral("精简模式(&M)"), this), "CmdYing");
    CmbLG = named(new QComboBox(this), "CmbLG");
    CmbLG->addItems(QueryJoinItems());
    CmbF = named(new QComboBox(this), "CmbF");
    CmbF->setMinimumWidth(140);
    cmbGx = named(new QComboBox(this), "cmbGx");
    Txt = named(new QLineEdit(this), "Txt");
    Txt->setMinimumWidth(120);
    DTP = named(new QDateEdit(QDate::currentDate(), this), "DTP");
    DTP->setCalendarPopup(true);
    DTP->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DTP->hide();
    CmdAdd = named(new QPushButton(ToAdvanced, this), "CmdAdd");
    CmdRemove = named(new QPushButton(QStringLiteral("删除条件(&D)"), this), "CmdRemove");
    CmdQuery = named(new QPushButton(ListAll, this), "CmdQuery");
    CmdCancel = named(new QPushButton(QStringLiteral("取消查找(&C)"), this), "CmdCancel");
    Lst = named(new QListWidget(this), "Lst");
    Lst->setMinimumHeight(90);
    for (QPushButton* b : {CmdYing, CmdAdd, CmdRemove, CmdQuery, CmdCancel}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(98);
    }
    CmdQuery->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(CmdYing, 0, 0);
    grid->addWidget(CPT, 0, 1, 1, 3);
    grid->addWidget(CmbLG, 1, 0);
    grid->addWidget(CmbF, 1, 1);
    grid->addWidget(cmbGx, 1, 2);
    grid->addWidget(Txt, 1, 3);
    grid->addWidget(DTP, 1, 3);
    grid->addWidget(CmdAdd, 1, 4);
    grid->addWidget(Lst, 2, 0, 3, 4);
    grid->addWidget(CmdRemove, 2, 4);
    grid->addWidget(CmdQuery, 3, 4);
    grid->addWidget(CmdCancel, 4, 4);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(CmbF, &QComboBox::activated, this, &Query::CmbF_Click);
    connect(CmdAdd, &QPushButton::clicked, this, &Query::CmdAdd_Click);
    connect(CmdRemove, &QPushButton::clicked, this, &Query::CmdRemove_Click);
    connect(CmdQuery, &QPushButton::clicked, this, &Query::CmdQuery_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &Query::CmdCancel_Click);
    connect(CmdYing, &QPushButton::clicked, this, &Query::CmdYing_Click);
    connect(Txt, &QLineEdit::textChanged, this, &Query::Txt_Change);

    CmdYing_Click();
    CmbLG->setCurrentIndex(0);
}

void Query::setFields(const QVector<QueryField>& fields, int defaultField)
{
    GD->setRows(int(fields.size()) + 1);
    GD->clear();
    CmbF->clear();
    for (int i = 0; i < fields.size(); ++i) {
        // The field grid keeps the caller's rows from row 1 (row 0 is the grid's header).
        GD->setTextMatrix(i + 1, 0, fields[i].caption);
        GD->setTextMatrix(i + 1, 1, fields[i].column);
        GD->setTextMatrix(i + 1, 2, QString::number(int(fields[i].type)));
        CmbF->addItem(fields[i].caption);
    }
    CmbF->setCurrentIndex(defaultField);
    CmbF_Click();
}

QueryField Query::field(int index) const
{
    const int row = index + 1;
    return {GD->textMatrix(row, 0), GD->textMatrix(row, 1),
            QueryFieldType(std::clamp(int(LeadValue(GD->textMatrix(row, 2))), 0, 2))};
}

void Query::CmbF_Click()
{
    if (CmbF->currentIndex() < 0)
        return;
    cmbGx->clear();
    const QueryFieldType type = field(CmbF->currentIndex()).type;
    cmbGx->addItems(QueryOperatorItems(type));
    if (type == QueryFieldType::Date) {
        Txt->hide();
        DTP->setDate(QDate::currentDate());
        DTP->show();
        Txt->setText(DateText(DTP->date()));
    } else {
        if (DTP->isVisibleTo(this) || Txt->isHidden())
            Txt->clear();
        DTP->hide();
        Txt->show();
    }
    cmbGx->setCurrentIndex(0);
}

bool Query::AddQueryCondition()
{
    if (CmbF->currentIndex() < 0)
        return true;
    const bool first = Conditions.isEmpty();
    const QueryJoin join = first ? QueryJoin::First : QueryJoinOf(CmbLG->currentText());
    const QString value = Txt->isHidden() ? DateText(DTP->date()) : Txt->text();
    // A number field compared with text that is no number would look for 0.
    if (field(CmbF->currentIndex()).type == QueryFieldType::Number && !TypedNumber(value)) {
        MsgBox(NotANumberText(value), MB::OKOnly | MB::Exclamation);
        Txt->setFocus();
        return false;
    }
    Conditions.push_back(
        MakeQueryCondition(join, field(CmbF->currentIndex()), QueryOperatorOf(cmbGx->currentText()), value));
    Lst->addItem(QueryConditionDisplay(Conditions.last(), first));
    if (first) {
        CmbLG->show();
        CmbLG->setCurrentIndex(0);
    }
    CmdQuery->setText(FindCollected);
    CmdRemove->setEnabled(true);
    Txt->clear();
    return true;
}

void Query::CmdAdd_Click()
{
    if (!Advanced) {
        Advanced = true;
        CmdAdd->setText(AddOne);
        for (QWidget* w : {static_cast<QWidget*>(Lst), static_cast<QWidget*>(CmdRemove),
                           static_cast<QWidget*>(CmdYing), static_cast<QWidget*>(CPT)})
            w->show();
        CmbLG->setVisible(!Conditions.isEmpty());
    } else {
        AddQueryCondition();
    }
    if (!Txt->isHidden())
        Txt->setFocus();
    else
        DTP->setFocus();
}

void Query::CmdRemove_Click()
{
    const int index = Lst->currentRow();
    if (index < 0 || index >= Conditions.size())
        return;
    Conditions.removeAt(index);
    Lst->clear();
    for (int i = 0; i < Conditions.size(); ++i)
        Lst->addItem(QueryConditionDisplay(Conditions[i], i == 0));
    if (!Conditions.isEmpty()) {
        Lst->setCurrentRow(int(Conditions.size()) - 1);
        return;
    }
    CmbLG->hide();
    CmdRemove->setEnabled(false);
    CmdQuery->setText(ListAll);
}

void Query::CmdQuery_Click()
{
    if ((!Txt->text().isEmpty() || !DTP->isHidden()) && !AddQueryCondition())
        return;
    writeLoader(QueryStatement(SqlHeadstr, Conditions));
    accept();
}

void Query::CmdCancel_Click()
{
    writeLoader(QString());
    accept();
}

void Query::CmdYing_Click()
{
    Conditions.clear();
    Lst->clear();
    Advanced = false;
    CmdYing->hide();
    CPT->hide();
    Lst->hide();
    CmdRemove->hide();
    CmdRemove->setEnabled(false);
    CmbLG->hide();
    CmdAdd->setText(ToAdvanced);
    CmdAdd->setEnabled(true);
    CmdQuery->setText(Txt->text().isEmpty() ? ListAll : FindTyped);
}

void Query::Txt_Change()
{
    if (!Txt->text().isEmpty()) {
        CmdAdd->setEnabled(true);
        if (CmdQuery->text() == ListAll)
            CmdQuery->setText(FindTyped);
    } else if (!Advanced) {
        CmdQuery->setText(ListAll);
    }
}

void Query::reject()
{
    if (Advanced) {
        CmdYing_Click();
        return;
    }
    QDialog::reject();
}

bool Query::eventFilter(QObject* watched, QEvent* event)
{
    // The caption row moves the dialog, as its title bar does.
    if (watched == CPT) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonPress) {
            DragStart = me->globalPosition().toPoint() - frameGeometry().topLeft();
            return true;
        }
        if (event->type() == QEvent::MouseMove && (me->buttons() & Qt::LeftButton)) {
            move(me->globalPosition().toPoint() - DragStart);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Query::writeLoader(const QString& text)
{
    if (Loader)
        Loader->setProperty("PubSql", text);
}

void RunQuery(App& app, QWidget* loader, const QString& head, const QVector<QueryField>& fields, int defaultField)
{
    loader->setProperty("PubSql", QString());
    Query dialog(app, loader);
    dialog.Loader = loader;
    dialog.SqlHeadstr = head;
    dialog.setFields(fields, defaultField);
    dialog.exec();
}
