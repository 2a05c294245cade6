#include "host/line_reader.h"
#include <cstdio>
#include <string>

bool readLine(std::FILE* stream, char* buffer, int size, long* length) {
    if (!stream || size <= 0) {
        return false;
    }
    int c = std::fgetc(stream);
    if (c == EOF) {
        return false;
    }
    long fullLength = 0;
    int kept = 0;
    for (; c != EOF && c != '\n'; c = std::fgetc(stream)) {
        if (kept < size - 1) {
            buffer[kept++] = static_cast<char>(c);
        }
        ++fullLength;
    }
    if (fullLength > 0 && kept == fullLength && buffer[kept - 1] == '\r') {
        --kept;
        --fullLength;
    }
    buffer[kept] = '\0';
    if (length) {
        *length = fullLength;
    }
    return true;
}

bool readWholeLine(std::FILE* stream, std::string& line) {
    line.clear();
    int c = std::fgetc(stream);
    if (c == EOF) {
        return false;
    }
    for (; c != EOF && c != '\n'; c = std::fgetc(stream)) {
        line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}
