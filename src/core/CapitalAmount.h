#pragma once
// An amount in yuan written in Chinese capital numerals, the form of
// financial papers: 1234.5 -> 壹仟贰佰叁拾肆元伍角零分.

#include <QString>

// The capital-numeral text of an amount rounded to the fen: "" for 0, a
// negative amount with "负" in front, and the plain number text when the
// amount has more than fourteen digits of fen (1 000 000 000 000 and above).
QString CapitalAmount(double amount);
