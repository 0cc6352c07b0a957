#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "PlayOptions.h"
#include "PlayQueue.h"
#include "PlayerCore.h"
#include "PlayerName.h"

namespace {

class OptionWords : public ::testing::Test {
protected:
    void SetUp() override
    {
        isPrimary = true;
        playOptions = PlayOptions();
    }
};

TEST_F(OptionWords, ZeroOrMissingTimeMeansTheWholeFile)
{
    parseOption("Seconds5");
    EXPECT_EQ(5000, playOptions.milliseconds);
    parseOption("seconds0");
    EXPECT_EQ(-1, playOptions.milliseconds);
    parseOption("Milliseconds250");
    EXPECT_EQ(250, playOptions.milliseconds);
    parseOption("Milliseconds");
    EXPECT_EQ(-1, playOptions.milliseconds);
    parseOption("Seconds-3");
    EXPECT_EQ(-1, playOptions.milliseconds);
    parseOption("Seconds99999999");
    EXPECT_EQ(0x7FFFFFFF, playOptions.milliseconds);
    parseOption("Milliseconds99999999");
    EXPECT_EQ(99999999, playOptions.milliseconds);
}

TEST_F(OptionWords, RateSetsRateAndTruncatedPercent)
{
    parseOption("Rate1.5");
    EXPECT_DOUBLE_EQ(1.5, playOptions.rate);
    EXPECT_EQ(150, playOptions.ratePercent);
    parseOption("rate0.999");
    EXPECT_EQ(99, playOptions.ratePercent);
    // A rate no engine can play keeps the last one.
    parseOption("Rate0");
    parseOption("Rate-2");
    EXPECT_DOUBLE_EQ(0.999, playOptions.rate);
}

TEST_F(OptionWords, EngineWordsAndTheAdvancedOrder)
{
    playOptions.flags = FlagDirectShowStandard | FlagAdvancedOrder;
    parseOption("NoTryByDirectShow");
    parseOption("TRYBYMCI");
    EXPECT_EQ(FlagTryByMci, playOptions.flags);
    playOptions.flags = FlagAdvancedOrder;
    parseOption("NoTryByMci");  // only the TryBy words leave the device order
    EXPECT_EQ(FlagAdvancedOrder, playOptions.flags);
    parseOption("TryByExternalEngine");
    EXPECT_EQ(FlagTryByExternalEngine, playOptions.flags);
    const std::pair<const char*, DWORD> tryBy[] = {{"TryByMci", FlagTryByMci},
                                                   {"TryByDirectShow", FlagDirectShowStandard},
                                                   {"TryByDirectMusic", FlagTryByDirectMusic},
                                                   {"TryByExternalEngine", FlagTryByExternalEngine}};
    for (const auto& word : tryBy) {
        playOptions.flags = FlagAdvancedOrder;
        parseOption(word.first);
        EXPECT_EQ(word.second, playOptions.flags) << word.first;
        parseOption((std::string("No") + word.first).c_str());
        EXPECT_EQ(0u, playOptions.flags) << word.first;
    }
}

TEST_F(OptionWords, RepeatModesAndPriorityClassesExcludeEachOther)
{
    parseOption("Repeat");
    parseOption("RepeatEach");
    EXPECT_EQ(FlagRepeatEach, playOptions.flags);
    parseOption("NoRepeat");
    EXPECT_EQ(0u, playOptions.flags);
    parseOption("Repeat");
    EXPECT_EQ(FlagRepeat, playOptions.flags);
    parseOption("NoRepeat");
    EXPECT_EQ(0u, playOptions.flags);
    parseOption("HighClass");
    parseOption("RealtimeClass");
    EXPECT_EQ(FlagRealtimeClass, playOptions.flags);
    parseOption("NormalClass");
    EXPECT_EQ(0u, playOptions.flags);
}

TEST_F(OptionWords, WholeWordsMustMatchWholeAndUnknownWordsAreIgnored)
{
    parseOption("Deleted");
    parseOption("Del");
    parseOption("Frobnicate");
    EXPECT_EQ(0u, playOptions.flags);
    parseOption("delete");
    EXPECT_EQ(FlagDelete, playOptions.flags);
    parseOption("NoDelete");
    EXPECT_EQ(0u, playOptions.flags);
}

TEST_F(OptionWords, AddActsOnlyInASecondary)
{
    parseOption("Add");
    EXPECT_EQ(0u, playOptions.flags);
    isPrimary = false;
    parseOption("Add");  // no running player to send to: nothing else happens
    EXPECT_EQ(FlagAdd, playOptions.flags);
}

TEST_F(OptionWords, EndInThePrimarySkipsTheRestOfTheList)
{
    const char* words[] = {"-End", "a.wav", "b.wav"};
    ASSERT_TRUE(playQueue.assign(words, 3));
    playQueue.setPosition(0);
    playQueue.setCancel(false);
    parseOption("End");
    EXPECT_EQ(2, playQueue.position());
    EXPECT_TRUE(playQueue.cancelled());
    playQueue.clear();
}

} // namespace

// The words that make up the program's own path, however a launcher wrote it.
TEST(ProgramName, WordsOfTheProgramPath)
{
    const char* module = "C:\\Program Files\\PLAYER.EXE";
    struct Case { const char* line; int words; } cases[] = {
        {"\"C:\\Program Files\\PLAYER.EXE\" a.wav", 1}, {"C:\\Program Files\\PLAYER.EXE a.wav", 2},
        {"C:\\Program Files\\PLAYER a.wav", 2}, {"c:\\program files\\player.exe\t\t-Help0", 2},
        {"C:\\Program Files\\PLAYER.EXE", 2}, {"PLAYER a.wav", 1}, {"C:\\Program \"Files\\PLAYER.EXE\"", 1},
        {"C:\\Program Files\\OTHER.EXE a.wav", 1}, {"", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.words, programNameWords(c.line, module)) << c.line;
    EXPECT_EQ(1, programNameWords("C:\\bin\\PLAYER.EXE C:\\Program Files\\PLAYER.EXE", "C:\\bin\\PLAYER.EXE"));
}
