#include "services/text_scan.h"

#include <cstdlib>
#include <string>

std::string_view UpToFirstNul(std::string_view document) {
    size_t end = document.find('\0');
    return end == kNotFound ? document : document.substr(0, end);
}

bool NextLine(std::string_view* rest, std::string_view* line) {
    if (rest->empty())
        return false;
    size_t end = rest->find('\n');
    *line = end == kNotFound ? *rest : rest->substr(0, end + 1);
    rest->remove_prefix(line->size());
    return true;
}

std::string_view CutAtLineEnd(std::string_view line) {
    size_t end = line.find_first_of("\r\n");
    return end == kNotFound ? line : line.substr(0, end);
}

bool IsEmptyLine(std::string_view line) {
    return line == "\n" || line == "\r\n";
}

std::string_view ElementText(std::string_view text, std::string_view open, std::string_view close) {
    size_t at = text.find(open);
    if (at == kNotFound)
        return {};
    size_t start = at + open.size();
    size_t end = text.find(close, start);
    return end == kNotFound ? std::string_view() : text.substr(start, end - start);
}

std::string_view TagValue(std::string_view text, std::string_view open, std::string_view close) {
    std::string_view value;
    FindTagValue(text, open, close, &value);
    return value;
}

bool FindTagValue(std::string_view text, std::string_view open, std::string_view close,
                  std::string_view* value) {
    *value = {};
    size_t at = text.find(open);
    if (at == kNotFound)
        return false;
    size_t gt = text.find('>', at);
    if (gt == kNotFound)
        return false;
    size_t end = text.find(close, gt + 1);
    if (end == kNotFound)
        return false;
    *value = text.substr(gt + 1, end - gt - 1);
    return true;
}

std::string_view AttributeValue(std::string_view text, std::string_view name) {
    size_t at = text.find(name);
    if (at == kNotFound || text.size() - at <= name.size())
        return {};
    size_t start = at + name.size() + 1;
    size_t end = text.find('"', start);
    return end == kNotFound ? std::string_view() : text.substr(start, end - start);
}

std::string_view QuotedAfter(std::string_view text, std::string_view name) {
    size_t at = text.find(name);
    if (at == kNotFound)
        return {};
    size_t open = text.find('"', at + name.size());
    if (open == kNotFound)
        return {};
    size_t close = text.find('"', open + 1);
    return close == kNotFound ? std::string_view() : text.substr(open + 1, close - open - 1);
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (LowerAscii(text[i]) != LowerAscii(prefix[i]))
            return false;
    return true;
}

bool ReadDecimal(std::string_view text, double* value) {
    const std::string copy(text); // a value inside a document is not terminated
    char* end = nullptr;
    *value = std::strtod(copy.c_str(), &end);
    return end != copy.c_str();
}
