// The check of a dotted IPv4 text typed by the operator: blanks anywhere are dropped, four
// decimal parts of at most 255 each; leading zeros are kept as typed.
#pragma once

#include <QString>

class QLineEdit;

// True when the text is acceptable; the cleaned text (the typed one without blanks) goes to
// cleaned whatever the outcome. An empty cleaned text gives emptyResult.
bool checkIpAddress(const QString &typed, QString *cleaned, bool emptyResult);
// The same on the field's text; the field keeps what was typed.
bool checkIpAddress(const QLineEdit *edit, QString *cleaned, bool emptyResult);
