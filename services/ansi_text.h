// Text of UTF-8 documents (the alert API's ATOM, the river gauge JSON) in
// the program's ANSI code page, 1252, before it is shown or queued: every
// character 1252 has becomes its byte, every other one a "?", and every
// broken sequence (cut short, overlong, a surrogate, beyond U+10FFFF, a
// stray continuation byte) a "?" too, so no byte sequence of the output is
// half of something.
#ifndef CUMULON_ANSI_TEXT_H
#define CUMULON_ANSI_TEXT_H

#include <string>
#include <string_view>

std::string Utf8ToAnsi(std::string_view utf8);

// Whether a document is UTF-8 by its own word: a UTF-8 byte order mark, or
// an XML declaration naming UTF-8; a document that names no encoding is
// UTF-8 when its bytes are (the XML default), so an older feed written in
// 1252 without a declaration stays as it is.
bool IsUtf8Document(std::string_view document);

// The document as the program shows it: itself, or its ANSI text kept in
// `storage` when it is a UTF-8 document.
std::string_view AnsiDocument(std::string_view document, std::string* storage);

#endif
