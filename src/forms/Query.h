#pragma once
// "查找条件" (Query): the modal dialog through which a list window filters its
// list. The caller names the searchable fields and the head of its list
// statement; the operator builds conditions, joined by "并且", "或者" or
// "排除"; the statement goes back into the caller's `PubSql` property, written
// by name (any window with a QString property PubSql can call it). "" back
// means: leave the list as it is. The conditions are made safe and enclosed
// in parentheses by QueryStatement (QueryConditions.h).
//
//   RunQuery(app, this, "Select TA1.* from TA1 ", fields, 1);
//   if (!PubSql.isEmpty()) fill(PubSql);

#include "forms/QueryConditions.h"

#include <QDialog>
#include <QPoint>

class Grid;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
struct App;

class Query : public QDialog {
    Q_OBJECT
public:
    explicit Query(App& app, QWidget* parent = nullptr);

    QObject* Loader = nullptr;  // the caller; its property "PubSql" receives the result
    QString SqlHeadstr;

    // Fills the hidden field grid GD and the field combo, and selects the default field.
    void setFields(const QVector<QueryField>& fields, int defaultField);
    // The collected conditions, in list order.
    const QVector<QueryCondition>& conditions() const { return Conditions; }

    Grid* GD;  // hidden: caption, column, type ("0" text, "1" number, "2" date)
    QLabel* CPT;
    QPushButton* CmdYing;
    QComboBox* CmbLG;
    QComboBox* CmbF;
    QComboBox* cmbGx;
    QLineEdit* Txt;
    QDateEdit* DTP;
    QPushButton* CmdAdd;
    QPushButton* CmdRemove;
    QPushButton* CmdQuery;
    QPushButton* CmdCancel;
    QListWidget* Lst;

    void CmbF_Click();
    void CmdAdd_Click();
    void CmdRemove_Click();
    void CmdQuery_Click();
    void CmdCancel_Click();
    void CmdYing_Click();
    bool advanced() const { return Advanced; }

protected:
    void reject() override;  // Esc: back to simple mode while advanced, else close
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Adds the condition the controls hold; false (told) when a number field
    // is given text that is no number.
    bool AddQueryCondition();
    void Txt_Change();
    QueryField field(int row) const;
    void writeLoader(const QString& text);

    App& app;
    QVector<QueryCondition> Conditions;
    bool Advanced = false;
    QPoint DragStart;
};

// The whole calling protocol: the caller's PubSql = "", the dialog shown
// modal over `loader`, the caller's PubSql set by the dialog.
void RunQuery(App& app, QWidget* loader, const QString& head, const QVector<QueryField>& fields, int defaultField);
