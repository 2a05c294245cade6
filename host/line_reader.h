// Reading a text file line by line the way the host hands lines to plug-ins.
// Needs no window system.
#pragma once

#include <cstdio>
#include <string>

// Reads the next line of stream into buffer without its line end ("\n" or
// "\r\n"), NUL-terminated. What does not fit in size - 1 bytes is dropped, so
// the next call starts at the next line. length, when given, receives the
// line's whole length. False at the end of the file.
bool readLine(std::FILE* stream, char* buffer, int size, long* length = nullptr);

// Reads the next line of stream whole, however long, without its line end.
// False at the end of the file.
bool readWholeLine(std::FILE* stream, std::string& line);
