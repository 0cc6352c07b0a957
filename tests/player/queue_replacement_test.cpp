#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "DropFileLists.h"
#include "PlayQueue.h"
#include "PlayQueueWords.h"
#include "PlayerCore.h"

// Dropped and pasted file lists (CF_HDROP) replace or extend the play queue.
namespace {

class QueueReplacement : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainWindow = nullptr;
        const char* words[] = {"-Delete", "old.wav"};
        playQueue.assign(words, 2);
        playQueue.setPosition(1);
        playQueue.setCancel(false);
    }
    void TearDown() override
    {
        emptyClipboard(nullptr);
        playQueue.clear();
    }

};

TEST_F(QueueReplacement, ADropWithoutCtrlReplacesTheListAndRestartsIt)
{
    HGLOBAL list = makeDropFileList({"C:\\a.wav", "C:\\b.wav"});
    EXPECT_TRUE(replaceQueueFromDrop((HDROP)list, FALSE));
    GlobalFree(list);
    EXPECT_EQ((std::vector<std::string>{"C:\\a.wav", "C:\\b.wav"}), playQueueWords());
    EXPECT_EQ(-1, playQueue.position());
    EXPECT_TRUE(playQueue.cancelled());
}

TEST_F(QueueReplacement, ADropWithCtrlAppendsAndLeavesAnOverlongNameOut)
{
    HGLOBAL list = makeDropFileList({"C:\\a.wav", "C:\\" + std::string(300, 'x'), "C:\\b.wav"});
    EXPECT_TRUE(replaceQueueFromDrop((HDROP)list, TRUE));
    GlobalFree(list);
    EXPECT_EQ((std::vector<std::string>{"-Delete", "old.wav", "C:\\a.wav", "C:\\b.wav"}), playQueueWords());
    EXPECT_EQ(1, playQueue.position());
    EXPECT_FALSE(playQueue.cancelled());
}

TEST_F(QueueReplacement, TheClipboardsFileListIsAddedOrPlayed)
{
    emptyClipboard(nullptr);
    EXPECT_FALSE(clipboardHasFiles());
    EXPECT_FALSE(playClipboardFiles(nullptr, TRUE));
    EXPECT_EQ(2u, playQueueWords().size());

    ASSERT_TRUE(putFileListOnClipboard(nullptr, {"D:\\music\\c.mid"}));
    EXPECT_TRUE(clipboardHasFiles());
    EXPECT_TRUE(playClipboardFiles(nullptr, TRUE));
    EXPECT_EQ((std::vector<std::string>{"-Delete", "old.wav", "D:\\music\\c.mid"}), playQueueWords());
    EXPECT_TRUE(playClipboardFiles(nullptr, FALSE));
    EXPECT_EQ((std::vector<std::string>{"D:\\music\\c.mid"}), playQueueWords());
    EXPECT_EQ(-1, playQueue.position());
}

} // namespace
