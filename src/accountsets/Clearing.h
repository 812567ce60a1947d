#pragma once
// Data clearing: returns parts of an account set to a fresh state. Master
// data may be cleared only together with the documents that refer to it;
// the default rows the program expects (the category "000", a default
// supplier, customer and department) are made again.

#include <QString>

class Database;

// What the six boxes of the clearing window ask to clear.
struct ClearingChoice {
    bool documents = false;    // all documents and vouchers
    bool stockToZero = false;  // opening and current stock quantities and amounts
    bool goods = false;        // categories, goods and product structures
    bool suppliers = false;
    bool customers = false;
    bool departments = false;

    bool any() const { return documents || stockToZero || goods || suppliers || customers || departments; }
};

// The message of the first dependency rule `choice` breaks; "" when it may run.
QString ClearingRefusal(const Database& db, const ClearingChoice& choice);

// Clears what `choice` names and makes the default rows again, in one
// transaction: a failure leaves the set as it was. Zeroing the stock zeroes
// each goods' current amount with its quantity; cost and opening prices stay.
// Throws DbError.
void ClearData(Database& db, const ClearingChoice& choice);
