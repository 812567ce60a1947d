#pragma once
// The codes stored in the account set for kinds of documents, business units
// and goods. They are stored as these numbers in TB1.LB, TA1.LB and
// TA4.Fcplj, so the values never change; code names them, never the numbers.

enum class DocKind : int {
    Inbound = 1,           // purchase and production receipts
    SupplierReturn = 2,    // purchase and rework returns
    Outbound = 3,          // sales deliveries and department issues
    StockReturn = 4,       // customer and department returns
    Stocktaking = 7,
    Payment = 10,
    Receipt = -10,
    AddedPayable = 100,
    AddedReceivable = -100,
};

// The eight configurable stock-document types, numbered as the settings rows
// that hold their names (what each one is: core/DocTypes.h), and stocktaking,
// whose name and prefix are fixed (numbered as its kind; it has no such row).
enum class DocType : int {
    Stocktaking = 7,
    PurchaseReceipt = 81,
    PurchaseReturn = 82,
    ProductionReceipt = 83,
    ReworkReturn = 84,
    DepartmentIssue = 85,
    DepartmentReturn = 86,
    SalesDelivery = 87,
    CustomerReturn = 88,
};

enum class UnitKind : int {
    Supplier = 0,
    Customer = 1,
    Reserved = 7,
    Department = 8,
};

enum class GoodsClass : int {
    Part = 0,
    Product = 1,
};

// The stored number of a kind, for SQL parameters and stored columns.
constexpr int code(DocKind k) { return static_cast<int>(k); }
constexpr int code(DocType t) { return static_cast<int>(t); }
constexpr int code(UnitKind k) { return static_cast<int>(k); }
constexpr int code(GoodsClass k) { return static_cast<int>(k); }

// Which of a goods' two prices a figure is taken at: the moving-average cost
// price TA4.F7 or the sale price TA4.F71.
enum class PriceBasis { Cost, Sale };
