#pragma once
// " 查找" (QueryTA1): one keyword searched in every text column of the units
// (code, name, address, phone, fax, contact, remark). The statement, the
// caller's list head followed by the keyword condition, goes into the
// caller's PubSql property; "查找全部" (operator 001) hands back the head alone.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
struct App;

class QueryTA1 : public QDialog {
    Q_OBJECT
public:
    QueryTA1(App& app, QObject* loader, const QString& head, QWidget* parent = nullptr);

    QString KeywordSqlHead;
    QLabel* Label1;
    QLineEdit* Txt;
    QPushButton* Cmd0;
    QPushButton* Cmd1;
    QPushButton* Cmd2;

    void Cmd_Click(int index);

private:
    QObject* Loader;
};
