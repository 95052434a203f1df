#include "model/ConfigFile.h"
#include <gtest/gtest.h>
TEST(Smoke, ParsesOneSection) {
    auto r = vl::ParseConfigText("[A]\r\nPARENT=x\r\n");
    ASSERT_NE(r.ring, nullptr);
    EXPECT_EQ(r.ring->next->parent, "x");
    vl::FreeSectionRing(r.ring);
}
