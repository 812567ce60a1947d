#pragma once
// Services of the goods window: saving a goods record, deleting it, the
// code-in-use test, the serial code of Add, the suggested free code, and the
// conversion between the parts file and the finished-products file. They
// take the database and show nothing: a refusal or a question comes back as
// an outcome for the window to show.
//
// What a save keeps true:
//  - it is whole or nothing: one transaction writes the goods row, renames a
//    changed code in TB11, Bom (both sides), KhPrice and RkPrice, stores the
//    structure, the opening figures and the reference-price history;
//  - editing updates the row in place, so columns the window does not show
//    survive, and nothing is lost when a step fails;
//  - the running figures F7 (cost), F8 (stock) and Fje (stock amount) belong
//    to posting: a save never takes them from the boxes. A new goods starts
//    from its opening figures; an edit that changes the opening figures
//    (V3/V4/V5) re-costs the goods over all its posted lines, and an edit
//    that leaves them alone leaves the running figures as posting left them.

#include "basicdata/Structure.h"
#include "core/Kinds.h"
#include "core/Posting.h"

#include <QString>
#include <QStringList>
#include <QVector>

class Database;

// The boxes of the detail tab, as typed.
struct GoodsInput {
    QString code;           // Txt(0)
    QString name;           // Txt(1)
    QString category;       // CmbLB: "code.name" or "code"
    QString unit;           // CmbDW
    QString spec;           // Txt(4)
    QString cost;           // Txt(5): the opening price of a goods without opening quantity
    bool costEditable = true;  // false when the box is hidden or locked
    QString remark;         // Txt(6)
    QString salePrice;      // Txt(7)
    QString minStock;       // Txt(8)
    QString maxStock;       // Txt(9)
    QString openingQty;     // Txt(10)
    QString openingAmount;  // Txt(11)
    QString refPrice;       // Txt(12)
    QString feeRate;        // Txt(13)
    QString location;       // Txt(14), stored as typed
    QString supplier;       // Txt(15): "code.name" or "code"
    bool supplierShown = false;
    QString picture;        // the picture reference (TA4.F9), stored as given
    // The composite box is offered (ChK visible): its tick makes the goods a
    // finished product or a part, and the structure is saved from `structure`.
    bool structureOffered = false;
    bool composite = false;  // ChK ticked: the structure lines count
    QVector<StructureLine> structure;
};

// What the save needs of the window and the settings.
struct GoodsSaveContext {
    enum class Mode { Add = 1, Edit = 2 };
    Mode mode = Mode::Add;
    QString editStartCode;         // code of the goods being edited
    double editStartRefPrice = 0;  // reference price when the edit began; 0 when adding
    bool pinyinCodes = false;      // ChkBM(0): a taken code gets a suggestion
    bool mayEditOpening = true;    // adding, or operator "001" editing
    bool sameNameConfirmed = false;  // the operator said Yes to the same-name question
    bool inboundRefPrice = false;  // setting 878
    bool costPlusFeePrice = false; // setting 879
    QString operatorName;
    PostingRules rules;            // price and amount patterns
};

// Which box a refusal sends the focus to.
enum class GoodsBox { None, Code, Name, Category, Spec };

struct GoodsSaveOutcome {
    enum class Status {
        Saved,
        Refused,        // message shown, nothing written
        DuplicateCode,  // refused; with `suggestion` the window offers it (Yes fills the code box)
        AskSameName,    // a goods of the same name and spec exists: ask, then save again confirmed
    };
    Status status = Status::Refused;
    QString message;
    QString title;
    GoodsBox focus = GoodsBox::None;
    QString suggestion;
    // Shown after the save in this order (cost corrected to the opening figures).
    QStringList notices;
    // The boxes as the checks cleaned them: code upper case without blanks,
    // texts made safe, category reduced to its code, supplier as code.name.
    GoodsInput cleaned;
    QString categoryName;
    // What was stored (Saved only).
    double cost = 0;      // F7
    double stockQty = 0;  // F8
    double stockAmount = 0;  // Fje
    double refPrice = 0;  // RkF7
    bool hasStructure = false;  // F11
    bool saved() const { return status == Status::Saved; }
};

// Checks, cleans and stores a goods (see the block above). Throws DbError when
// a write fails; the books are then as they were.
GoodsSaveOutcome SaveGoods(Database& db, const GoodsSaveContext& ctx, const GoodsInput& input);

// True when a document line carries the code; an empty code counts as in use.
bool GoodsCodeInUse(const Database& db, const QString& code);

// Removes the goods, its own structure and every structure line that uses it
// as a part, in one transaction. Quotations, price history and the picture
// file stay.
void DeleteGoods(Database& db, const QString& code);

// The question Delete asks: the plain confirmation, and before it the
// products whose structure loses the part.
QString DeleteGoodsQuestion(const QString& name, const QVector<QPair<QString, QString>>& usedIn);

// The code Add proposes after `last`: its trailing digits plus one, padded to
// their width ("HP-0099" -> "HP-0100", "A99" -> "A100", "ABC" -> "ABC1",
// "999" -> "1000"); "" when the number passes the 32-bit range.
QString NextSerialCode(const QString& last);

// The first free code `code` + "001", "002" ... ("1000" and up after "999").
QString SuggestFreeCode(const Database& db, const QString& code);

// Moves the goods to the other file: class Part or Product.
void ConvertGoodsClass(Database& db, const QString& code, GoodsClass target);

// Ensures the column F711 (structure amount total) exists; errors are ignored.
void AddGoodsF711Column(Database& db);
