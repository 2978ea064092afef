// Plain text search in downloaded documents and user files: lines, tags and
// attribute values found by searching for their texts, never by an XML
// parser, and no character reference decoded. Every reader takes a view and
// never looks past it; a caller bounds a search by handing in a part of the
// document (an entry, a period).
#ifndef CUMULON_TEXT_SCAN_H
#define CUMULON_TEXT_SCAN_H

#include <string_view>

constexpr size_t kNotFound = std::string_view::npos;

// A document held as a zero-terminated text ends at its first NUL byte.
std::string_view UpToFirstNul(std::string_view document);

// Cuts the next line off `rest`, its LF included; false at the end.
bool NextLine(std::string_view* rest, std::string_view* line);
// The line up to its first CR or LF.
std::string_view CutAtLineEnd(std::string_view line);
// Exactly "\n" or "\r\n".
bool IsEmptyLine(std::string_view line);

// The text between the first `open` and the first `close` after it; empty
// when either is missing.
std::string_view ElementText(std::string_view text, std::string_view open, std::string_view close);

// The value of the first tag `open` ("<temp_f>", "<data num_results"): from
// the first '>' at or after the start of `open` up to the first `close` after
// it; empty when the '>' or `close` is missing.
std::string_view TagValue(std::string_view text, std::string_view open, std::string_view close);
// The same, telling a value that is there but empty from a missing one: false
// (and `value` emptied) when `open`, its '>' or `close` is missing.
bool FindTagValue(std::string_view text, std::string_view open, std::string_view close,
                  std::string_view* value);

// The value of the first attribute `name` (with its "="): it starts one
// character past the name, where the opening quote stands, whatever that
// character is, and ends before the next double quote; empty without one.
std::string_view AttributeValue(std::string_view text, std::string_view name);

// The text between the first two double quotes after the first `name`; empty
// when `name` or a quote is missing.
std::string_view QuotedAfter(std::string_view text, std::string_view name);

// The value of a hexadecimal digit in either case, -1 for any other byte.
int HexDigitValue(char c);

// The decimal number at the start of a value, read as strtod reads it
// (leading blanks and a sign allowed, up to the first character that cannot
// continue the number); false, and 0, when nothing can be read.
bool ReadDecimal(std::string_view text, double* value);

// ASCII letters only: header names, month names, severities and addresses
// compare and convert without regard to case; every other byte stays as it is.
char LowerAscii(char c);
char UpperAscii(char c);
// Whether `text` begins with `prefix`, letters in either case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

#endif
