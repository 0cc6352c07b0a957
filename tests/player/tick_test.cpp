#include <gtest/gtest.h>

#include "StallTest.h"

namespace {

StallTest::Action feed(StallTest& test, TickEngine engine, LONG position)
{
    return test.tick({engine, position});
}

TEST(StallTest, TwoUnmovedTicksEndAnMciMediumOnce)
{
    StallTest test;
    EXPECT_EQ(StallTest::Refresh, feed(test, TickEngineMci, 0));
    EXPECT_EQ(StallTest::Refresh, feed(test, TickEngineMci, 1));
    EXPECT_EQ(StallTest::Nothing, feed(test, TickEngineMci, 1));
    EXPECT_EQ(StallTest::EndOfMedium, feed(test, TickEngineMci, 1));
    EXPECT_EQ(StallTest::Nothing, feed(test, TickEngineMci, 1));
    EXPECT_EQ(StallTest::Nothing, feed(test, TickEngineMci, 1));
}

TEST(StallTest, MovementOrAStoppedDeviceStartsTheCountAgain)
{
    StallTest test;
    feed(test, TickEngineDirectShow, 4);
    EXPECT_EQ(StallTest::Nothing, feed(test, TickEngineDirectShow, 4));
    EXPECT_EQ(StallTest::Refresh, feed(test, TickEngineDirectShow, 5));
    EXPECT_EQ(StallTest::Nothing, feed(test, TickEngineDirectShow, 5));
    EXPECT_EQ(StallTest::Nothing, feed(test, TickEngineNone, 0));
    // After a stop the same position is new again (a file opened anew).
    EXPECT_EQ(StallTest::Refresh, feed(test, TickEngineDirectShow, 5));
    EXPECT_EQ(StallTest::Nothing, feed(test, TickEngineDirectShow, 5));
    EXPECT_EQ(StallTest::EndOfMedium, feed(test, TickEngineDirectShow, 5));
    // A medium that moves again after its end was sent can end again.
    EXPECT_EQ(StallTest::Refresh, feed(test, TickEngineDirectShow, 0));
    feed(test, TickEngineDirectShow, 0);
    EXPECT_EQ(StallTest::EndOfMedium, feed(test, TickEngineDirectShow, 0));
}

TEST(StallTest, DirectMusicIsRefreshedEveryTickAndOthersEndThemselves)
{
    StallTest music;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(StallTest::Refresh, feed(music, TickEngineDirectMusic, 7));
    StallTest other;
    EXPECT_EQ(StallTest::Refresh, feed(other, TickEngineOther, 3));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(StallTest::Nothing, feed(other, TickEngineOther, 3));
}

} // namespace
