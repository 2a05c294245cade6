// The reference host's standard input: each line, however long, is one text.
#include "host/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

TEST(LineReader, LineLongerThanAnyBufferComesBackWhole) {
    // Closed however the test ends.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> owned(std::tmpfile(), &std::fclose);
    std::FILE* stream = owned.get();
    ASSERT_NE(stream, nullptr);
    const std::string longLine(5000, 'i');
    std::fputs((longLine + "\r\nnext\nlast").c_str(), stream);
    ASSERT_EQ(std::fseek(stream, 0, SEEK_SET), 0);

    std::string line;
    ASSERT_TRUE(readWholeLine(stream, line));
    EXPECT_EQ(line.size(), 5000u);
    EXPECT_EQ(line, longLine);
    ASSERT_TRUE(readWholeLine(stream, line));
    EXPECT_EQ(line, "next");
    ASSERT_TRUE(readWholeLine(stream, line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(readWholeLine(stream, line));
}

} // namespace
