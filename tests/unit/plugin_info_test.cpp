#include "plugin/host_api.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(PluginInfo, AnswersEachKnownField) {
    EXPECT_STREQ(pluginInfo(1), "Glimra");
    EXPECT_STREQ(pluginInfo(2), "1.0");
    EXPECT_STRNE(pluginInfo(3), "");
    EXPECT_STREQ(pluginInfo(4), "19/06/2005");
    EXPECT_STREQ(pluginInfo(5), "...");
    EXPECT_STRNE(pluginInfo(6), "");
    EXPECT_STRNE(pluginInfo(3), pluginInfo(6));
}

TEST(PluginInfo, AnswersTheFullNameForAnyOtherField) {
    for (const int field : {0, 7, 8, -1, 100, INT_MAX, INT_MIN}) {
        EXPECT_STREQ(pluginInfo(field), "Glimra 1.0") << "field " << field;
    }
}

TEST(PluginInfo, TextsAreStatic) {
    EXPECT_EQ(pluginInfo(1), pluginInfo(1));
    EXPECT_EQ(pluginInfo(0), pluginInfo(-5));
}

} // namespace
