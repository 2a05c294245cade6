// Answering the message boxes that the plug-in shows, so that none waits for
// a person, and reading what each one said.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A message box seen and closed with OK, with the owner and type that the
// plug-in asked MessageBoxA for.
struct AnsweredBox {
    std::string caption;
    std::string text;
    bool onlyOkButton;
    HWND owner;
    UINT type;
};

// From now on, every message box this thread opens is read and closed with
// OK, so that none waits for a person; one that opens while no BoxAnswerer
// lives fails the running test.
void startAnsweringMessageBoxes();

// Makes every box that module asks MessageBoxA for seen with the owner and
// type it asked for; false when module does not import MessageBoxA.
bool recordMessageBoxesOf(HMODULE module);

// Checks that box number index is the plug-in's start-up report: caption,
// text, one OK button, no owner, brought to the foreground and kept on top.
void expectStartBox(const std::vector<AnsweredBox>& boxes, size_t index, const char* caption,
                    const char* text);

// While it lives, message boxes are expected and kept for the test to read.
class BoxAnswerer {
  public:
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    const std::vector<AnsweredBox>& boxes() const;
};
