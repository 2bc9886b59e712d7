// Numbers as the user reads and types them in edit fields: two decimals and
// the user's decimal separator, either "." or "," accepted on input.
#pragma once
#include <string>

// value with two decimals ("%.2f"); the point becomes a comma when the user's
// decimal separator is ",".
std::string format_number_text(double value, char decimal_separator);

// The leading number of the text, whichever of "." and "," the user took for
// the decimal separator; the rest of the text is ignored. False for an empty
// text and for a text that reads as 0 without beginning with "0" (a text with
// no number in it).
bool parse_number_text(std::string text, double* value);
