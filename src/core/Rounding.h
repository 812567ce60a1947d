#pragma once
// Rounding of amounts, prices and quantities the way the books store them.
// A figure is rounded by writing it through a number pattern ("#0.00") and
// reading the text back: the number is first taken at 15 significant digits,
// so 2.675 is rounded as the decimal 2.675 and not as the binary number just
// below it, and halves go away from zero (2.675 -> 2.68, -2.675 -> -2.68).

#include <QString>

// Decimals a number pattern shows: the zeros after its point ("#0.00" -> 2, "#0" -> 0).
int PatternDecimals(const QString& pattern);

// The number written with `decimals` places, halves away from zero ("-0.00" never appears).
QString FormatDecimals(double value, int decimals);
// The same through a pattern of FormatPattern ("#0", "#0.00" ...).
QString FormatNumber(double value, const QString& pattern);

// The number as the text of FormatDecimals / FormatNumber reads back.
double RoundToDecimals(double value, int decimals);
double RoundToPattern(double value, const QString& pattern);

// a - b on eight decimals, so quantities that cancel give exactly 0. Both
// arguments are rewritten rounded to eight decimals, as the callers rely on.
double ExactDifference(double& a, double& b);
